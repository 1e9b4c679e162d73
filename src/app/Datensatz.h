#pragma once
// A record: all rows that share one ID across the record tables, anchored by its row
// in E1 (ID, designation KEN, comment KOM, active flag AKT).
#include "platform/Ado.h"
#include <QStringList>
#include <cstdint>
#include <memory>

// The record tables, the anchor E1 first.
const QStringList& DatensatzTabellen();

// Whether a database holds every record table, with ID, KEN and KOM leading E1.
bool IstProjektdatenbank(Connection& cnn);

// The number for a new record: the highest ID in E1 plus one, 1 when E1 is empty.
int32_t NeueDatensatzID(const std::shared_ptr<Connection>& cnn);

// Deletes the rows of record id in every record table, all of them or none.
void LoescheDatensatz(const std::shared_ptr<Connection>& cnn, int32_t id);

// Copies the rows of record id in one table of the source into the same table of the
// target as rows of record newId, column by column in order. Tables whose columns
// differ are refused with an error before anything is written.
void KopiereTabelle(const QString& table, const std::shared_ptr<Connection>& quelle, int32_t id,
                    const std::shared_ptr<Connection>& ziel, int32_t newId);
