// Export and import between two projects of a suite: the lists, the folder choice,
// the record copy with new numbers and every row, refused duplicates, copy errors
// and the hand-back to the main window.
#include "AppFixture.h"
#include "app/Datensatz.h"
#include "app/frmEXPIMP.h"
#include "platform/DatabaseFiles.h"
#include "platform/FileOps.h"
#include "platform/ReplacementLock.h"
#include "support/OtherProcessLock.h"
#include "platform/Yield.h"
#include "setup/SchemaText.h"
#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <sqlite3.h>
#include <algorithm>
#include <functional>

namespace {

QByteArray Hash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList Entries(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

std::vector<int32_t> ItemIds(const QListWidget& list)
{
    std::vector<int32_t> ids;
    for (int i = 0; i < list.count(); ++i)
        ids.push_back(list.item(i)->data(Qt::UserRole).toInt());
    return ids;
}

// Selects the entries whose designation is one of those given.
void Select(QListWidget& list, const QStringList& designations)
{
    list.clearSelection();
    for (int i = 0; i < list.count(); ++i) {
        const QString text = list.item(i)->text();
        for (const QString& ken : designations)
            if (text.startsWith(ken + QStringLiteral(" (")))
                list.item(i)->setSelected(true);
    }
}

// The rows of one record in one table without their ID, in a fixed order.
std::vector<QStringList> Rows(const std::shared_ptr<Connection>& cnn, const QString& table, int32_t id)
{
    std::vector<QStringList> rows;
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM [%1] WHERE [ID]=%2").arg(table).arg(id), cnn);
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList row;
        for (int i = 1; i < rs.FieldCount(); ++i) {
            const Variant v = rs.Fields(i).Value();
            row << (v.isNull() ? QStringLiteral("<Null>") : CStr(v));
        }
        rows.push_back(row);
    }
    rs.Close();
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Two rows in each given table for a record, every value telling row and column apart.
void FillTables(Connection& cnn, int32_t id, const QStringList& tables)
{
    for (const QString& table : tables) {
        const auto& columns = cnn.columnsOf(table);
        for (int r = 1; r <= 2; ++r) {
            std::vector<Variant> values{Variant(id)};
            for (size_t c = 1; c < columns.size(); ++c) {
                if (columns[c].second == QLatin1String("BOOLEAN"))
                    values.emplace_back(true);
                else
                    values.emplace_back(int32_t(id * 100 + r * 10 + int(c)));
            }
            cnn.Execute(QStringLiteral("INSERT INTO [%1] VALUES (%2)")
                            .arg(table, QStringList(int(values.size()), QStringLiteral("?")).join(QLatin1Char(','))),
                        values);
        }
    }
}

QStringList Without(QStringList tables, const QStringList& left)
{
    for (const QString& t : left)
        tables.removeAll(t);
    return tables;
}

} // namespace

class ExportImportTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    }
    // A fresh run on a fresh working copy.
    void Restart()
    {
        main.reset();
        QFile::remove(workingCopy());
        QFile::remove(workingCopy() + QStringLiteral(".origin"));
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        dialogs->shown.clear();
    }
    QString folder(const QString& project) const { return suite->projectsFolder() + QLatin1Char('/') + project; }
    std::shared_ptr<Connection> target() const { return OpenDatabase(projectDb(QStringLiteral("TE0001.00"))); }
    std::unique_ptr<frmEXPIMP> Dialog() { return std::make_unique<frmEXPIMP>(*main); }
    // The working copy's records: the two examples (1 active, 2), "Anker" (5, active,
    // no comment) and rows in every record table, except that Anker has no G4 rows.
    void FillWorkingCopy()
    {
        auto cnn = main->cnnX();
        cnn->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (5,'Anker',NULL,1)"));
        const QStringList e = {QStringLiteral("E1"), QStringLiteral("E2"), QStringLiteral("E3"), QStringLiteral("E4"),
                               QStringLiteral("E5")};
        FillTables(*cnn, 1, Without(DatensatzTabellen(), e));
        FillTables(*cnn, 2, Without(DatensatzTabellen(), e));
        FillTables(*cnn, 5, Without(DatensatzTabellen(), {QStringLiteral("E1"), QStringLiteral("G4")}));
    }
    int32_t IdOf(const std::shared_ptr<Connection>& cnn, const QString& ken)
    {
        const Variant v = ScalarOf(cnn, QStringLiteral("SELECT [ID] FROM [E1] WHERE [KEN]='%1'").arg(ken));
        return v.isEmpty() ? 0 : CLng(v);
    }
    QStringList Designations(const std::shared_ptr<Connection>& cnn)
    {
        QStringList all;
        Recordset rs;
        rs.Open(QStringLiteral("SELECT [KEN] FROM [E1] ORDER BY [ID]"), cnn);
        for (; !rs.Eof(); rs.MoveNext())
            all << CStr(rs.Fields(0).Value());
        rs.Close();
        return all;
    }
};

TEST_F(ExportImportTest, OpensAnotherProjectsDatabaseButNeverTheWorkingCopy)
{
    struct Case {
        bool english;
        const char *imp, *exp, *close, *opened;
    };
    const Case cases[] = {
        {false, "Aktuelles Projekt: TE0000.00", "Externes Projekt", "Schließen", "Projekt "},
        {true, "Selected Projekt: TE0000.00", "External Project", "Quit", "Project "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english ? "English" : "German");
        LocaleScope locale(c.english ? English() : German());
        Restart();
        main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (5,'Anker',NULL,0)"));
        main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (6,'m',0)"));

        auto d = Dialog();
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Export/Import"));
        EXPECT_EQ(d->fraIMP->title(), QString::fromUtf8(c.imp));
        EXPECT_EQ(d->fraEXP->title(), QString::fromUtf8(c.exp));
        EXPECT_EQ(d->cmdSCHLIESSEN->text(), QString::fromUtf8(c.close));
        // The projects folder holds no project database itself.
        EXPECT_EQ(d->dirEXP->Path(), suite->projectsFolder());
        EXPECT_EQ(d->drvEXP->Drive(), DriveName(suite->projectsFolder()));
        EXPECT_TRUE(Entries(*d->lstEXP).isEmpty());
        EXPECT_FALSE(d->BOEXP());
        EXPECT_FALSE(d->cmdEXP->isEnabled());
        EXPECT_FALSE(d->cmdIMP->isEnabled());
        // The designation "M" is never listed, in either case; a Null comment leaves the brackets empty.
        EXPECT_EQ(Entries(*d->lstIMP),
                  QStringList({QStringLiteral("Anker ()"),
                               QStringLiteral("Beispiel (Rechenbeispiel: Bauwerk bis 6 m, drei Grenzen)"),
                               QStringLiteral("Spundwand (Spundwand, je Seite drei Schichten, GW links +2 m)")}));
        EXPECT_EQ(ItemIds(*d->lstIMP), (std::vector<int32_t>{5, 1, 2}));

        d->dirEXP->setPath(userFolder());
        EXPECT_FALSE(d->BOEXP());
        EXPECT_TRUE(Entries(*d->lstEXP).isEmpty());

        // The own project's saved database is another database than the working copy.
        d->dirEXP->setPath(folder(QStringLiteral("TE0000.00")));
        ASSERT_TRUE(d->cnnEXP()->isOpen());
        EXPECT_TRUE(SameFile(d->cnnEXP()->path(), projectDb()));
        EXPECT_EQ(d->fraEXP->title(), QString::fromUtf8(c.opened) + QStringLiteral("TE0000"));
        EXPECT_EQ(Entries(*d->lstEXP).size(), 2);
        EXPECT_TRUE(d->cmdEXP->isEnabled());
        EXPECT_TRUE(d->cmdIMP->isEnabled());

        d->dirEXP->setPath(folder(QStringLiteral("TE0001.00")));
        EXPECT_EQ(Entries(*d->lstEXP), QStringList{QStringLiteral("<leer>")});
        EXPECT_EQ(ItemIds(*d->lstEXP), std::vector<int32_t>{0});
        EXPECT_EQ(d->fraEXP->title(), QString::fromUtf8(c.opened) + QStringLiteral("TE0001"));

        // A folder without a project database: the list empties, the target stays.
        d->dirEXP->setPath(suite->projectsFolder());
        EXPECT_TRUE(Entries(*d->lstEXP).isEmpty());
        EXPECT_EQ(d->fraEXP->title(), QString::fromUtf8(c.opened) + QStringLiteral("TE0001"));
        EXPECT_TRUE(d->cnnEXP()->isOpen());
        EXPECT_TRUE(SameFile(d->cnnEXP()->path(), projectDb(QStringLiteral("TE0001.00"))));
        EXPECT_TRUE(Boxes().empty());
    }
}

TEST_F(ExportImportTest, ExportGivesNewNumbersInListOrderAndCarriesEveryRow)
{
    FillWorkingCopy();
    Exec(projectDb(QStringLiteral("TE0001.00")),
         QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (3,'Alt3',0),(7,'Alt7',0)"));
    auto d = Dialog();
    d->dirEXP->setPath(folder(QStringLiteral("TE0001.00")));
    Select(*d->lstIMP, {QStringLiteral("Anker"), QStringLiteral("Spundwand")});

    d->cmdEXP->click();

    EXPECT_TRUE(Boxes().empty());
    auto cnn = target();
    EXPECT_EQ(Designations(cnn), QStringList({QStringLiteral("Alt3"), QStringLiteral("Alt7"), QStringLiteral("Anker"),
                                              QStringLiteral("Spundwand")}));
    EXPECT_EQ(IdOf(cnn, QStringLiteral("Anker")), 8);
    EXPECT_EQ(IdOf(cnn, QStringLiteral("Spundwand")), 9);
    for (const QString& table : DatensatzTabellen()) {
        SCOPED_TRACE(table.toStdString());
        // Anker keeps its active flag and Null comment, and has no G4 rows to copy.
        const auto spundwand = Rows(main->cnnX(), table, 2);
        EXPECT_FALSE(spundwand.empty());
        EXPECT_EQ(Rows(cnn, table, 9), spundwand);
        EXPECT_EQ(Rows(cnn, table, 8), Rows(main->cnnX(), table, 5));
    }
    EXPECT_EQ(Entries(*d->lstEXP).size(), 4);
    EXPECT_EQ(d->lstIMP->selectedItems().size(), 2);
    EXPECT_EQ(CLng(ScalarOf(main->cnnX(), QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 3);
}

TEST_F(ExportImportTest, ClosingAfterAnotherProjectWasOpenMarksTheWorkingCopyChanged)
{
    Exec(projectDb(QStringLiteral("TE0001.00")),
         QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (4,'Import1','Fremd',1)"));
    Exec(projectDb(QStringLiteral("TE0001.00")), QStringLiteral("INSERT INTO [E2] VALUES (4,1.5,2.5)"));
    struct Case {
        const char* name;
        bool open, import, changed;
    };
    const Case cases[] = {
        {"never opened", false, false, false},
        {"opened, nothing copied", true, false, true},
        {"imported", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        main->Tag = QStringLiteral("OK");   // left by another dialog
        std::vector<bool> menusWhileOpen;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frmEXPIMP*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            for (const char* menu : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
                menusWhileOpen.push_back(main->Menu(QLatin1String(menu))->isEnabled());
            if (c.open)
                d->dirEXP->setPath(folder(QStringLiteral("TE0001.00")));
            if (c.import) {
                Select(*d->lstEXP, {QStringLiteral("Import1")});
                d->cmdIMP->click();
            }
            d->cmdSCHLIESSEN->click();
        });
        main->Menu(QStringLiteral("mnuEXPIMP"))->trigger();

        EXPECT_EQ(menusWhileOpen, std::vector<bool>(3, false));
        for (const char* menu : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
            EXPECT_TRUE(main->Menu(QLatin1String(menu))->isEnabled());
        EXPECT_EQ(main->Changed(), c.changed);
        EXPECT_EQ(main->Tag, c.changed ? QStringLiteral("OK") : QString());
        const int32_t id = IdOf(main->cnnX(), QStringLiteral("Import1"));
        EXPECT_EQ(id, c.import ? 3 : 0);
        if (c.import) {
            EXPECT_EQ(Rows(main->cnnX(), QStringLiteral("E2"), 3), (std::vector<QStringList>{{QStringLiteral("1,5"), QStringLiteral("2,5")}}));
            // The imported record is active beside the example's active one.
            EXPECT_EQ(main->stbMAIN->Panels(6).text(), QStringLiteral("Beispiel,..."));
        }
        EXPECT_TRUE(Boxes().empty());
    }
}

TEST_F(ExportImportTest, DesignationsTheTargetHasAreRefused)
{
    // Compared without regard to case, umlauts included; quotes are plain characters.
    main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'Anker',0),(6,'Kai''mauer',0),(7,'Wand''ö',0)"));
    Exec(projectDb(QStringLiteral("TE0001.00")),
         QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (1,'BEISPIEL',0),(2,'WAND''Ö',0)"));
    const QStringList selected = {QStringLiteral("Anker"), QStringLiteral("Beispiel"), QStringLiteral("Kai'mauer"),
                                  QStringLiteral("Spundwand"), QStringLiteral("Wand'ö")};
    struct Case {
        MsgResult answer;
        QStringList copied;
        int messages;
    };
    const Case cases[] = {
        {MsgResult::OK, {QStringLiteral("Anker"), QStringLiteral("Kai'mauer"), QStringLiteral("Spundwand")}, 2},
        {MsgResult::Cancel, {QStringLiteral("Anker")}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer == MsgResult::OK ? "OK" : "Cancel");
        const QString db = projectDb(QStringLiteral("TE0001.00"));
        Exec(db, QStringLiteral("DELETE FROM [E1] WHERE [ID]>2"));
        Exec(db, QStringLiteral("DELETE FROM [E2] WHERE [ID]>2"));
        dialogs->shown.clear();
        dialogs->msgAnswers = {c.answer, c.answer};
        auto d = Dialog();
        d->dirEXP->setPath(folder(QStringLiteral("TE0001.00")));
        Select(*d->lstIMP, selected);

        d->cmdEXP_Click();

        const auto boxes = Boxes();
        ASSERT_EQ(int(boxes.size()), c.messages);
        const QStringList refused = {QStringLiteral("Beispiel"), QStringLiteral("Wand'ö")};
        for (int i = 0; i < c.messages; ++i) {
            EXPECT_EQ(boxes[i].text, QStringLiteral("Datensatz ") + refused[i] + QStringLiteral(" ist bereits vorhanden!"));
            EXPECT_EQ(boxes[i].title, QStringLiteral("TREMOL"));
            EXPECT_EQ(boxes[i].buttons, MsgButtons::OKCancel);
            EXPECT_EQ(boxes[i].icon, MsgIcon::Exclamation);
        }
        auto cnn = target();
        EXPECT_EQ(Designations(cnn), QStringList({QStringLiteral("BEISPIEL"), QStringLiteral("WAND'Ö")}) + c.copied);
        // Nothing of a refused record was written: the target's records 1 and 2 have no E2 rows.
        EXPECT_EQ(CLng(ScalarOf(cnn, QStringLiteral("SELECT COUNT(*) FROM [E2] WHERE [ID]<=2"))), 0);
    }
}

TEST_F(ExportImportTest, CancelInACopyErrorTakesBackOnlyThatRecord)
{
    FillWorkingCopy();
    const QString db = projectDb(QStringLiteral("TE0001.00"));
    // The target refuses the layout rows of the second record copied.
    Exec(db, QStringLiteral("CREATE TRIGGER voll BEFORE INSERT ON G0 WHEN NEW.ID=2 "
                            "BEGIN SELECT RAISE(ABORT,'G0 ist gesperrt'); END"));
    for (const MsgResult answer : {MsgResult::Cancel, MsgResult::OK}) {
        SCOPED_TRACE(answer == MsgResult::OK ? "OK" : "Cancel");
        for (const QString& table : DatensatzTabellen())
            Exec(db, QStringLiteral("DELETE FROM [%1]").arg(table));
        dialogs->shown.clear();
        dialogs->msgAnswers = {answer};
        auto d = Dialog();
        d->dirEXP->setPath(folder(QStringLiteral("TE0001.00")));
        Select(*d->lstIMP, {QStringLiteral("Beispiel"), QStringLiteral("Spundwand")});

        d->cmdEXP_Click();

        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: ")));
        EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("G0 ist gesperrt")));
        EXPECT_EQ(boxes[0].title, QStringLiteral("Export/Import"));
        EXPECT_EQ(boxes[0].buttons, MsgButtons::OKCancel);
        EXPECT_EQ(boxes[0].icon, MsgIcon::None);
        // What was taken back is taken back at once, not when the dialog lets go of the
        // target: another program may write to it while the dialog is still open (a
        // transaction left open would keep it locked).
        auto other = std::make_shared<Connection>();
        other->ConnectionString = JetConnectionString(db);
        other->ConnectionTimeout = 1;
        other->Open();
        EXPECT_NO_THROW(other->Execute(QStringLiteral("BEGIN IMMEDIATE")));
        other->Close();
        auto cnn = target();
        for (const QString& table : DatensatzTabellen()) {
            SCOPED_TRACE(table.toStdString());
            EXPECT_EQ(Rows(cnn, table, 1), Rows(main->cnnX(), table, 1));
            // OK: the record arrives without the table that failed; Cancel: not at all.
            const bool kept = answer == MsgResult::OK && table != QStringLiteral("G0");
            EXPECT_EQ(Rows(cnn, table, 2), kept ? Rows(main->cnnX(), table, 2) : std::vector<QStringList>{});
        }
    }
}

// A failure of the target file itself would fail every record after it: the copy
// ends after the first box and says how many records it copied.
TEST_F(ExportImportTest, FailureOfTheTargetFileEndsTheCopyAfterOneBox)
{
    auto cnn = main->cnnX();
    for (int id = 10; id < 30; ++id)
        cnn->Execute(QStringLiteral("INSERT INTO [E1] VALUES (?,?,?,0)"),
                     {Variant(int32_t(id)), Variant(QStringLiteral("R%1").arg(id)), Variant(QString(1500, QLatin1Char('k')))});
    sqlite3* other = nullptr;
    const struct {
        const char* name;
        std::function<void(const std::shared_ptr<Connection>&)> fault;
        const char* cause;
    } cases[] = {
        {"disk full",
         [](const std::shared_ptr<Connection>& c) {
             c->Execute(QStringLiteral("PRAGMA max_page_count = %1")
                            .arg(CLng(ScalarOf(c, QStringLiteral("PRAGMA page_count"))) + 2));
         },
         "Auf dem Datenträger ist kein Platz mehr frei."},
        {"read-only", [](const std::shared_ptr<Connection>& c) { c->Execute(QStringLiteral("PRAGMA query_only = 1")); },
         "Die Datenbank ist schreibgeschützt."},
        {"in use",
         [&](const std::shared_ptr<Connection>& c) {
             sqlite3_open_v2(c->path().toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr);
             sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
             sqlite3_busy_timeout(c->handle(), 0);
         },
         "Die Datenbank wird von einem anderen Programm benutzt."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->shown.clear();
        dialogs->msgAnswers = {MsgResult::OK, MsgResult::OK};
        {
            auto d = Dialog();
            d->dirEXP->setPath(folder(QStringLiteral("TE0001.00")));
            c.fault(d->cnnEXP());
            d->lstIMP->selectAll();
            d->cmdEXP_Click();
        }
        if (other) {
            sqlite3_close(other);
            other = nullptr;
        }
        const int32_t copied = CLng(ScalarOf(target(), QStringLiteral("SELECT COUNT(*) FROM [E1]")));
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Export/Import"));
        EXPECT_TRUE(boxes[0].text.endsWith(QString::fromUtf8(c.cause))) << boxes[0].text.toStdString();
        EXPECT_EQ(boxes[1].text, QStringLiteral("Das Kopieren wurde abgebrochen: %1 von 22 Datensätzen wurden kopiert.")
                                     .arg(copied));
        EXPECT_EQ(boxes[1].icon, MsgIcon::Exclamation);
        for (const QString& table : DatensatzTabellen())
            Exec(projectDb(QStringLiteral("TE0001.00")), QStringLiteral("DELETE FROM [%1]").arg(table));
    }
}

TEST_F(ExportImportTest, FileThatIsNoProjectDatabaseIsRefusedAndLeftAsItWas)
{
    const QString fremd = folder(QStringLiteral("Fremd"));
    ASSERT_TRUE(QDir().mkpath(fremd));
    const QString file = fremd + QStringLiteral("/TREMOL.mdb");
    struct Case {
        const char* name;
        std::function<void()> make;
    };
    const auto write = [&](const QByteArray& content) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    };
    const auto database = [&](const QString& sql) {
        QFile::remove(file);
        CreateDatabase(file, sql.toUtf8().constData());
    };
    const Case cases[] = {
        {"text", [&] { write("Kein Projekt, nur Text.\n"); }},
        {"empty file", [&] { write({}); }},
        {"other database", [&] { database(QStringLiteral("CREATE TABLE X (A INTEGER);")); }},
        {"record tables missing", [&] { database(QStringLiteral("CREATE TABLE E1 (ID INTEGER, KEN TEXT, KOM TEXT, AKT BOOLEAN);")); }},
    };
    const QByteArray workingCopyBefore = Hash(workingCopy());
    const QByteArray targetBefore = Hash(projectDb(QStringLiteral("TE0001.00")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        const QByteArray before = Hash(file);
        dialogs->shown.clear();
        auto d = Dialog();
        d->dirEXP->setPath(folder(QStringLiteral("TE0001.00")));
        dialogs->msgAnswers = {MsgResult::OK};

        d->dirEXP->setPath(fremd);

        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("Die Datei ") + file
                                             + QStringLiteral(" ist keine Projektdatenbank von TREMOL.")));
        EXPECT_EQ(boxes[0].title, QStringLiteral("TREMOL"));
        EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
        EXPECT_TRUE(Entries(*d->lstEXP).isEmpty());
        EXPECT_EQ(d->fraEXP->title(), QStringLiteral("Projekt TE0001"));
        EXPECT_TRUE(SameFile(d->cnnEXP()->path(), projectDb(QStringLiteral("TE0001.00"))));
        d->cmdSCHLIESSEN_Click();
        EXPECT_EQ(Hash(file), before);
        EXPECT_EQ(QDir(fremd).entryList(QDir::Files), QStringList{QStringLiteral("TREMOL.mdb")});
    }
    // Opening and closing another project writes nothing into it, nor into the working copy.
    EXPECT_EQ(Hash(projectDb(QStringLiteral("TE0001.00"))), targetBefore);
    EXPECT_EQ(Hash(workingCopy()), workingCopyBefore);
}

TEST_F(ExportImportTest, ArrowsCopyNothingWithoutAnotherProjectOrARecord)
{
    const QByteArray before = Hash(workingCopy());
    auto d = Dialog();
    Select(*d->lstIMP, {QStringLiteral("Beispiel")});
    d->cmdEXP_Click();
    d->cmdIMP_Click();

    d->dirEXP->setPath(folder(QStringLiteral("TE0001.00")));
    d->lstEXP->item(0)->setSelected(true);   // the placeholder of the empty project
    d->cmdIMP_Click();

    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Entries(*d->lstIMP).size(), 2);
    EXPECT_EQ(Entries(*d->lstEXP), QStringList{QStringLiteral("<leer>")});
    EXPECT_EQ(Hash(workingCopy()), before);
}

// Exports into a project that other users save: each record is written under the lock
// of the target's saves, into the file the project's path shows then.
class ExportIntoASharedProject : public ExportImportTest {
protected:
    void SetUp() override
    {
        ExportImportTest::SetUp();
        FillWorkingCopy();
    }
    QString db() const { return projectDb(QStringLiteral("TE0001.00")); }
    // Another user's working copy of the target: the target as it is now, with a record
    // of the designation ken added.
    void CopyOfAnother(const QString& ken)
    {
        QFile::remove(othersCopy());
        CopyDatabase(db(), othersCopy());
        Exec(othersCopy(), QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (50,'%1',0)").arg(ken));
    }
    // His save, as a save replaces a project: a complete new file renamed over the
    // project database (over the file a link names).
    void SaveOfAnother() { CopyDatabase(othersCopy(), db()); }
    QString othersCopy() const { return root() + QStringLiteral("/anderer.mdb"); }
    // The dialog on the target, Anker and Spundwand selected for the export.
    std::unique_ptr<frmEXPIMP> Exporting()
    {
        auto d = Dialog();
        d->dirEXP->setPath(folder(QStringLiteral("TE0001.00")));
        Select(*d->lstIMP, {QStringLiteral("Anker"), QStringLiteral("Spundwand")});
        return d;
    }
    // The record's rows in the target, found by designation, in every record table.
    void ExpectExported(const QString& ken, int32_t id, const QStringList& without = {})
    {
        auto cnn = target();
        const int32_t copied = IdOf(cnn, ken);
        ASSERT_NE(copied, 0) << ken.toStdString();
        for (const QString& table : DatensatzTabellen()) {
            SCOPED_TRACE(table.toStdString());
            EXPECT_EQ(Rows(cnn, table, copied),
                      without.contains(table) ? std::vector<QStringList>{} : Rows(main->cnnX(), table, id));
        }
    }
};

// A save of the target under way (its lock held): the export waits for it, the busy
// pointer showing, and its records land in the file that save put in place.
TEST_F(ExportIntoASharedProject, WaitsForASaveOfTheTargetAndLandsInTheFileItPutThere)
{
    auto d = Exporting();
    CopyOfAnother(QStringLiteral("Gespeichert"));
    auto save = std::make_unique<ReplacementLock>(db());
    ASSERT_TRUE(save->TryLock());
    int pointer = -1;
    QTimer::singleShot(300, [&] {
        pointer = MousePointer();
        SaveOfAnother();
        save.reset();
    });

    d->cmdEXP_Click();
    // Without waiting, the export would be done before the save: the save comes now.
    QElapsedTimer waited;
    waited.start();
    while (save && waited.elapsed() < 60000)
        Sleep(10);

    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(pointer, 11);
    EXPECT_EQ(Designations(target()), QStringList({QStringLiteral("Gespeichert"), QStringLiteral("Anker"),
                                                   QStringLiteral("Spundwand")}));
    ExpectExported(QStringLiteral("Anker"), 5);
    ExpectExported(QStringLiteral("Spundwand"), 2);
    EXPECT_EQ(Entries(*d->lstEXP).size(), 3);
}

// Saved by another user since the dialog opened the target (through a link, too: the save
// replaced the file the link names): the record lands in the new file, and a designation
// that file has is refused.
TEST_F(ExportIntoASharedProject, AfterASaveOfTheTargetLandsInTheNewFile)
{
    const QString disk = root() + QStringLiteral("/PLATTE/TREMOL.mdb");
    const struct {
        const char* name;
        bool linked;
        const char* saved;   // the designation the other user's save brought
    } cases[] = {
        {"new designation", false, "Gespeichert"},
        {"through a link", true, "Gespeichert"},
        {"designation saved there", false, "Anker"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(db());
        if (c.linked) {
            ASSERT_TRUE(QDir().mkpath(ParentFolder(disk)));
            QFile::remove(disk);
            CreateDatabase(disk, projectSchema);
            ASSERT_TRUE(QFile::link(disk, db()));
        } else {
            CreateDatabase(db(), projectSchema);
        }
        dialogs->shown.clear();
        auto d = Exporting();
        CopyOfAnother(QString::fromUtf8(c.saved));
        SaveOfAnother();
        const bool refused = QString::fromUtf8(c.saved) == QStringLiteral("Anker");
        if (refused)
            dialogs->msgAnswers = {MsgResult::OK};

        d->cmdEXP_Click();

        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), refused ? 1u : 0u);
        if (refused) {
            EXPECT_EQ(boxes[0].text, QStringLiteral("Datensatz Anker ist bereits vorhanden!"));
        }
        EXPECT_EQ(Designations(target()),
                  refused ? QStringList({QStringLiteral("Anker"), QStringLiteral("Spundwand")})
                          : QStringList({QString::fromUtf8(c.saved), QStringLiteral("Anker"), QStringLiteral("Spundwand")}));
        if (!refused)
            ExpectExported(QStringLiteral("Anker"), 5);
        ExpectExported(QStringLiteral("Spundwand"), 2);
        EXPECT_TRUE(QFileInfo(db()).isSymLink() == c.linked);
        d->cmdSCHLIESSEN_Click();
        QFile::remove(disk);
    }
}

// A save of the target under way for more than a few seconds (its lock held by another
// process): the export asks whether to wait on; giving up stops it with nothing of the
// record written, and it says how far it came.
TEST_F(ExportIntoASharedProject, GivingUpTheWaitForASaveOfTheTargetStopsTheCopy)
{
    auto d = Exporting();
    const OtherProcessLock save(db());
    ASSERT_TRUE(save.Held());
    dialogs->msgAnswers = {MsgResult::No, MsgResult::OK};

    d->cmdEXP_Click();

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, WaitOnQuestion(QStringLiteral("TE0001.00"),
                                            QStringLiteral("das Kopieren abbrechen; dieser und die folgenden "
                                                           "Datensätze werden nicht kopiert.")));
    EXPECT_EQ(boxes[0].title, QStringLiteral("Export/Import"));
    EXPECT_EQ(boxes[1].text, QStringLiteral("Das Kopieren wurde abgebrochen: 0 von 2 Datensätzen wurden kopiert."));
    EXPECT_TRUE(Designations(target()).isEmpty());
}

// No box of an export waits for its answer with the lock held, so that a save of another
// user never waits for it: neither the question about a designation the target has nor
// the box of a table that failed. A save that comes while the box is open is no loss:
// after OK the record is written again, without the table that failed, into the file
// that save put in place.
TEST_F(ExportIntoASharedProject, NoBoxWaitsWithTheLockHeld)
{
    Exec(db(), QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (1,'Anker',0)"));
    Exec(db(), QStringLiteral("CREATE TRIGGER voll BEFORE INSERT ON G0 BEGIN SELECT RAISE(ABORT,'G0 ist gesperrt'); END"));
    CopyOfAnother(QStringLiteral("Gespeichert"));
    std::vector<bool> lockFree;
    dialogs->onShow = [&](const ScriptedDialogService::Shown&) {
        ReplacementLock save(db());
        lockFree.push_back(save.TryLock());
        if (lockFree.size() == 2)
            SaveOfAnother();
    };
    dialogs->msgAnswers = {MsgResult::OK, MsgResult::OK};
    auto d = Exporting();

    d->cmdEXP_Click();
    dialogs->onShow = nullptr;

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Datensatz Anker ist bereits vorhanden!"));
    EXPECT_TRUE(boxes[1].text.contains(QStringLiteral("G0 ist gesperrt")));
    EXPECT_EQ(lockFree, std::vector<bool>({true, true}));
    EXPECT_EQ(Designations(target()),
              QStringList({QStringLiteral("Anker"), QStringLiteral("Gespeichert"), QStringLiteral("Spundwand")}));
    ExpectExported(QStringLiteral("Spundwand"), 2, {QStringLiteral("G0")});
}

// Where the target's lock cannot be had (an entry of its name that is a link), the export
// says so once and goes on without it, following no link.
TEST_F(ExportIntoASharedProject, WithoutTheLockSaysSoOnceAndGoesOn)
{
    const QString planted = root() + QStringLiteral("/angelegt");
    ASSERT_TRUE(QFile::link(planted, db() + QStringLiteral(".lock")));
    dialogs->msgAnswers = {MsgResult::OK};
    auto d = Exporting();

    d->cmdEXP_Click();

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, WithoutLockBox(QStringLiteral("TE0001.00"),
                                            QStringLiteral("Es wird ohne Sperre exportiert: ein Datensatz, der im "
                                                           "Augenblick der Speicherung eines anderen Benutzers "
                                                           "exportiert wird, kann verloren gehen.")));
    EXPECT_EQ(boxes[0].title, QStringLiteral("Export/Import"));
    EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(Designations(target()), QStringList({QStringLiteral("Anker"), QStringLiteral("Spundwand")}));
    EXPECT_FALSE(QFileInfo::exists(planted));
}

TEST(Datensatz, TablesWhoseColumnsDifferAreNotCopied)
{
    TempProject source, target;
    source.exec(QStringLiteral("INSERT INTO [E3] VALUES (1,1,0,2.5,0.001)"));
    target.exec(QStringLiteral("ALTER TABLE [E3] ADD COLUMN [NEU] SINGLE"));
    EXPECT_EQ(VbErrorOf([&] { KopiereTabelle(QStringLiteral("E3"), source.cnnX(), 1, target.cnnX(), 4); }),
              VbErr::DbGeneral);
    EXPECT_EQ(CLng(target.scalar(QStringLiteral("SELECT COUNT(*) FROM [E3]"))), 0);
}
