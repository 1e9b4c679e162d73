#include "SuiteSetup.h"
#include "SchemaText.h"
#include "platform/Ado.h"
#include "platform/DatabaseFiles.h"
#include "platform/FileOps.h"
#include "platform/Locale.h"
#include "platform/System.h"
#include "platform/VbError.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <sqlite3.h>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QString Project0 = QStringLiteral("TE0000.00");
const QString Project1 = QStringLiteral("TE0001.00");

struct Point {
    float x, z;
};
struct Layer {
    float z, kf;   // depth of the boundary, permeability of the soil above it
};
struct Side {
    std::vector<Layer> layers;
    std::vector<Point> flowLine;
    std::vector<Point> outline;
};
struct ExampleRecord {
    int32_t id;
    const char* ken;
    const char* kom;
    bool active;
    float zgwls, zgwrs;
    Side left, right;
};

// Complete input of two records: the worked example of the calculation and a
// sheet-pile wall (tip at 12 m, both faces meet there) with three layers of
// different permeability on each side and the water 2 m higher on the left.
const std::vector<ExampleRecord>& examples()
{
    static const std::vector<ExampleRecord> records = {
        {1, "Beispiel", "Rechenbeispiel: Bauwerk bis 6 m, drei Grenzen", true, -2.0f, 0.0f,
         {{{0.0f, 0.0f}, {3.0f, 0.0001f}, {10.0f, 0.00001f}}, {{0.0f, 0.0f}, {0.0f, 6.0f}}, {{0.0f, -3.0f}, {0.0f, 6.0f}}},
         {{{0.0f, 0.0f}, {3.0f, 0.0001f}, {10.0f, 0.00001f}}, {{4.0f, 0.0f}, {4.0f, 6.0f}}, {{4.0f, -3.0f}, {4.0f, 6.0f}}}},
        {2, "Spundwand", "Spundwand, je Seite drei Schichten, GW links +2 m", false, 1.0f, 3.0f,
         {{{0.0f, 0.0f}, {4.0f, 0.0002f}, {9.0f, 0.00005f}, {15.0f, 0.000001f}},
          {{0.0f, 1.0f}, {0.0f, 12.0f}},
          {{0.0f, -1.0f}, {0.0f, 12.0f}}},
         {{{3.0f, 0.0f}, {6.0f, 0.0002f}, {9.0f, 0.00005f}, {15.0f, 0.000001f}},
          {{0.0f, 3.0f}, {0.0f, 12.0f}},
          {{0.0f, -1.0f}, {0.0f, 12.0f}}}},
    };
    return records;
}

void insert(Connection& cnn, const QString& table, const QStringList& columns, const std::vector<Variant>& values)
{
    cnn.Execute(QStringLiteral("INSERT INTO [%1] ([%2]) VALUES (%3)")
                    .arg(table, columns.join(QStringLiteral("],[")),
                         QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))),
                values);
}

void writeSide(Connection& cnn, int32_t id, int16_t side, const Side& s)
{
    for (size_t i = 0; i < s.layers.size(); ++i)
        insert(cnn, QStringLiteral("E3"), {QStringLiteral("ID"), QStringLiteral("K"), QStringLiteral("I1"), QStringLiteral("Z"), QStringLiteral("KF")},
               {id, side, int32_t(i), s.layers[i].z, s.layers[i].kf});
    struct Line {
        const char* table;
        const char* number;
        const std::vector<Point>& points;
    };
    for (const Line& line : {Line{"E4", "I2", s.flowLine}, Line{"E5", "I3", s.outline}}) {
        for (size_t i = 0; i < line.points.size(); ++i)
            insert(cnn, QLatin1String(line.table), {QStringLiteral("ID"), QStringLiteral("K"), QLatin1String(line.number), QStringLiteral("X"), QStringLiteral("Z")},
                   {id, side, int32_t(i), line.points[i].x, line.points[i].z});
    }
}

// Puts a finished file at its place in one step; on failure the target stays as it
// was and the partial file is removed.
void putInPlace(const QString& partial, const QString& target)
{
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(partial);
        throw VbError(VbErr::PermissionDenied, ProgramText("Cannot replace: ", "Ersetzen nicht möglich: ") + target);
    }
}

// Copies a file of the program folder into place: whoever may read the folder may read
// it, and run it when it is a program (run).
void copyIntoProgramFolder(const QString& source, const QString& target, bool run)
{
    const QString partial = target + QStringLiteral(".new");
    QFile::remove(partial);
    try {
        if (!QFile::copy(source, partial))
            throw VbError(VbErr::PermissionDenied, ProgramText("Cannot copy: ", "Kopieren nicht möglich: ") + source + QStringLiteral(" -> ") + target);
        if (run && !QFile::setPermissions(partial, QFile::permissions(partial) | QFileDevice::ExeOwner))
            throw VbError(VbErr::PermissionDenied, ProgramText("Cannot make the file executable: ", "Datei kann nicht ausführbar gemacht werden: ") + target);
        ShareLikeFolder(partial, FileSharing::ReadRun);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    putInPlace(partial, target);
}

// Makes a database at a temporary name beside the target, fills it, and only
// then puts it in place, so that no half-written database is ever left. The others
// may use it as sharing says, as far as its folder lets them.
template <typename Fill>
void createDatabaseAt(const QString& path, const char* schema, FileSharing sharing, Fill fill)
{
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    try {
        CreateDatabase(partial, schema);
        {
            auto cnn = OpenDatabase(partial);
            cnn->Execute(QStringLiteral("BEGIN"));
            fill(*cnn);
            cnn->Execute(QStringLiteral("COMMIT"));
            cnn->Close();
        }
        ShareLikeFolder(partial, sharing);
        putInPlace(partial, path);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        throw VbError(VbErr::PathNotFound, ProgramText("Cannot create the folder: ", "Ordner kann nicht angelegt werden: ") + path);
}

// Whether this user may put a new file in place of path (or create it).
bool mayReplace(const QString& path)
{
    return MayWrite(QFileInfo(path).absolutePath()) && (!QFileInfo::exists(path) || MayWrite(path));
}

void writeFile(const QString& path, const QByteArray& content, QFileDevice::Permissions permissions)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()
        || !file.setPermissions(permissions))
        throw VbError(VbErr::PermissionDenied, ProgramText("Cannot write the file: ", "Datei kann nicht geschrieben werden: ") + path);
}

// The frame program's stand-in: it only notes that it was started.
const char* const FrameStub =
    "#!/bin/sh\n"
    "# Stand-in for the suite's frame program: notes each start and ends.\n"
    "echo \"$(date '+%Y-%m-%d %H:%M:%S') KALMARO gestartet\" >> \"$(dirname \"$0\")/KALMARO.log\"\n";

} // namespace

QString BuildProgramFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("TREMOL_PROGRAM_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStringLiteral(TREMOL_BUILD_PROGRAM_DIR);
}

void MakeTemplateDatabase(const QString& path)
{
    // Read by the program, never written: like every file of the program folder.
    createDatabaseAt(path, projectSchema, FileSharing::ReadRun, [](Connection&) {});
}

void WriteExampleRecords(Connection& project)
{
    for (const ExampleRecord& r : examples()) {
        insert(project, QStringLiteral("E1"), {QStringLiteral("ID"), QStringLiteral("KEN"), QStringLiteral("KOM"), QStringLiteral("AKT")},
               {r.id, r.ken, r.kom, r.active});
        insert(project, QStringLiteral("E2"), {QStringLiteral("ID"), QStringLiteral("ZGWLS"), QStringLiteral("ZGWRS")},
               {r.id, r.zgwls, r.zgwrs});
        writeSide(project, r.id, 1, r.left);
        writeSide(project, r.id, 2, r.right);
    }
}

void WriteSampleImportLayout(Connection& presets)
{
    // Flow-line points, one "x z" pair per line after one header line.
    insert(presets, QStringLiteral("TREMOL_VE1"),
           {QStringLiteral("AKVK"), QStringLiteral("IDK"), QStringLiteral("ZL"), QStringLiteral("DATUM"), QStringLiteral("UHRZEIT"),
            QStringLiteral("KENZ1NR"), QStringLiteral("KENZ1KZ"), QStringLiteral("TZS"), QStringLiteral("TZZ")},
           {"BEISPIEL", int32_t(1), int16_t(2), Variant::Null(), Variant::Null(), "1", Variant::Null(), "<BLANK>", Variant::Null()});
    const char* const columns[] = {"X", "Z"};
    for (int16_t m = 0; m < 2; ++m)
        insert(presets, QStringLiteral("TREMOL_VE2"),
               {QStringLiteral("IDK"), QStringLiteral("MNR"), QStringLiteral("SPALTE"), QStringLiteral("POSITION"), QStringLiteral("PRAEFIX"),
                QStringLiteral("SUFFIX"), QStringLiteral("FAKTOR"), QStringLiteral("FORMAT")},
               {int32_t(1), m, columns[m], m, Variant::Null(), Variant::Null(), 1.0f, "0.00"});
}

void WriteAdminRow(const QString& archivePath, const QString& projectsFolder, const QString& project)
{
    const QString user = UserName().toUpper();
    if (user.isEmpty())
        throw VbError(VbErr::InvalidCall, ProgramText("The user name cannot be found.", "Der Benutzername ist nicht zu ermitteln."));
    auto cnn = OpenDatabase(archivePath);
    const std::vector<Variant> row = {QStringLiteral("KALMARO"), projectsFolder, project, UserFullName(), user};
    cnn->Execute(QStringLiteral("UPDATE [ADMIN] SET [PROG]=?,[PROJEKTSPFAD]=?,[PROJEKT]=?,[BEARBEITER]=? WHERE [BENUTZER]=?"), row);
    if (sqlite3_changes(cnn->handle()) == 0)
        insert(*cnn, QStringLiteral("ADMIN"),
               {QStringLiteral("PROG"), QStringLiteral("PROJEKTSPFAD"), QStringLiteral("PROJEKT"), QStringLiteral("BEARBEITER"), QStringLiteral("BENUTZER")},
               row);
    cnn->Close();
}

QStringList LayOutSuite(const SuiteOptions& options)
{
    QStringList done;
    const QDir root(QFileInfo(options.root).absoluteFilePath());
    const QString program = root.filePath(QStringLiteral("TREMOL"));
    const QString daten = root.filePath(QStringLiteral("DATEN"));
    const QString projects = root.filePath(QStringLiteral("PROJEKTE"));
    const QString archive = daten + QStringLiteral("/ARCHIV.mdb");
    // A user of an existing suite is entered in its archive, or nothing is done at all.
    if (FolderExists(daten) && !mayReplace(archive))
        throw VbError(VbErr::PermissionDenied,
                      ProgramText("The archive cannot be written: ", "Das Archiv kann nicht geschrieben werden: ") + archive
                          + ProgramText(". Nothing was changed.", ". Nichts wurde geändert."));

    // The suite's users share the folders of the data and the projects (as far as the
    // suite folder lets them); the program folder is only read by them.
    makeFolder(root.absolutePath());
    // Nobody renames another's folder in the suite folder, nor in the users' folder,
    // where each keeps his own; the project folders stay open to all, since every user
    // replaces the project database there.
    if (!KeepEntriesToTheirOwners(root.absolutePath()))
        done << ProgramText("Other users may rename the entries of the suite folder; its owner should give it the "
                            "sticky bit (chmod +t): ",
                            "Andere Benutzer dürfen die Einträge des Suite-Ordners umbenennen; sein Eigentümer sollte "
                            "ihm das Sticky-Bit geben (chmod +t): ")
                    + root.absolutePath();
    CreateSharedFolder(root.filePath(QStringLiteral("BENUTZER")), Sharing::EachOwnEntries);
    CreateSharedFolder(program, Sharing::Reading);
    for (const QString& folder : {daten, projects, projects + QLatin1Char('/') + Project0, projects + QLatin1Char('/') + Project1})
        CreateSharedFolder(folder, Sharing::AllEntries);

    // A file of another user that this one may not replace stays, and is named.
    const auto writeOrKeep = [&done](const QString& path, const QString& doneLine, const std::function<void()>& write) {
        if (!mayReplace(path)) {
            done << (QFileInfo::exists(path) ? ProgramText("Cannot be written, kept: ", "Nicht schreibbar, bleibt: ")
                                             : ProgramText("Cannot be written, missing: ", "Nicht schreibbar, fehlt: "))
                        + path;
            return;
        }
        write();
        done << doneLine;
    };

    // Program folder: the program, its documents and the empty template.
    if (!options.exe.isEmpty()) {
        const QString target = program + QStringLiteral("/TREMOL");
        writeOrKeep(target, ProgramText("Program: ", "Programm: ") + target,
                    [&] { copyIntoProgramFolder(options.exe, target, true); });
    }
    if (!options.documentsFrom.isEmpty()) {
        for (const char* name : {"TREMOL.html", "TREMOL.odt", "TREMOL_H.odt"}) {
            const QString source = options.documentsFrom + QLatin1Char('/') + QLatin1String(name);
            const QString target = program + QLatin1Char('/') + QLatin1String(name);
            if (QFileInfo(source).isFile() && QFileInfo(source).absoluteFilePath() != QFileInfo(target).absoluteFilePath())
                writeOrKeep(target, ProgramText("Document: ", "Dokument: ") + target,
                            [&] { copyIntoProgramFolder(source, target, false); });
        }
    }
    const QString templatePath = program + QStringLiteral("/TREMOL.mdb");
    writeOrKeep(templatePath, ProgramText("Empty database: ", "Leere Datenbank: ") + templatePath,
                [&] { MakeTemplateDatabase(templatePath); });

    // Suite databases: the archive with this user's admin row, the presets.
    if (!QFileInfo::exists(archive))
        createDatabaseAt(archive, archiveSchema, FileSharing::ReadWrite, [](Connection&) {});
    WriteAdminRow(archive, projects, Project0);
    done << ProgramText("Archive: ", "Archiv: ") + archive;
    const QString presets = daten + QStringLiteral("/VORGABE.mdb");
    if (QFileInfo::exists(presets)) {
        done << ProgramText("Presets kept: ", "Vorgaben bleiben: ") + presets;
    } else {
        writeOrKeep(presets, ProgramText("Presets: ", "Vorgaben: ") + presets, [&] {
            createDatabaseAt(presets, presetsSchema, FileSharing::ReadWrite,
                             [](Connection& cnn) { WriteSampleImportLayout(cnn); });
        });
    }

    // Projects: existing project databases stay unless replacement is asked for.
    for (const QString& name : {Project0, Project1}) {
        const QString path = projects + QLatin1Char('/') + name + QStringLiteral("/TREMOL.mdb");
        if (QFileInfo::exists(path) && !options.force) {
            done << ProgramText("Project kept: ", "Projekt bleibt: ") + path;
            continue;
        }
        const bool withExamples = options.withExamples && name == Project0;
        writeOrKeep(path, ProgramText("Project: ", "Projekt: ") + path, [&] {
            createDatabaseAt(path, projectSchema, FileSharing::ReadWrite, [withExamples](Connection& cnn) {
                if (withExamples)
                    WriteExampleRecords(cnn);
            });
        });
    }

    // The suite's setting of the database folder, and the frame program's stand-in.
    const QString ini = SuiteIniPath();
    makeFolder(QFileInfo(ini).absolutePath());
    {
        QSettings settings(ini, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Extras/Datenbankpfad"), daten);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            throw VbError(VbErr::PermissionDenied, ProgramText("Cannot write the settings: ", "Einstellungen nicht schreibbar: ") + ini);
    }
    done << ProgramText("Setting: ", "Einstellung: ") + ini;
    const QString frame = root.filePath(QStringLiteral("KALMARO"));
    writeOrKeep(frame, ProgramText("Frame program (stand-in): ", "Rahmenprogramm (Ersatz): ") + frame, [&] {
        writeFile(frame, FrameStub,
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                      | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
    });
    return done;
}

void CheckProgramStartable(const QString& root)
{
    const QString program = QDir(root).filePath(QStringLiteral("TREMOL"));
    const QString exe = program + QStringLiteral("/TREMOL");
    const QString templatePath = program + QStringLiteral("/TREMOL.mdb");
    const QString refused = !MayRun(exe) ? exe + ProgramText(" may not be run by you.", " darf von Ihnen nicht ausgeführt werden.")
                            : !MayRead(templatePath)
                                ? templatePath + ProgramText(" may not be read by you.", " darf von Ihnen nicht gelesen werden.")
                                : QString();
    if (!refused.isEmpty())
        throw VbError(VbErr::PermissionDenied,
                      ProgramText("You cannot start the program: ", "Sie können das Programm nicht starten: ") + refused);
}
