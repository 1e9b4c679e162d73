// What the set-up lays out: program folder, suite databases, projects, the
// settings file and the frame program's stand-in.
#include "platform/Ado.h"
#include "platform/DatabaseFiles.h"
#include "platform/System.h"
#include "platform/VbError.h"
#include "setup/SchemaText.h"
#include "setup/SuiteSetup.h"
#include "support/OtherUser.h"
#include "support/TestHelpers.h"
#include "support/TestSuite.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::vector<QStringList> rows(const QString& dbPath, const QString& sql)
{
    auto cnn = OpenDatabase(dbPath);
    Recordset rs;
    rs.Open(sql, cnn);
    std::vector<QStringList> result;
    while (!rs.Eof()) {
        QStringList row;
        for (int i = 0; i < rs.FieldCount(); ++i)
            row << (rs.Fields(i).Value().isNull() ? QStringLiteral("<Null>") : CStr(rs.Fields(i).Value()));
        result.push_back(row);
        rs.MoveNext();
    }
    rs.Close();
    cnn->Close();
    return result;
}

QString single(const QString& dbPath, const QString& sql)
{
    const auto r = rows(dbPath, sql);
    return r.empty() ? QString() : r.front().front();
}

QString projectDb(const TempSuite& suite, const char* project)
{
    return suite.projectsFolder() + QLatin1Char('/') + QLatin1String(project) + QStringLiteral("/TREMOL.mdb");
}

const QStringList RecordTables = {"E1", "E2", "E3", "E4", "E5", "A1", "A2", "A3", "G0", "P1",
                                  "P2", "P3", "P4", "P5", "G1", "G2_1", "G2_2", "G3", "G4"};

// The command-line tool, where the build placed it beside the tests.
QString Tool()
{
    return QCoreApplication::applicationDirPath() + "/../src/setup/tremol-setup";
}

// A set-up of the suite by the running user with the program and its documents: what a
// further user runs.
SuiteOptions OptionsFor(const TempSuite& suite)
{
    SuiteOptions options;
    options.root = suite.root();
    options.exe = QCoreApplication::applicationFilePath();
    options.documentsFrom = BuildProgramFolder();
    return options;
}

// Lays out a suite with the running user's settings in config: the error number (0 for
// none) and the report, or the error's text.
std::pair<int32_t, QStringList> LayOutWithSettingsIn(const SuiteOptions& options, const QString& config)
{
    const QByteArray configBefore = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    QStringList report;
    int32_t error = 0;
    try {
        report = LayOutSuite(options);
    } catch (const VbError& e) {
        error = e.number();
        report << e.text();
    }
    qputenv("XDG_CONFIG_HOME", configBefore);
    return {error, report};
}

} // namespace

#define REQUIRE_TOOL()                                                                        \
    do {                                                                                      \
        if (!QFileInfo(Tool()).isExecutable())                                                \
            GTEST_SKIP() << "tremol-setup not built beside the tests";                        \
    } while (0)

TEST(Setup, LaysOutTheSuite)
{
    TempSuite suite;
    for (const QString& file : {suite.programFolder() + "/TREMOL.mdb", suite.datenFolder() + "/ARCHIV.mdb",
                                suite.datenFolder() + "/VORGABE.mdb", projectDb(suite, "TE0000.00"),
                                projectDb(suite, "TE0001.00")}) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_TRUE(QFileInfo(file).isFile());
        EXPECT_NO_THROW(OpenDatabase(file)->Close());
    }
    EXPECT_TRUE(QFileInfo(suite.root() + "/KALMARO").isExecutable());
    EXPECT_EQ(SuiteIniPath(), suite.root() + "/config/KALMARO/KALMARO.ini");
    EXPECT_EQ(GetSetting("KALMARO", "Extras", "Datenbankpfad"), suite.datenFolder());
}

TEST(Setup, EntersTheCurrentUsersAdminRowOnce)
{
    TempSuite suite;
    const QString archive = suite.datenFolder() + "/ARCHIV.mdb";
    const QString user = UserName().toUpper();
    ASSERT_FALSE(user.isEmpty());
    auto admin = [&] { return rows(archive, "SELECT [BENUTZER],[PROG],[PROJEKTSPFAD],[PROJEKT],[BEARBEITER] FROM [ADMIN]"); };
    auto r = admin();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].mid(0, 4), (QStringList{user, "KALMARO", suite.projectsFolder(), "TE0000.00"}));
    EXPECT_FALSE(r[0][4].isEmpty());
    EXPECT_TRUE(QDir(r[0][2]).isAbsolute());

    // A second run updates the row in place and leaves other users' rows alone.
    const QString other = user + QStringLiteral("_ANDERER");
    OpenDatabase(archive)->Execute("INSERT INTO ADMIN VALUES (?, 'TREMOL', '/p', 'X', 'Anna')", {other});
    OpenDatabase(archive)->Execute("UPDATE ADMIN SET PROG='TREMOL' WHERE BENUTZER=?", {user});
    SuiteOptions again;
    again.root = suite.root();
    LayOutSuite(again);
    r = admin();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(single(archive, QStringLiteral("SELECT [PROG] FROM [ADMIN] WHERE [BENUTZER]='%1'").arg(user.toLower())),
              "KALMARO");
    EXPECT_EQ(single(archive, QStringLiteral("SELECT [PROG] FROM [ADMIN] WHERE [BENUTZER]='%1'").arg(other.toLower())),
              "TREMOL");
}

TEST(Setup, SpeaksTheProgramsLanguage)
{
    TempSuite suite;
    SuiteOptions again;
    again.root = suite.root();
    const auto firstWords = [&] {
        QStringList words;
        for (const QString& line : LayOutSuite(again))
            words << line.section(QLatin1Char(':'), 0, 0);
        return words;
    };
    {
        const LocaleScope english(English());
        EXPECT_EQ(firstWords(), (QStringList{"Empty database", "Archive", "Presets kept", "Project kept", "Project kept",
                                             "Setting", "Frame program (stand-in)"}));
    }
    const LocaleScope german(German());
    EXPECT_EQ(firstWords(), (QStringList{"Leere Datenbank", "Archiv", "Vorgaben bleiben", "Projekt bleibt",
                                         "Projekt bleibt", "Einstellung", "Rahmenprogramm (Ersatz)"}));
}

TEST(Setup, TheProjectSchemaHoldsTheRecordTablesWithIdFirst)
{
    TempSuite suite(false);
    auto cnn = OpenDatabase(suite.programFolder() + "/TREMOL.mdb");
    EXPECT_EQ(single(suite.programFolder() + "/TREMOL.mdb",
                     "SELECT count(*) FROM sqlite_master WHERE type='table'"),
              QString::number(RecordTables.size()));
    for (const QString& table : RecordTables) {
        SCOPED_TRACE(table.toStdString());
        const auto& columns = cnn->columnsOf(table);
        ASSERT_FALSE(columns.empty());
        EXPECT_EQ(columns[0], (std::pair<QString, QString>{"id", "INTEGER"}));
    }
    const auto& e1 = cnn->columnsOf("E1");
    ASSERT_EQ(e1.size(), 4u);
    EXPECT_EQ(e1[1].first, "ken");
    EXPECT_EQ(e1[2].first, "kom");
    EXPECT_EQ(e1[3].first, "akt");

    struct Expect {
        const char* sql;
        const char* value;
    };
    const Expect checks[] = {
        // Flags are never Null and default to False.
        {"SELECT count(*) FROM pragma_table_info('E1') WHERE type='BOOLEAN' AND \"notnull\"=1 AND dflt_value='0'", "1"},
        {"SELECT count(*) FROM pragma_table_info('A1') WHERE type='BOOLEAN' AND \"notnull\"=1 AND dflt_value='0'", "1"},
        // No index on the designation (its order would follow another NOCASE) and none unique.
        {"SELECT count(*) FROM sqlite_master WHERE type='index' AND (sql LIKE '%KEN%' OR sql LIKE '%UNIQUE%')", "0"},
        {"SELECT count(*) FROM pragma_table_info('A2') WHERE type='SINGLE'", "4"},
        {"SELECT count(*) FROM pragma_table_info('G0') WHERE type='SINGLE'", "12"},
        {"PRAGMA journal_mode", "delete"},
    };
    for (const Expect& c : checks) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(single(suite.programFolder() + "/TREMOL.mdb", c.sql), c.value);
    }
    cnn->Close();

    // The suite databases.
    auto archive = OpenDatabase(suite.datenFolder() + "/ARCHIV.mdb");
    QStringList adminColumns;
    for (const auto& c : archive->columnsOf("ADMIN"))
        adminColumns << c.first;
    EXPECT_EQ(adminColumns, (QStringList{"benutzer", "prog", "projektspfad", "projekt", "bearbeiter"}));
    auto presets = OpenDatabase(suite.datenFolder() + "/VORGABE.mdb");
    EXPECT_EQ(presets->columnsOf("TREMOL_VE1").size(), 9u);
    EXPECT_EQ(presets->columnsOf("TREMOL_VE2").size(), 8u);
}

TEST(Setup, ProgramConnectionsCompareDesignationsWithoutRegardToCase)
{
    TempSuite suite(false);
    auto cnn = OpenDatabase(projectDb(suite, "TE0001.00"));
    cnn->Execute("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'Wand1', 1), (2, 'ÄB', 0)");
    struct Case {
        const char* key;
        const char* id;
    };
    for (const Case& c : {Case{"wand1", "1"}, Case{"äb", "2"}}) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]='%1'").arg(QString::fromUtf8(c.key)), cnn);
        ASSERT_FALSE(rs.Eof()) << c.key;
        EXPECT_EQ(CStr(rs.Fields("ID").Value()), c.id);
    }
    Recordset active;
    active.Open("SELECT [ID] FROM [E1] WHERE [AKT]=true", cnn);
    EXPECT_EQ(active.RecordCount(), 1);
}

TEST(Setup, AnExistingProjectDatabaseStaysUnlessForced)
{
    TempSuite suite;
    const QString db = projectDb(suite, "TE0000.00");
    OpenDatabase(db)->Execute("UPDATE E1 SET KOM='bearbeitet'");
    SuiteOptions options;
    options.root = suite.root();
    const QStringList report = LayOutSuite(options);
    EXPECT_EQ(single(db, "SELECT count(*) FROM E1 WHERE KOM='bearbeitet'"), "2");
    EXPECT_TRUE(report.contains("Projekt bleibt: " + db));
    EXPECT_FALSE(QFileInfo::exists(db + ".new"));

    options.force = true;
    LayOutSuite(options);
    EXPECT_EQ(single(db, "SELECT count(*) FROM E1 WHERE KOM='bearbeitet'"), "0");
    EXPECT_EQ(single(db, "SELECT count(*) FROM E1"), "2");
}

// The example records are complete input: every side has its layers (two or more
// boundaries), flow line and outline, numbered 0, 1, 2, ... without gaps.
TEST(Setup, TheExampleProjectHoldsCompleteRecords)
{
    TempSuite suite;
    const QString db = projectDb(suite, "TE0000.00");
    EXPECT_EQ(rows(db, "SELECT [ID],[KEN],[AKT] FROM [E1] ORDER BY [ID]"),
              (std::vector<QStringList>{{"1", "Beispiel", "True"}, {"2", "Spundwand", "False"}}));
    // Designation and comment fit their boxes (12 and 50 characters).
    EXPECT_EQ(single(db, "SELECT count(*) FROM E1 WHERE length(KEN)>12 OR length(KOM)>50"), "0");
    for (const QString id : {"1", "2"}) {
        SCOPED_TRACE(id.toStdString());
        EXPECT_EQ(single(db, "SELECT count(*) FROM E2 WHERE ZGWLS IS NOT NULL AND ZGWRS IS NOT NULL AND ID=" + id), "1");
        struct Table {
            const char* name;
            const char* number;
            int minimum;
        };
        for (const Table& t : {Table{"E3", "I1", 2}, Table{"E4", "I2", 1}, Table{"E5", "I3", 1}}) {
            for (const char* side : {"1", "2"}) {
                const QString where = QStringLiteral(" FROM %1 WHERE ID=%2 AND K=%3").arg(t.name, id, side);
                const int n = single(db, "SELECT count(*)" + where).toInt();
                EXPECT_GE(n, t.minimum) << t.name << " side " << side;
                EXPECT_EQ(single(db, QStringLiteral("SELECT max(%1)").arg(t.number) + where), QString::number(n - 1));
                EXPECT_EQ(single(db, "SELECT count(*)" + where + " AND (Z IS NULL OR "
                                     + (QLatin1String(t.name) == QLatin1String("E3") ? "KF" : "X") + " IS NULL)"),
                          "0");
            }
        }
    }
    // The worked example as stored: levels and the left layers.
    EXPECT_EQ(rows(db, "SELECT [ZGWLS],[ZGWRS] FROM [E2] WHERE [ID]=1"), (std::vector<QStringList>{{"-2", "0"}}));
    EXPECT_EQ(rows(db, "SELECT [Z],[KF] FROM [E3] WHERE [ID]=1 AND [K]=1 ORDER BY [I1]"),
              (std::vector<QStringList>{{"0", "0"}, {"3", "0,0001"}, {"10", "1E-05"}}));
    // The sheet-pile wall: three layers a side, water 2 m higher on the left.
    EXPECT_EQ(single(db, "SELECT count(*) FROM E3 WHERE ID=2 AND K=1"), "4");
    EXPECT_EQ(single(db, "SELECT count(*) FROM E3 WHERE ID=2 AND K=2"), "4");
    EXPECT_EQ(single(db, "SELECT ZGWRS - ZGWLS FROM E2 WHERE ID=2"), "2");

    EXPECT_EQ(single(projectDb(suite, "TE0001.00"), "SELECT count(*) FROM E1"), "0");
    // The presets hold one sample import layout.
    const QString presets = suite.datenFolder() + "/VORGABE.mdb";
    EXPECT_EQ(rows(presets, "SELECT [AKVK],[IDK],[ZL],[TZS] FROM [TREMOL_VE1]"),
              (std::vector<QStringList>{{"BEISPIEL", "1", "2", "<BLANK>"}}));
    EXPECT_EQ(rows(presets, "SELECT [MNR],[SPALTE],[POSITION] FROM [TREMOL_VE2] WHERE [IDK]=1 ORDER BY [MNR]"),
              (std::vector<QStringList>{{"0", "X", "0"}, {"1", "Z", "1"}}));
}

TEST(Setup, TheFrameProgramStandInOnlyNotesItsStart)
{
    TempSuite suite(false);
    for (int run = 1; run <= 2; ++run) {
        QProcess frame;
        frame.start(suite.root() + "/KALMARO", {});
        ASSERT_TRUE(frame.waitForFinished(10000));
        EXPECT_EQ(frame.exitCode(), 0);
        QFile log(suite.root() + "/KALMARO.log");
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
        EXPECT_EQ(lines.size(), run);
        EXPECT_TRUE(lines.last().contains("KALMARO"));
    }
}

TEST(Setup, SettingsAreReadFreshAndOnlyRead)
{
    TempSuite suite(false);
    const QString ini = SuiteIniPath();
    EXPECT_EQ(GetSetting("KALMARO", "Extras", "Datenbankpfad"), suite.datenFolder());
    {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue("Extras/Datenbankpfad", "/srv/daten");
    }
    EXPECT_EQ(GetSetting("KALMARO", "Extras", "Datenbankpfad"), "/srv/daten");
    EXPECT_EQ(GetSetting("KALMARO", "Extras", "Fehlt"), "");
    EXPECT_EQ(GetSetting("KALMARO", "extras", "datenbankpfad"), "");
    const QByteArray before = [&] { QFile f(ini); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    QFile::remove(ini);
    EXPECT_EQ(GetSetting("KALMARO", "Extras", "Datenbankpfad"), "");
    EXPECT_FALSE(QFileInfo::exists(ini));
    EXPECT_FALSE(before.isEmpty());
}

TEST(Setup, TheUserIsTheEffectiveLoginUser)
{
    EXPECT_FALSE(UserName().isEmpty());
    EXPECT_FALSE(UserFullName().isEmpty());
    EXPECT_FALSE(UserName().contains(' '));
}

TEST(Setup, TheToolWritesTheTemplateAndLaysOutASuite)
{
    REQUIRE_TOOL();
    const QString tool = Tool();
    QTemporaryDir dir;
    auto run = [&](const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.path() + "/config");
        p.setProcessEnvironment(env);
        p.start(tool, args);
        p.waitForFinished(60000);
        return p.exitCode();
    };
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"--root"}), 2);
    EXPECT_EQ(run({"--template", dir.path() + "/T.mdb"}), 0);
    EXPECT_EQ(single(dir.path() + "/T.mdb", "SELECT count(*) FROM sqlite_master WHERE type='table'"), "19");

    // With --exe the program and the documents beside it are copied along.
    QDir().mkpath(dir.path() + "/build");
    QFile::copy(tool, dir.path() + "/build/TREMOL");
    QFile help(dir.path() + "/build/TREMOL.html");
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html></html>");
    help.close();
    EXPECT_EQ(run({"--root", dir.path() + "/suite", "--exe", dir.path() + "/build/TREMOL"}), 0);
    EXPECT_TRUE(QFileInfo(dir.path() + "/suite/TREMOL/TREMOL").isExecutable());
    EXPECT_TRUE(QFileInfo(dir.path() + "/suite/TREMOL/TREMOL.html").isFile());
    EXPECT_TRUE(QFileInfo(dir.path() + "/suite/PROJEKTE/TE0000.00/TREMOL.mdb").isFile());
    QSettings ini(dir.path() + "/config/KALMARO/KALMARO.ini", QSettings::IniFormat);
    EXPECT_EQ(ini.value("Extras/Datenbankpfad").toString(), dir.path() + "/suite/DATEN");
}

// A second user runs the set-up on a suite the first laid out for all users: it enters
// him (admin row, his own settings) and leaves what it may not write, saying so.
TEST(Setup, ASecondUserIsAddedAndFilesHeMayNotWriteStay)
{
    REQUIRE_OTHER_USER("a second user entered in one suite");
    TempSuite suite(true, TempSuite::Users::All);
    const QString archive = suite.datenFolder() + "/ARCHIV.mdb";
    const QString config = suite.root() + "/configB";
    const auto [error, report] = [&] {
        const OtherUser b;
        return LayOutWithSettingsIn(OptionsFor(suite), config);
    }();
    EXPECT_EQ(error, 0) << report.join('\n').toStdString();
    for (const QString& kept : {suite.programFolder() + "/TREMOL.mdb", suite.root() + "/KALMARO"})
        EXPECT_TRUE(report.contains("Nicht schreibbar, bleibt: " + kept)) << kept.toStdString();
    // What the maker did not lay out (here the program) is not there to stay.
    EXPECT_TRUE(report.contains("Nicht schreibbar, fehlt: " + suite.programFolder() + "/TREMOL"))
        << report.join('\n').toStdString();
    EXPECT_TRUE(report.contains("Archiv: " + archive));
    EXPECT_TRUE(report.contains("Einstellung: " + config + "/KALMARO/KALMARO.ini"));
    EXPECT_EQ(single(archive, "SELECT count(*) FROM ADMIN"), "2");
    EXPECT_EQ(single(archive, "SELECT PROJEKTSPFAD FROM ADMIN WHERE BENUTZER='" + OtherUser::Name() + "'"),
              suite.projectsFolder());
    EXPECT_TRUE(QFileInfo(config + "/KALMARO/KALMARO.ini").isFile());
    EXPECT_FALSE(QFileInfo::exists(suite.programFolder() + "/TREMOL"));
}

// In a suite laid out for all users, nobody renames a folder of another: the suite
// folder and the users' folder let each remove or rename only his own entries (also
// once the set-up runs again on a suite laid out before), while in a project folder every
// user may replace the project database.
TEST(Setup, NobodyRenamesAnotherUsersFolderInASuiteForAll)
{
    REQUIRE_OTHER_USER("a second user who tries to rename folders of the suite");
    TempSuite suite(true, TempSuite::Users::All);
    const QString benutzer = suite.root() + "/BENUTZER", project = suite.projectsFolder() + "/TE0000.00";
    for (const bool again : {false, true}) {
        SCOPED_TRACE(again ? "the set-up run again on a suite without the bit" : "a new suite");
        if (again) {
            SetMode(suite.root(), 0777);
            SetMode(benutzer, 0777);
            ASSERT_EQ(LayOutWithSettingsIn(OptionsFor(suite), suite.root() + "/config").first, 0);
        }
        EXPECT_EQ(ModeOf(suite.root()) & 07777, 01777u);
        EXPECT_EQ(ModeOf(benutzer) & 07777, 01777u);
        EXPECT_EQ(ModeOf(project) & S_ISVTX, 0u);
        const OtherUser b;
        for (const QString& folder : {benutzer, suite.projectsFolder(), suite.programFolder()})
            EXPECT_NE(::rename(QFile::encodeName(folder).constData(), QFile::encodeName(folder + ".weg").constData()), 0)
                << folder.toStdString();
        // His own folder is his to make and to remove.
        const QString own = benutzer + "/" + OtherUser::Name();
        EXPECT_TRUE(QDir().mkdir(own));
        EXPECT_TRUE(QDir().rmdir(own));
    }
    // A suite folder of another user without the bit is named in the report.
    SetMode(suite.root(), 0777);
    ASSERT_EQ(::chown(QFile::encodeName(suite.root()).constData(), OtherUser::Uid(), gid_t(-1)), 0);
    const auto [error, report] = LayOutWithSettingsIn(OptionsFor(suite), suite.root() + "/config");
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(report.contains("Andere Benutzer dürfen die Einträge des Suite-Ordners umbenennen; sein Eigentümer "
                                "sollte ihm das Sticky-Bit geben (chmod +t): " + suite.root()))
        << report.join('\n').toStdString();
    EXPECT_EQ(ModeOf(suite.root()) & 07777, 0777u);
}

// On a suite whose archive the user may not write the set-up stops before it changes
// anything: nothing written, his settings neither.
TEST(Setup, AnArchiveTheUserMayNotWriteStopsTheSetUpBeforeAnyChange)
{
    REQUIRE_UNPRIVILEGED();
    TempSuite suite(true, TempSuite::Users::All);
    const QString archive = suite.datenFolder() + "/ARCHIV.mdb";
    const QString config = suite.root() + "/configB";
    const QByteArray before = BytesOf(archive);
    ASSERT_TRUE(QFile::setPermissions(archive, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const auto [refused, message] = [&] {
        const Unprivileged user;
        return LayOutWithSettingsIn(OptionsFor(suite), config);
    }();
    EXPECT_EQ(refused, VbErr::PermissionDenied);
    EXPECT_EQ(message, QStringList{"Das Archiv kann nicht geschrieben werden: " + archive + ". Nichts wurde geändert."});
    EXPECT_EQ(BytesOf(archive), before);
    EXPECT_FALSE(QFileInfo::exists(suite.programFolder() + "/TREMOL"));
    EXPECT_FALSE(QFileInfo::exists(config));
}

// A suite laid out under a strict file-creation mask, in a suite folder made for a group
// (from a build made under that mask too): the program folder and its files get what the
// suite folder grants (reading, passing, running), as the data folders get theirs, and a
// further user's set-up ends ready to start. One whom the program folder does not let
// run the program or read the template is told so, and the set-up fails.
TEST(Setup, UnderAStrictMaskTheProgramFolderGetsWhatTheSuiteFolderGrants)
{
    REQUIRE_TOOL();
    REQUIRE_UNPRIVILEGED();
    QTemporaryDir dir;
    OpenToAll(dir.path());
    const QString build = dir.path() + "/build", root = dir.path() + "/suite", program = root + "/TREMOL";
    ASSERT_TRUE(QDir().mkpath(build));
    ASSERT_TRUE(QFile::copy(Tool(), build + "/TREMOL"));
    // The further user runs a copy of the tool in the open folder: the build's own may lie
    // where he cannot reach it (a checkout in root's home, mode 0700).
    const QString tool = build + "/tremol-setup";
    ASSERT_TRUE(QFile::copy(Tool(), tool));
    ASSERT_TRUE(QFile::setPermissions(tool, QFile::permissions(tool) | QFileDevice::ExeOther | QFileDevice::ReadOther));
    ASSERT_TRUE(MayRunUnprivileged(tool)) << "the unprivileged user cannot run " << tool.toStdString()
                                        << ": may he pass every folder above " << dir.path().toStdString() << "?";
    ASSERT_TRUE(QFile::setPermissions(build + "/TREMOL", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QFile help(build + "/TREMOL.html");
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html></html>");
    help.close();
    ASSERT_TRUE(help.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    // The suite folder of the further user's group (as root, the second user's).
    ASSERT_TRUE(QDir().mkpath(root));
    const gid_t group = ::geteuid() == 0 ? OtherUser::Gid() : ::getegid();
    ASSERT_EQ(::chown(QFile::encodeName(root).constData(), uid_t(-1), group), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(root).constData(), 02775), 0);

    // The suite's maker and a further user run the set-up, under the strict mask; its
    // exit code and its error channel.
    const auto setUp = [&](bool furtherUser) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.path() + (furtherUser ? "/configB" : "/configA"));
        env.insert("LC_ALL", "C");
        p.setProcessEnvironment(env);
        if (furtherUser)
            RunUnprivileged(p);
        const mode_t mask = ::umask(077);
        p.start(tool, {"--root", root, "--exe", build + "/TREMOL"});
        ::umask(mask);
        // A start or an end that fails says why in the process's own words.
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return std::make_pair(-1, p.errorString());
        return std::make_pair(p.exitCode(), QString::fromUtf8(p.readAllStandardError()).trimmed());
    };
    ASSERT_EQ(setUp(false), std::make_pair(0, QString()));
    const auto others = [](const QString& path) {
        return QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                           | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    };
    const QFileDevice::Permissions read = QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const QFileDevice::Permissions pass = read | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    EXPECT_EQ(others(program), pass);
    EXPECT_EQ(others(program + "/TREMOL"), pass);
    EXPECT_EQ(others(program + "/TREMOL.html"), read);
    EXPECT_EQ(others(program + "/TREMOL.mdb"), read);
    EXPECT_EQ(others(root + "/DATEN"), pass | QFileDevice::WriteGroup);
    EXPECT_EQ(QFileInfo(program).groupId(), group);
    EXPECT_EQ(setUp(true), std::make_pair(0, QString()));

    // A program folder he may not write, with files he may not use (as one laid out
    // before, or narrowed since).
    ASSERT_TRUE(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner | read
                                                   | QFileDevice::ExeGroup | QFileDevice::ExeOther));
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | read;
    ASSERT_TRUE(QFile::setPermissions(program + "/TREMOL", readOnly));
    EXPECT_EQ(setUp(true), std::make_pair(1, "tremol-setup: Sie können das Programm nicht starten: " + program
                                                          + "/TREMOL darf von Ihnen nicht ausgeführt werden. (70)"));
    ASSERT_TRUE(QFile::setPermissions(program + "/TREMOL", readOnly | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(program + "/TREMOL.mdb", QFileDevice::WriteOwner));
    EXPECT_EQ(setUp(true), std::make_pair(1, "tremol-setup: Sie können das Programm nicht starten: " + program
                                                          + "/TREMOL.mdb darf von Ihnen nicht gelesen werden. (70)"));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::WriteOwner));   // to be removed
}
