#include "Datensatz.h"
#include "platform/VbError.h"
#include <vector>

namespace {

QString RowsOf(const QString& table)
{
    return QStringLiteral("SELECT * FROM [%1] WHERE [ID]=?").arg(table);
}

} // namespace

const QStringList& DatensatzTabellen()
{
    static const QStringList tables = {
        QStringLiteral("E1"), QStringLiteral("E2"), QStringLiteral("E3"), QStringLiteral("E4"),
        QStringLiteral("E5"), QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3"),
        QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3"), QStringLiteral("P4"),
        QStringLiteral("P5"), QStringLiteral("G0"), QStringLiteral("G1"), QStringLiteral("G2_1"),
        QStringLiteral("G2_2"), QStringLiteral("G3"), QStringLiteral("G4"),
    };
    return tables;
}

bool IstProjektdatenbank(Connection& cnn)
{
    try {
        for (const QString& table : DatensatzTabellen()) {
            const auto& columns = cnn.columnsOf(table);
            if (columns.front().first != QLatin1String("id"))
                return false;
        }
        const auto& e1 = cnn.columnsOf(QStringLiteral("E1"));
        return e1.size() >= 3 && e1[1].first == QLatin1String("ken") && e1[2].first == QLatin1String("kom");
    } catch (const VbError&) {
        return false;   // a table is missing
    }
}

int32_t NeueDatensatzID(const std::shared_ptr<Connection>& cnn)
{
    Recordset rs;
    rs.Open(QStringLiteral("SELECT MAX([ID]) FROM [E1]"), cnn);
    const Variant highest = rs.Fields(0).Value();
    rs.Close();
    return highest.isNull() ? 1 : CLng(highest) + 1;
}

void LoescheDatensatz(const std::shared_ptr<Connection>& cnn, int32_t id)
{
    Transaction datensatz(cnn);
    for (const QString& table : DatensatzTabellen())
        cnn->Execute(QStringLiteral("DELETE FROM [%1] WHERE [ID]=?").arg(table), {Variant(id)});
    datensatz.Commit();
}

void KopiereTabelle(const QString& table, const std::shared_ptr<Connection>& quelle, int32_t id,
                    const std::shared_ptr<Connection>& ziel, int32_t newId)
{
    Recordset source;
    source.Open(RowsOf(table), {Variant(id)}, quelle);
    if (source.Eof())
        return;
    QStringList names;
    for (int i = 0; i < source.FieldCount(); ++i)
        names << source.Fields(i).Name().toLower();
    std::vector<std::vector<Variant>> rows;
    for (; !source.Eof(); source.MoveNext()) {
        std::vector<Variant> row;
        for (int i = 0; i < source.FieldCount(); ++i)
            row.push_back(source.Fields(i).Value());
        rows.push_back(std::move(row));
    }
    source.Close();

    Recordset target;
    target.Open(RowsOf(table), {Variant(newId)}, ziel);
    QStringList targetNames;
    for (int i = 0; i < target.FieldCount(); ++i)
        targetNames << target.Fields(i).Name().toLower();
    // Values go by position, which is only right when both tables agree.
    if (targetNames != names)
        throw VbError(VbErr::DbGeneral,
                      QStringLiteral("Die Tabelle [%1] hat in den beiden Projekten nicht dieselben Spalten.").arg(table));
    for (const auto& row : rows) {
        target.AddNew();
        target.Fields(0) = Variant(newId);
        for (size_t i = 1; i < row.size(); ++i)
            target.Fields(int(i)) = row[i];
        target.Update();
    }
    target.Close();
}
