#pragma once
// The SELECT statements a database view builds from its configuration and a call's
// index columns. Names go between square brackets as given; text values go between
// single quotes with their quotes doubled; index values are whole numbers and go in
// without quotes (a text that is no number is refused, so that it can never be read
// as a column name). The statement of the matched rows, which every transfer runs,
// binds its values instead, so that one prepared statement serves them all.
#include "platform/Variant.h"
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The view's table, record and keys.
struct ViewFilter {
    QString ETABELLE = QStringLiteral("E1");
    QString ESPID = QStringLiteral("ID");
    int32_t ESPIDW = 0;
    std::array<QString, 3> ESPK;    // key column names ESPK1..ESPK3
    std::array<QString, 3> ESPKW;   // their values
};

// A call's index columns SPI1..SPI4 and their values (absent when not given).
struct IndexArgs {
    std::array<QString, 4> SPI;
    std::array<std::optional<Variant>, 4> SPIW;
};

// One criterion of an ID search: column, value (absent when not given), operator.
struct Criterion {
    QString SPF;
    std::optional<Variant> SPFW;
    QString SPO;
};

// A statement with "?" in place of each value and the values to bind (numbers and
// texts); literal() writes the values into the text as the conventions above have them.
struct SqlStatement {
    QString text;
    std::vector<Variant> values;

    QString literal() const;
};

// An index value as the runtime converts it to text; error 13 for anything but a
// number or a text that is one (and for an index column given without a value).
QString SqlIndexValue(const std::optional<Variant>& value);
// The same value as the number that text stands for in SQL (Long when whole).
Variant SqlIndexNumber(const std::optional<Variant>& value);

// The view's default record: "SELECT [ID] FROM [E1] WHERE [AKT]=true".
QString ActiveRecordStatement(const ViewFilter& f);
// The matched rows: value column, ID, index columns, keys; ordered by the index columns.
SqlStatement DTStatement(const ViewFilter& f, const QString& SPV, const IndexArgs& idx);
// The condition of the matched rows alone (" WHERE ...", empty when nothing selects).
SqlStatement MatchCondition(const ViewFilter& f, const IndexArgs& idx);
// Deletes the matched rows in one statement.
SqlStatement DeleteStatement(const ViewFilter& f, const IndexArgs& idx);

// DTStatement for a view, whose every transfer builds one, mostly one it built before:
// the values are bound, so a text depends on the names alone and is reused.
class DTStatements {
public:
    SqlStatement operator()(const ViewFilter& f, const QString& SPV, const IndexArgs& idx);

private:
    struct Built {
        ViewFilter names;   // the filter as built for (its values do not count)
        QString SPV;
        IndexArgs idx;      // the index arguments as built for (which values were given)
        QString text;
    };
    static bool sameShape(const Built& b, const ViewFilter& f, const QString& SPV, const IndexArgs& idx);
    std::vector<Built> recent_;   // the last few, newest last
};
// Position (0..3) of the counted index column of a count: the deepest named one;
// -1 when the names have a gap.
int CountedIndex(const IndexArgs& idx);
// The count over the counted column, the columns before it selecting by their values.
QString INDEXStatement(const ViewFilter& f, const IndexArgs& idx);
// Active records in ID order (AKT) or all records in designation order, ID 0 never;
// column is the view's ID column (LID) or "KEN" (LKEN).
QString ListStatement(const ViewFilter& f, const QString& column, bool AKT);
// Sets each criterion's operator to one the search accepts: for a text value "LIKE"
// or "="; otherwise one of "<", ">", "<=", ">=", "<>" or "=".
void NormaliseOperators(std::array<Criterion, 4>& criteria);
// IDs of the rows meeting the criteria, ordered by the criterion columns.
QString IDKRITStatement(const QString& ETABELLE, const std::array<Criterion, 4>& criteria);
