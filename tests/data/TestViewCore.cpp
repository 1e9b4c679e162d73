// The view's state at creation, its configuration and its connection.
#include "DataFixture.h"
#include <functional>
#include <QDir>
#include <QFile>
#include "platform/VbError.h"

namespace {

using ViewCore = DataTest;

TEST_F(ViewCore, CreationTakesTheFirstActiveRecord)
{
    struct Case {
        const char* rows;
        int32_t ESPIDW;
    } cases[] = {
        {"", 0},
        {"(7, 'A', 1)", 7},
        {"(2, 'A', 0), (5, 'B', 0)", 0},
        {"(1, 'A', 1), (3, 'B', 1)", 1},
    };
    for (const Case& c : cases) {
        exec("DELETE FROM E1");
        if (*c.rows)
            exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES ") + c.rows);
        clsDATEN v(p.ctx());
        EXPECT_EQ(v.ETABELLE(), QStringLiteral("E1"));
        EXPECT_EQ(v.ESPID(), QStringLiteral("ID"));
        EXPECT_EQ(v.ESPIDW(), c.ESPIDW) << c.rows;
        EXPECT_EQ(v.ESPK1(), QString());
        EXPECT_EQ(v.EINFMDB(), QString());
    }
    EXPECT_TRUE(boxes().empty());
}

// The active record is fixed at creation; a later change of AKT does not move the view.
TEST_F(ViewCore, ActiveRecordIsFixedAtCreation)
{
    exec("INSERT INTO E1 (ID, KEN, AKT) VALUES (4, 'A', 1), (9, 'B', 0)");
    clsDATEN v(p.ctx());
    exec("UPDATE E1 SET AKT = NOT AKT");
    v.ETABELLE("E2");
    EXPECT_EQ(v.ESPIDW(), 4);
}

TEST_F(ViewCore, FailedCreationShowsTheBoxAndLeavesRecordZero)
{
    exec("INSERT INTO E1 (ID, KEN, AKT) VALUES (4, 'A', 1)");
    p.ctx().cnnX->Close();
    for (MsgResult a : {MsgResult::OK, MsgResult::Cancel}) {
        p.dialogs().shown.clear();
        answer({a, a, a});
        clsDATEN v(p.ctx());
        EXPECT_EQ(v.ESPIDW(), 0);
        ASSERT_FALSE(boxes().empty());
        ExpectGuardBox(boxes()[0], "Datenfehler", "VB-Error: 3704\n");
        if (a == MsgResult::Cancel) {
            EXPECT_EQ(boxes().size(), 1u);
        }
    }
}

TEST_F(ViewCore, PropertiesReturnWhatWasSet)
{
    clsDATEN v(p.ctx());
    v.ETABELLE("A2");
    v.ESPID("IDK");
    v.ESPIDW(-40000);
    v.ESPK1("A");
    v.ESPK1W("a");
    v.ESPK2("B");
    v.ESPK2W("b");
    v.ESPK3("C");
    v.ESPK3W("c");
    EXPECT_EQ(QStringList({v.ETABELLE(), v.ESPID(), v.ESPK1(), v.ESPK1W(), v.ESPK2(), v.ESPK2W(), v.ESPK3(), v.ESPK3W()}),
              QStringList({"A2", "IDK", "A", "a", "B", "b", "C", "c"}));
    EXPECT_EQ(v.ESPIDW(), -40000);
}

// DT hands over the matched rows of the view's record, ordered by the index columns;
// its errors reach the caller.
TEST_F(ViewCore, DTOpensTheMatchedRows)
{
    exec("INSERT INTO E3 (ID, K, I1, Z) VALUES (7, 1, 1, 11), (7, 1, 0, 10), (7, 2, 0, 20), (8, 1, 0, 30)");
    auto v = view("E3");
    const std::shared_ptr<Recordset> rs = v->DT("Z", "K", 1, "I1");
    QStringList names;
    for (int i = 0; i < rs->FieldCount(); ++i)
        names << rs->Fields(i).Name();
    EXPECT_EQ(names, QStringList({"Z", "ID", "K", "I1"}));
    QStringList values;
    for (; !rs->Eof(); rs->MoveNext())
        values << CStr(rs->Fields("Z").Value());
    rs->Close();
    EXPECT_EQ(values, QStringList({"10", "11"}));

    v->ETABELLE("E9");
    EXPECT_THROW(v->DT("Z"), VbError);
    EXPECT_TRUE(boxes().empty());
}

// Which database a view reads: TREMOL_VE1 exists only in the presets database.
bool readsPresets(clsDATEN& v)
{
    v.ETABELLE("TREMOL_VE1");
    v.ESPID("IDK");
    v.ESPIDW(3);
    int16_t ZL = 0;
    const bool ok = v.DTVI("ZL", ZL);
    return ok && ZL == 12;
}

TEST_F(ViewCore, EBOVChoosesThePresetsConnectionOutsideDevelopmentMode)
{
    p.ctx().cnnX_V->Execute("INSERT INTO TREMOL_VE1 (AKVK, IDK, ZL) VALUES ('GEO1', 3, 12)");
    struct Case {
        const char* programFolder;
        bool value;
        bool presets;
    } cases[] = {
        {"/opt/tremol", true, true},
        {"/opt/tremol", false, false},
        {"/home/u/Source/tremol", true, false},
        {"/home/u/SOURCE", true, false},
    };
    for (const Case& c : cases) {
        p.ctx().programFolder = c.programFolder;
        p.dialogs().shown.clear();
        if (!c.presets)
            answer({MsgResult::OK});
        clsDATEN v(p.ctx());
        v.EBOV(c.value);
        EXPECT_EQ(readsPresets(v), c.presets) << c.programFolder << c.value;
        EXPECT_EQ(boxes().size(), c.presets ? 0u : 1u);
    }
}

TEST_F(ViewCore, EINFMDBOpensADatabaseOfTheSuite)
{
    p.ctx().cnnX_V->Execute("INSERT INTO TREMOL_VE1 (AKVK, IDK, ZL) VALUES ('GEO1', 3, 12)");
    clsDATEN v(p.ctx());
    bool BOINF = false;
    v.EINFMDB(BOINF, "VORGABE");
    EXPECT_TRUE(BOINF);
    EXPECT_EQ(v.EINFMDB(), QStringLiteral("VORGABE"));
    EXPECT_TRUE(readsPresets(v));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ViewCore, EINFMDBInDevelopmentModeOpensTheProjectFolder)
{
    p.ctx().programFolder = "/home/u/source";
    exec("INSERT INTO E2 (ID, ZGWLS) VALUES (7, 2.5)");
    clsDATEN v(p.ctx());
    v.EBOV(true);   // development mode: still the working copy
    bool BOINF = false;
    v.EINFMDB(BOINF, "TREMOL");
    EXPECT_TRUE(BOINF);
    v.ETABELLE("E2");
    v.ESPIDW(7);
    float z = 0;
    EXPECT_TRUE(v.DTVS("ZGWLS", z));
    EXPECT_EQ(z, 2.5f);
}

// A missing file is no error; a file that does not open keeps the view on its
// connection and reports False (not True, as if it had been opened).
TEST_F(ViewCore, EINFMDBThatCannotOpenKeepsTheConnection)
{
    QFile broken(p.ctx().DATENBANKPFAD + "/KAPUTT.mdb");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("no database at all, just some text that is long enough to be read");
    broken.close();
    exec("INSERT INTO E2 (ID, ZGWLS) VALUES (7, 2.5)");

    struct Case {
        const char* name;
        MsgResult answer;
        size_t boxes;
    } cases[] = {{"NIX", MsgResult::OK, 0}, {"KAPUTT", MsgResult::OK, 1}, {"KAPUTT", MsgResult::Cancel, 1}};
    for (const Case& c : cases) {
        p.dialogs().shown.clear();
        answer({c.answer});
        clsDATEN v(p.ctx());
        bool BOINF = true;
        v.EINFMDB(BOINF, c.name);
        EXPECT_FALSE(BOINF) << c.name;
        EXPECT_EQ(v.EINFMDB(), QString(c.name));
        ASSERT_EQ(boxes().size(), c.boxes);
        if (c.boxes > 0)
            ExpectGuardBox(boxes()[0], QStringLiteral("Datenzugriff - Datenbank ") + c.name, "VB-Error: ");
        v.ETABELLE("E2");
        v.ESPIDW(7);
        float z = 0;
        EXPECT_TRUE(v.DTVS("ZGWLS", z));
        EXPECT_EQ(z, 2.5f);
    }
}

// Compaction reopens the working copy's connection in place (or the main window
// replaces it): views made before go on working on the working copy.
TEST_F(ViewCore, ViewsKeepWorkingAfterTheConnectionIsReopened)
{
    auto v = view("E2");
    ASSERT_TRUE(v->DVTS("ZGWLS", 1.25f));
    p.ctx().cnnX->Reopen();
    float z = 0;
    EXPECT_TRUE(v->DTVS("ZGWLS", z));
    EXPECT_EQ(z, 1.25f);

    p.ctx().cnnX = OpenDatabase(p.projectDbPath());
    EXPECT_TRUE(v->DVTS("ZGWRS", 3.5f));
    EXPECT_EQ(rows("SELECT ZGWLS, ZGWRS FROM E2 WHERE ID = 7"), QStringList{"1,25|3,5"});
    EXPECT_TRUE(boxes().empty());
}

// While a write yields to the message loop, its owner may let the view go and the
// main window may replace its connection: the write finishes on what it started with.
TEST_F(ViewCore, AWriteOutlivesItsOwnerAndConnection)
{
    // Allocated apart from its control block, so that its memory goes with its owner.
    std::shared_ptr<clsDATEN> v(new clsDATEN(p.ctx()));
    v->ETABELLE("E3");
    v->ESPIDW(7);
    std::weak_ptr<clsDATEN> watch = v;
    int yields = 0;
    SetDoEventsHook([&] {
        if (++yields == 1) {
            v.reset();
            p.ctx().cnnX = OpenDatabase(p.projectDbPath());
        }
    });
    const std::vector<float> Z{1, 2, 3};
    EXPECT_TRUE(v->DVTSF("Z", Z, "K", 1, "I1"));
    SetDoEventsHook(nullptr);
    EXPECT_EQ(yields, 3);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(rows("SELECT Z FROM E3 WHERE ID = 7 AND K = 1"), QStringList({"1", "2", "3"}));
}

// The owner lets go during the yield and the write then fails: the view lives on
// until its failure report is shown.
TEST_F(ViewCore, AFailedWriteReportsAfterItsOwnerLetGo)
{
    const auto write = [this](const std::function<bool(clsDATEN&)>& member) {
        std::shared_ptr<clsDATEN> v(new clsDATEN(p.ctx()));
        v->ETABELLE("E3");
        v->ESPIDW(7);
        std::weak_ptr<clsDATEN> watch = v;
        SetDoEventsHook([&] {
            v.reset();
            p.ctx().cnnX->Close();
        });
        clsDATEN& view = *v;
        const bool written = member(view);
        SetDoEventsHook(nullptr);
        p.ctx().cnnX->Open();
        EXPECT_TRUE(watch.expired());
        return written;
    };
    answer({MsgResult::OK, MsgResult::OK});
    // The second value is written after the yield of the first.
    EXPECT_FALSE(write([](clsDATEN& v) { return v.DVTSF("Z", std::vector<float>{1, 2}, "K", 1, "I1"); }));
    // The surplus row is deleted after the yield of the one value.
    exec("INSERT INTO E3 (ID, K, I1, Z) VALUES (7, 2, 0, 10), (7, 2, 1, 11)");
    EXPECT_FALSE(write([](clsDATEN& v) { return v.DVTS("Z", 5.0f, "K", 2, "I1"); }));
    const auto b = boxes();
    ASSERT_EQ(b.size(), 2u);
    ExpectDataError(b[0], "Werte können nicht in Spalte Z der Tabelle E3 gespeichert werden!");
    ExpectDataError(b[1], "Wert 5 kann nicht in die Spalte Z der Tabelle E3 gespeichert werden!");
}

} // namespace
