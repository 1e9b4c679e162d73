-- Archive database of the suite: one admin row per user, keyed by the upper-case
-- user name (compared without regard to case; no index, see project.sql).
CREATE TABLE ADMIN (
  BENUTZER TEXT COLLATE NOCASE,
  PROG TEXT,
  PROJEKTSPFAD TEXT,
  PROJEKT TEXT,
  BEARBEITER TEXT
);
