#include "Records.h"
#include "calc/clsBERECHNEN.h"
#include "platform/Ado.h"
#include "platform/Yield.h"
#include "setup/SuiteSetup.h"
#include <algorithm>
#include <sqlite3.h>
#include <gtest/gtest.h>

namespace {

constexpr int ID = 7;

// One result row as (K, key2, index, X, Z, WH, WV): key2 is OU (A2) or I5I (A3).
struct Row {
    int K, key2, index;
    float X, Z, WH, WV;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r)
{
    return os << "(" << r.K << "," << r.key2 << "," << r.index << ": " << r.X << "," << r.Z << "," << r.WH << ","
              << r.WV << ")";
}

std::vector<Row> ResultRows(TempProject& p, const char* table)
{
    const bool a2 = QLatin1String(table) == QLatin1String("A2");
    const QString sql = a2 ? QStringLiteral("SELECT K, OU, I4, X, Z, WH, WV FROM A2 WHERE ID = %1 ORDER BY K, I4, OU")
                           : QStringLiteral("SELECT K, I5I, I5, X, Z, WH, WV FROM A3 WHERE ID = %1 ORDER BY K, I5, I5I");
    Recordset rs;
    rs.Open(sql.arg(ID), p.cnnX());
    std::vector<Row> rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        rows.push_back({CInt(rs.Fields(0).Value()), CInt(rs.Fields(1).Value()), CInt(rs.Fields(2).Value()),
                        CSng(rs.Fields(3).Value()), CSng(rs.Fields(4).Value()), CSng(rs.Fields(5).Value()),
                        CSng(rs.Fields(6).Value())});
    }
    rs.Close();
    return rows;
}

std::array<float, 4> BaseComponents(TempProject& p)
{
    Recordset rs;
    rs.Open(QStringLiteral("SELECT WHL, WVL, WHR, WVR FROM A1 WHERE ID = %1").arg(ID), p.cnnX());
    std::array<float, 4> r{};
    for (int i = 0; i < 4; ++i)
        r[i] = CSng(rs.Fields(i).Value());
    rs.Close();
    return r;
}

// Every row of the result tables, as text, to show that a run changed nothing.
QStringList ResultTables(TempProject& p)
{
    QStringList all;
    for (const char* table : {"A1", "A2", "A3"}) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)), p.cnnX());
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList fields;
            for (int i = 0; i < rs.FieldCount(); ++i)
                fields << (rs.Fields(i).Value().isNull() ? QStringLiteral("Null") : CStr(rs.Fields(i).Value()));
            all << QLatin1String(table) + QLatin1Char(':') + fields.join(QLatin1Char('|'));
        }
        rs.Close();
    }
    return all;
}

// Results of an earlier run that a refused or failed run must leave in place.
void StoreOldResults(TempProject& p)
{
    p.exec(QStringLiteral("UPDATE A1 SET WHL = 1.5, WVL = -2.5, WHR = 3.5, WVR = -4.5 WHERE ID = %1").arg(ID));
    for (int i = 0; i < 3; ++i) {
        p.exec(QStringLiteral("INSERT INTO A2 (ID, K, OU, I4, X, Z, WH, WV) VALUES (%1, 1, 0, %2, 0, %2, 1, 2)").arg(ID).arg(i));
        p.exec(QStringLiteral("INSERT INTO A2 (ID, K, OU, I4, X, Z, WH, WV) VALUES (%1, 1, 1, %2, 0, %2, 3, 4)").arg(ID).arg(i));
    }
    p.exec(QStringLiteral("INSERT INTO A3 (ID, K, I5I, I5, X, Z, WH, WV) VALUES (%1, 2, 1, 0, 4, 1, 5, 6)").arg(ID));
}

// The pressure of a head already rounded to 5 decimals: ten times it, as Single.
float Tenfold(float head) { return static_cast<float>(static_cast<double>(head) * 10); }

bool Calculate(TempProject& p)
{
    clsBERECHNEN calc(p.ctx());
    return calc.BERECHNUNG();
}

struct ResultCase {
    const char* name;
    Record record;
    std::array<float, 4> A1;
    std::vector<Row> A2;    // all rows, ordered by K, I4, OU
    std::vector<Row> A3;
};

TEST(BERECHNUNG, WritesTheResultsOfTheWorkedExamples)
{
    const ResultCase cases[] = {
        {"polygon example", Records::PolygonExample(), {0, -73.773598f, 0, -66.226402f},
         {{1, 0, 0, 0, -2, 0, 0}, {1, 1, 0, 0, -2, 0, 0}, {1, 0, 1, 0, 0, -20, 0}, {1, 1, 1, 0, 0, -20, 0},
          {1, 0, 2, 0, 3, -49.433998f, 0}, {1, 1, 2, 0, 3, -49.433998f, 0}, {1, 0, 3, 0, 6, -73.773598f, 0},
          {1, 1, 3, 0, 6, 0, 0},
          {2, 0, 0, 4, 0, 0, 0}, {2, 1, 0, 4, 0, 0, 0}, {2, 0, 1, 4, 3, 30.566002f, 0},
          {2, 1, 1, 4, 3, 30.566002f, 0}, {2, 0, 2, 4, 6, 66.226402f, 0}, {2, 1, 2, 4, 6, 0, 0}},
         {}},
        {"head-loss example", Records::HeadLossExample(), {0, -Tenfold(5.36538f), 0, -Tenfold(4.59615f)},
         {{1, 0, 0, 0, 0, 0, 0}, {1, 1, 0, 0, 0, 0, 0}, {1, 0, 1, 0, 3, -Tenfold(2.94231f), 0},
          {1, 1, 1, 0, 3, -Tenfold(2.94231f), 0}, {1, 0, 2, 0, 6, -Tenfold(5.36538f), 0}, {1, 1, 2, 0, 6, 0, 0},
          {2, 0, 0, 4, 2, 0, 0}, {2, 1, 0, 4, 2, 0, 0}, {2, 0, 1, 4, 3, Tenfold(1.01923f), 0},
          {2, 1, 1, 4, 3, Tenfold(1.01923f), 0}, {2, 0, 2, 4, 6, Tenfold(4.59615f), 0}, {2, 1, 2, 4, 6, 0, 0}},
         {}},
        {"symmetric box with equal levels", Records::SymmetricBox(), {0, -60, 0, -60},
         {{1, 0, 0, 0, 0, 0, 0}, {1, 1, 0, 0, 0, 0, 0}, {1, 0, 1, 0, 3, -30, 0}, {1, 1, 1, 0, 3, -30, 0},
          {1, 0, 2, 0, 6, -60, 0}, {1, 1, 2, 0, 6, 0, 0},
          {2, 0, 0, 4, 0, 0, 0}, {2, 1, 0, 4, 0, 0, 0}, {2, 0, 1, 4, 3, 30, 0}, {2, 1, 1, 4, 3, 30, 0},
          {2, 0, 2, 4, 6, 60, 0}, {2, 1, 2, 4, 6, 0, 0}},
         {}},
    };
    for (const ResultCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempProject p;
        StoreRecord(p, ID, c.record);
        EXPECT_TRUE(Calculate(p));
        EXPECT_TRUE(p.dialogs().boxes().empty());
        EXPECT_EQ(BaseComponents(p), c.A1);
        EXPECT_EQ(ResultRows(p, "A2"), c.A2);
        EXPECT_EQ(ResultRows(p, "A3"), c.A3);
    }
}

TEST(BERECHNUNG, StepAndSlopeGivesHorizontalSectionsAndBaseComponents)
{
    TempProject p;
    StoreRecord(p, ID, Records::StepAndSlope());
    ASSERT_TRUE(Calculate(p));
    EXPECT_EQ(BaseComponents(p), (std::array<float, 4>{5.4878373f, -54.8782f, 4.377114f, -43.771f}));
    const std::vector<Row> a3 = ResultRows(p, "A3");
    ASSERT_EQ(a3.size(), 2u);
    EXPECT_EQ(a3[0], (Row{1, 1, 0, 0, 2, -1.4732585e-06f, 19.5139f}));
    EXPECT_EQ(a3[1], (Row{1, 2, 0, -1, 2, -1.4549049e-06f, 19.2708f}));
    const std::vector<Row> a2 = ResultRows(p, "A2");
    ASSERT_EQ(a2.size(), 2u * 6 + 2u * 4);
    // The right sloped segment's start row.
    EXPECT_EQ(a2[12 + 5], (Row{2, 1, 2, 6, 4, 26.58f, -17.720001f}));
    // The step's two A2 rows carry zeros; its values are in A3.
    EXPECT_EQ(a2[3], (Row{1, 1, 1, 0, 2, 0, 0}));
    EXPECT_EQ(a2[4], (Row{1, 0, 2, -1, 2, 0, 0}));
}

TEST(BERECHNUNG, RightSideResultsFollowTheRightLevel)
{
    // Different layering on the two sides, and a right level above the right flow
    // line: the first right vertex lies at the right level and carries no pressure.
    const Record records[] = {Records::LinkPermeabilityMismatch(), Records::NodesAndRightLevel()};
    for (const Record& r : records) {
        TempProject p;
        StoreRecord(p, ID, r);
        ASSERT_TRUE(Calculate(p));
        const std::vector<Row> a2 = ResultRows(p, "A2");
        const auto start = std::find_if(a2.begin(), a2.end(), [](const Row& row) { return row.K == 2 && row.key2 == 1; });
        ASSERT_NE(start, a2.end());
        EXPECT_EQ(start->Z, r.ZGWRS);
        EXPECT_EQ(start->WH, 0.0f);
    }
}

struct RefusalCase {
    const char* name;
    Record record;
    QString text, title;
    QStringList damage = {};   // SQL run on the stored record: values emptied as from outside
};

TEST(BERECHNUNG, RefusesBadInputWithItsMessageAndWritesNothing)
{
    auto layersLeft = Records::SymmetricBox();
    layersLeft.layersL = {{0, 0}};
    layersLeft.layersR = {{0, 0}};   // the right side is faulty too: only the left is reported
    layersLeft.flowR = {};
    auto layersRight = Records::SymmetricBox();
    layersRight.layersR = {{0, 0}};
    layersRight.flowL = {};
    auto flowLeft = Records::SymmetricBox();
    flowLeft.flowL = {};
    flowLeft.flowR = {};
    auto flowRight = Records::SymmetricBox();
    flowRight.flowR = {};
    flowRight.outlineL = {};
    auto structureLeft = Records::SymmetricBox();
    structureLeft.outlineL = {};
    structureLeft.outlineR = {};
    auto structureRight = Records::SymmetricBox();
    structureRight.outlineR = {};
    const QString baseLayer = QStringLiteral("Die Bauwerkssohle muß jedenfalls innerhalb einer Schicht\n"
                                             "(linke oder rechte Seite) liegen! Bitte Überprüfen Sie die Eingabe!");
    const QString baseDirection = QStringLiteral("Bitte überprüfen Sie die Eingabe! Sie haben eine\n"
                                                 "vertikale oder nach oben gerichtete Sohlfläche!");
    const QString input = QStringLiteral("Eingabefehler");
    const RefusalCase cases[] = {
        {"one left layer boundary", layersLeft,
         QStringLiteral("Überprüfen Sie die Eingabedaten der Schichten auf der linken Seite!"), input},
        {"one right layer boundary", layersRight,
         QStringLiteral("Überprüfen Sie die Eingabedaten der Schichten auf der rechten Seite!"), input},
        {"no left flow line", flowLeft,
         QStringLiteral("Überprüfen Sie die Eingabedaten der Stromlinie auf der linken Seite!"), input},
        {"no right flow line", flowRight,
         QStringLiteral("Überprüfen Sie die Eingabedaten der Stromlinie auf der rechten Seite!"), input},
        {"no left structure", structureLeft,
         QStringLiteral("Überprüfen Sie die Eingabedaten des Bauwerkes auf der linken Seite!"), input},
        {"no right structure", structureRight,
         QStringLiteral("Überprüfen Sie die Eingabedaten des Bauwerkes auf der rechten Seite!"), input},
        {"base corners 1/4 on layers 0, 2, 5", Records::BaseAt(1, 4), baseLayer, QStringLiteral("TREMOL")},
        {"rising base crossing a boundary, corners 4/1", Records::BaseAt(4, 1), baseLayer, QStringLiteral("TREMOL")},
        {"base below the deepest boundary", Records::BaseAt(6, 6), baseLayer, QStringLiteral("TREMOL")},
        {"vertical base", Records::VerticalBase(), baseDirection, QStringLiteral("EINGABEFEHLER!")},
        {"base toward smaller x", Records::ReversedBase(), baseDirection, QStringLiteral("EINGABEFEHLER!")},
        // A row without a value, named by its side and running number.
        {"right flow line without x in row 0", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten der Stromlinie auf der rechten Seite: in der Zeile 0 fehlt der Wert x!"),
         input, {"UPDATE E4 SET X = NULL WHERE K = 2 AND I2 = 0"}},
        {"left layers without the depth of the first boundary", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten der Schichten auf der linken Seite: in der Zeile 0 fehlt der Wert z!"),
         input, {"UPDATE E3 SET Z = NULL WHERE K = 1 AND I1 = 0"}},
        {"right layers without a k-value below the first boundary", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten der Schichten auf der rechten Seite: in der Zeile 2 fehlt der Wert kf!"),
         input, {"UPDATE E3 SET KF = NULL WHERE K = 2 AND I1 = 2"}},
        {"the earlier group is reported", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten der Stromlinie auf der linken Seite: in der Zeile 1 fehlt der Wert z!"),
         input, {"UPDATE E5 SET Z = NULL WHERE K = 1 AND I3 = 1", "UPDATE E4 SET Z = NULL WHERE K = 1 AND I2 = 1"}},
        {"an empty structure row", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten des Bauwerkes auf der rechten Seite: die Zeile 1 ist leer!"),
         input, {"UPDATE E5 SET X = NULL, Z = NULL WHERE K = 2 AND I3 = 1"}},
        // A level saved empty, or never saved, would be computed as z = 0.
        {"no left level", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten der Tremolspiegelkote auf der linken Seite: der Wert z fehlt!"),
         input, {"UPDATE E2 SET ZGWLS = NULL"}},
        {"no right level", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten der Tremolspiegelkote auf der rechten Seite: der Wert z fehlt!"),
         input, {"UPDATE E2 SET ZGWRS = NULL"}},
        {"no levels stored at all", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten der Tremolspiegelkote auf der linken Seite: der Wert z fehlt!"),
         input, {"DELETE FROM E2"}},
        // Values no soil can have: a sign slip, a depth typed for another.
        {"a negative k-value", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten der Schichten auf der linken Seite: in der Zeile 2 ist der Wert kf negativ!"),
         input, {"UPDATE E3 SET KF = -1E-05 WHERE K = 1 AND I1 = 2"}},
        {"a boundary above the one before", Records::PolygonExample(),
         QStringLiteral("Überprüfen Sie die Eingabedaten der Schichten auf der rechten Seite: "
                        "die Schichtkote der Zeile 2 (z = 10) liegt über der der Zeile 1 (z = 30)!"),
         input, {"UPDATE E3 SET Z = 30 WHERE K = 2 AND I1 = 1"}},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempProject p;
        StoreRecord(p, ID, c.record);
        StoreOldResults(p);
        for (const QString& sql : c.damage)
            p.exec(sql);
        const QStringList before = ResultTables(p);
        p.dialogs().msgAnswers = {MsgResult::OK};
        EXPECT_FALSE(Calculate(p));
        const std::vector<MsgBoxRequest> boxes = p.dialogs().boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].title, c.title);
        EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
        EXPECT_EQ(boxes[0].icon, MsgIcon::None);
        EXPECT_EQ(ResultTables(p), before);
    }
}

TEST(BERECHNUNG, EqualDepthsAndAZeroKValueAreComputed)
{
    // A boundary repeated at the same depth adds a section of no length; k = 0 is a
    // section that loses no head. Neither changes the worked example's result.
    Record r = Records::PolygonExample();
    r.layersL = {{0, 0}, {3, 1e-4f}, {3, 0}, {10, 1e-5f}};
    TempProject p;
    StoreRecord(p, ID, r);
    EXPECT_TRUE(Calculate(p));
    EXPECT_TRUE(p.dialogs().boxes().empty());
    EXPECT_EQ(BaseComponents(p), (std::array<float, 4>{0, -73.773598f, 0, -66.226402f}));
}

TEST(BERECHNUNG, EmptyKValueOfTheFirstBoundaryCountsAsZero)
{
    // It belongs to no section above the first boundary.
    TempProject p;
    StoreRecord(p, ID, Records::PolygonExample());
    p.exec(QStringLiteral("UPDATE E3 SET KF = NULL WHERE I1 = 0"));
    EXPECT_TRUE(Calculate(p));
    EXPECT_TRUE(p.dialogs().boxes().empty());
    EXPECT_EQ(BaseComponents(p), (std::array<float, 4>{0, -73.773598f, 0, -66.226402f}));
}

TEST(BERECHNUNG, AcceptsTheSmallestInputAndBasesWithinOneLayer)
{
    const Record records[] = {Records::MinimalAccepted(), Records::BaseAt(3, 4), Records::PointedBase()};
    for (const Record& r : records) {
        TempProject p;
        StoreRecord(p, ID, r);
        EXPECT_TRUE(Calculate(p));
        EXPECT_TRUE(p.dialogs().boxes().empty());
    }
    // Coinciding corners skip the layer check and give zero base components.
    TempProject p;
    StoreRecord(p, ID, Records::PointedBase());
    ASSERT_TRUE(Calculate(p));
    EXPECT_EQ(BaseComponents(p), (std::array<float, 4>{0, 0, 0, 0}));
}

TEST(BERECHNUNG, RecalculationLeavesOnlyTheNewRows)
{
    TempProject p;
    StoreRecord(p, ID, Records::StepAndSlope());
    ASSERT_TRUE(Calculate(p));
    const std::vector<Row> A2 = ResultRows(p, "A2"), A3 = ResultRows(p, "A3");
    ASSERT_EQ(A3.size(), 2u);
    // A run refused by its checks deletes nothing: the old rows go only with a new result.
    StoreInput(p, ID, Records::VerticalBase());
    p.dialogs().msgAnswers.push_back(MsgResult::OK);
    ASSERT_FALSE(Calculate(p));
    ASSERT_EQ(p.dialogs().boxes().size(), 1u);
    EXPECT_EQ(p.dialogs().boxes()[0].title, QStringLiteral("EINGABEFEHLER!"));
    EXPECT_EQ(ResultRows(p, "A2"), A2);
    EXPECT_EQ(ResultRows(p, "A3"), A3);
    StoreInput(p, ID, Records::SymmetricBox());
    ASSERT_TRUE(Calculate(p));
    EXPECT_EQ(ResultRows(p, "A2").size(), 12u);
    EXPECT_TRUE(ResultRows(p, "A3").empty());
    // Other records keep theirs.
    p.exec(QStringLiteral("INSERT INTO A2 (ID, K, OU, I4) VALUES (8, 1, 0, 0)"));
    ASSERT_TRUE(Calculate(p));
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT COUNT(*) FROM A2 WHERE ID = 8")), Variant(int32_t(1)));
}

// Each result row is looked for once and added; its other columns go into it without
// looking for it again. So a recalculation runs few statements for each row it writes
// (it ran twelve before).
TEST(BERECHNUNG, WritesEachResultRowWithFewStatements)
{
    TempProject p;
    Record r = Records::PolygonExample();
    r.outlineL.clear();
    r.outlineR.clear();
    for (int i = 0; i < 100; ++i) {
        const float z = -3.0f + 9.0f * float(i) / 99.0f;
        r.outlineL.push_back({0.0f, z});
        r.outlineR.push_back({4.0f, z});
    }
    {
        Transaction store(p.cnnX());   // one commit rather than one for each row
        StoreRecord(p, ID, r);
        store.Commit();
    }
    ASSERT_TRUE(Calculate(p));   // the results a recalculation replaces
    const std::vector<Row> before = ResultRows(p, "A2");
    int statements = 0;
    sqlite3_trace_v2(
        p.cnnX()->handle(), SQLITE_TRACE_STMT,
        [](unsigned, void* count, void*, void*) {
            ++*static_cast<int*>(count);
            return 0;
        },
        &statements);
    ASSERT_TRUE(Calculate(p));
    sqlite3_trace_v2(p.cnnX()->handle(), 0, nullptr, nullptr);
    const std::vector<Row> rows = ResultRows(p, "A2");
    EXPECT_EQ(rows, before);
    ASSERT_GT(rows.size(), 200u);
    // Besides the rows: the reads of the input, which do not grow with the rows written.
    EXPECT_LE(statements, 6 * int(rows.size()) + 80) << statements << " statements for " << rows.size() << " rows";
}

// The writes yield once per row; meanwhile the main window may replace its connection.
// The run stays on the connection it began with, holds it, and commits all at once.
TEST(BERECHNUNG, ReplacingTheConnectionDuringTheWritesChangesNothing)
{
    TempProject reference;
    StoreRecord(reference, ID, Records::StepAndSlope());
    ASSERT_TRUE(Calculate(reference));

    TempProject p;
    StoreRecord(p, ID, Records::StepAndSlope());
    int yields = 0;
    std::vector<Variant> seenMeanwhile;
    SetDoEventsHook([&] {
        if (++yields == 2) {
            auto fresh = std::make_shared<Connection>();
            fresh->ConnectionString = JetConnectionString(p.projectDbPath());
            fresh->ConnectionTimeout = 1;   // a write meant for the run would wait in vain
            fresh->Open();
            p.ctx().cnnX = fresh;           // the run's connection has no other owner now
        }
        if (yields >= 2)
            seenMeanwhile.push_back(p.scalar(QStringLiteral("SELECT COUNT(*) FROM A2")));
    });
    const bool result = Calculate(p);
    SetDoEventsHook(nullptr);
    EXPECT_TRUE(result);
    EXPECT_TRUE(p.dialogs().boxes().empty());
    EXPECT_GT(yields, 10);
    EXPECT_EQ(ResultTables(p), ResultTables(reference));
    // Nothing of the run shows before its commit.
    EXPECT_EQ(std::count(seenMeanwhile.begin(), seenMeanwhile.end(), Variant(int32_t(0))),
              std::ptrdiff_t(seenMeanwhile.size()));
}

struct FailureCase {
    const char* name;
    Record record;
    QString title, textStart;
    MsgResult answer;
};

TEST(BERECHNUNG, RuntimeErrorEndsTheRunWithFalseAndWritesNothing)
{
    const FailureCase cases[] = {
        {"link in an impermeable section, OK", Records::LinkInImpermeableSection(),
         QStringLiteral("Auswerten/Neuberechnen"), QStringLiteral("VB-Fehler:11"), MsgResult::OK},
        {"link in an impermeable section, Cancel", Records::LinkInImpermeableSection(),
         QStringLiteral("Auswerten/Neuberechnen"), QStringLiteral("VB-Fehler:11"), MsgResult::Cancel},
        {"flow point below the deepest layer, OK", Records::FlowPointBelowDeepestLayer(),
         QStringLiteral("Neuberechnen/PHILINIE"), QStringLiteral("VB-Fehler:9"), MsgResult::OK},
        {"flow point below the deepest layer, Cancel", Records::FlowPointBelowDeepestLayer(),
         QStringLiteral("Neuberechnen/PHILINIE"), QStringLiteral("VB-Fehler:9"), MsgResult::Cancel},
        {"path of length 0", Records::ZeroPathLength(), QStringLiteral("Auswerten/Neuberechnen"),
         QStringLiteral("VB-Fehler:11"), MsgResult::OK},
        {"path of length 0 between equal levels: 0/0 overflows", Records::ZeroPathLengthEqualLevels(),
         QStringLiteral("Auswerten/Neuberechnen"), QStringLiteral("VB-Fehler:6"), MsgResult::OK},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempProject p;
        StoreRecord(p, ID, c.record);
        StoreOldResults(p);
        const QStringList before = ResultTables(p);
        p.dialogs().msgAnswers.push_back(c.answer);
        EXPECT_FALSE(Calculate(p));
        const std::vector<MsgBoxRequest> boxes = p.dialogs().boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, c.title);
        EXPECT_TRUE(boxes[0].text.startsWith(c.textStart)) << boxes[0].text.toStdString();
        EXPECT_EQ(boxes[0].buttons, MsgButtons::OKCancel);
        EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(ResultTables(p), before);
    }
}

TEST(BERECHNUNG, FailedReadEndsTheRunBeforeAnyWrite)
{
    struct Case {
        const char* name;
        QString damage;
        MsgResult answer;   // to the view's box
    };
    const Case cases[] = {
        {"level column missing", QStringLiteral("ALTER TABLE E2 DROP COLUMN ZGWRS"), MsgResult::OK},
        {"layer column missing, read cancelled", QStringLiteral("ALTER TABLE E3 DROP COLUMN KF"), MsgResult::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempProject p;
        StoreRecord(p, ID, Records::PolygonExample());
        StoreOldResults(p);
        p.exec(c.damage);
        const QStringList before = ResultTables(p);
        p.dialogs().msgAnswers.push_back(c.answer);
        EXPECT_FALSE(Calculate(p));
        const std::vector<MsgBoxRequest> boxes = p.dialogs().boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Datenfehler"));
        EXPECT_EQ(ResultTables(p), before);
    }
}

TEST(BERECHNUNG, FailedWriteEndsTheRunWithFalseAndKeepsTheEarlierResults)
{
    TempProject p;
    StoreRecord(p, ID, Records::PolygonExample());
    StoreOldResults(p);
    p.exec(QStringLiteral("ALTER TABLE A2 DROP COLUMN WV"));
    const QStringList before = ResultTables(p);
    p.dialogs().msgAnswers = {MsgResult::OK};
    EXPECT_FALSE(Calculate(p));
    const std::vector<MsgBoxRequest> boxes = p.dialogs().boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(ResultTables(p), before);
}

TEST(BERECHNUNG, TheBarStartsAtZeroAndMovesOnWithTheRowsWritten)
{
    TempProject p;
    StoreRecord(p, ID, Records::PolygonExample());
    std::vector<float> values;
    p.ctx().pgbBERECHNEN = [&](float v) { values.push_back(v); };
    EXPECT_TRUE(Calculate(p));
    // One part per section row, up to where the result page's load goes on.
    const int32_t rows = CLng(p.scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM A2) + (SELECT COUNT(*) FROM A3)")));
    ASSERT_EQ(values.size(), std::size_t(rows) + 1);
    EXPECT_EQ(values.front(), 0.0f);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_FLOAT_EQ(values.back(), 15.0f);
    // A run refused at its input writes no row: the bar stays at 0.
    values.clear();
    p.exec(QStringLiteral("DELETE FROM E5 WHERE K = 2"));
    p.dialogs().msgAnswers = {MsgResult::OK};
    EXPECT_FALSE(Calculate(p));
    EXPECT_EQ(values, std::vector<float>{0.0f});
}

TEST(BERECHNUNG, WorksOnTheActiveRecordOnly)
{
    TempProject p;
    StoreRecord(p, 3, Records::SymmetricBox(), false);
    StoreRecord(p, ID, Records::PolygonExample());
    ASSERT_TRUE(Calculate(p));
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT COUNT(*) FROM A2 WHERE ID = 3")), Variant(int32_t(0)));
    EXPECT_EQ(BaseComponents(p), (std::array<float, 4>{0, -73.773598f, 0, -66.226402f}));
}

}
