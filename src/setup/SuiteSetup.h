#pragma once
// Lays out a ready suite (program folder, suite databases, projects, settings file
// and a stand-in frame program) for a newcomer and for tests.
#include <QString>
#include <QStringList>

class Connection;

struct SuiteOptions {
    QString root;            // the suite folder
    QString exe;             // the program to copy into the program folder ("" = none)
    QString documentsFrom;   // folder holding TREMOL.html, TREMOL.odt, TREMOL_H.odt ("" = none)
    bool force = false;      // replace existing project databases
    bool withExamples = true;// example records in project TE0000.00
};

// Writes the empty project database (template) from the schema.
void MakeTemplateDatabase(const QString& path);
// Lays out the suite under options.root; returns a line per thing done or kept.
QStringList LayOutSuite(const SuiteOptions& options);
// Whether this user can start the program of the suite under root: run the program and
// read the empty template it copies. Error 70 names the file he cannot use.
void CheckProgramStartable(const QString& root);
// Enters or updates the current user's admin row in the archive database.
void WriteAdminRow(const QString& archivePath, const QString& projectsFolder, const QString& project);
// Writes the example records (complete, valid input) into a project database.
void WriteExampleRecords(Connection& project);
// Writes the sample measurement data layout into a presets database.
void WriteSampleImportLayout(Connection& presets);
// The build's program folder (executable and documents), "" when unknown.
QString BuildProgramFolder();
