// Folders made for all users of the suite, what interrupted writes leave behind, and
// file names the system would read otherwise: a NUL ends a name for the system, so a
// name with one inside must never reach another file through the part before it.
#include "platform/FileOps.h"
#include "platform/VbError.h"
#include "support/OtherUser.h"
#include "support/TestHelpers.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utime.h>

// A shared folder gets what its parent grants the others; a folder of per-user folders
// lets each remove only his own; the user's own folder that grants less is widened.
TEST(SharedFolders, TakeWhatTheParentGrantsOthers)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        mode_t parent;
        Sharing sharing;
        mode_t expected;
    } cases[] = {
        {"open parent, own entries", 0777, Sharing::EachOwnEntries, 01777},
        {"open parent, all entries", 0777, Sharing::AllEntries, 0777},
        {"group parent with its group kept", 02770, Sharing::EachOwnEntries, 03770},
        {"parent for its owner only", 0700, Sharing::EachOwnEntries, 0700},
        {"group parent, read only", 02775, Sharing::Reading, 02755},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString parent = dir.filePath(QString::fromUtf8(c.name));
        ASSERT_TRUE(QDir().mkpath(parent));
        SetMode(parent, c.parent);
        const QString folder = parent + QStringLiteral("/BENUTZER");
        ASSERT_TRUE(QDir().mkpath(folder));
        SetMode(folder, 0700);   // made narrow, as an older run did
        CreateSharedFolder(folder, c.sharing);
        EXPECT_EQ(ModeOf(folder), c.expected);
        CreateSharedFolder(parent + QStringLiteral("/NEU"), c.sharing);
        EXPECT_EQ(ModeOf(parent + QStringLiteral("/NEU")) & c.expected, c.expected);
    }
}

// A user's own folder is written by him alone, whatever the folder above grants and
// whatever the user's file-creation mask would leave open.
TEST(SharedFolders, AnOwnFolderIsWrittenByItsOwnerAlone)
{
    QTemporaryDir dir;
    const QString benutzer = dir.filePath(QStringLiteral("BENUTZER"));
    ASSERT_TRUE(QDir().mkpath(benutzer));
    SetMode(benutzer, 03777);
    const mode_t mask = ::umask(0);
    CreateOwnFolder(benutzer + QStringLiteral("/ANNA"));
    ::umask(mask);
    EXPECT_EQ(ModeOf(benutzer + QStringLiteral("/ANNA")) & 0777, 0755u);
}

// A folder another user made is left as it is; where it keeps this user out, the
// refusal says so and names the folder.
TEST(SharedFolders, ARefusalIsAccessDeniedNamingTheFolder)
{
    REQUIRE_OTHER_USER("a folder of another user");
    QTemporaryDir dir;
    OpenToAll(dir.path());
    const QString benutzer = dir.filePath(QStringLiteral("BENUTZER"));
    ASSERT_TRUE(QDir().mkpath(benutzer));
    SetMode(benutzer, 0755);
    const QString own = benutzer + QStringLiteral("/NOBODY");
    int32_t number = 0;
    QString text;
    {
        const OtherUser other;
        try {
            CreateSharedFolder(benutzer, Sharing::EachOwnEntries);
            CreateFolder(own);
        } catch (const VbError& e) {
            number = e.number();
            text = e.text();
        }
    }
    EXPECT_EQ(ModeOf(benutzer), 0755u);
    EXPECT_EQ(number, VbErr::PermissionDenied);
    EXPECT_EQ(text, QStringLiteral("Zugriff verweigert: ") + own);
}

// Partial files of the program's own pattern go once they are an hour old, judged by
// the entry itself: a new link to an old file stays, an old link goes (its file stays),
// an old link to nothing goes; other names, and folders, stay.
TEST(LeftOverPartials, GoByTheirOwnAgeAndNameOnly)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("seiten.pdf"));
    const QString elsewhere = dir.filePath(QStringLiteral("anderswo"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    const auto age = [](const QString& path, int seconds) {
        // The entry's own time: a link's, not its file's.
        const qint64 t = QDateTime::currentSecsSinceEpoch() - seconds;
        const timeval times[2] = {{time_t(t), 0}, {time_t(t), 0}};
        ASSERT_EQ(::lutimes(QFile::encodeName(path).constData(), times), 0);
    };
    const auto file = [&](const QString& path, int seconds) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        age(path, seconds);
    };
    const auto link = [&](const QString& to, const QString& path, int seconds) {
        ASSERT_TRUE(QFile::link(to, path));
        age(path, seconds);
    };
    const QString oldFile = elsewhere + QStringLiteral("/alt"), newFile = elsewhere + QStringLiteral("/neu");
    file(oldFile, 3 * 3600);
    file(newFile, 60);
    file(target + QStringLiteral(".partial-4711-0badc0de"), 3 * 3600);
    file(target + QStringLiteral(".partial-4712-0badc0de"), 60);
    link(oldFile, target + QStringLiteral(".partial-1-00000001"), 60);
    link(newFile, target + QStringLiteral(".partial-1-00000002"), 3 * 3600);
    link(elsewhere + QStringLiteral("/fehlt"), target + QStringLiteral(".partial-1-00000003"), 3 * 3600);
    file(target + QStringLiteral(".partial-notiz"), 3 * 3600);
    ASSERT_TRUE(QDir().mkpath(target + QStringLiteral(".partial-1-00000004")));

    RemoveLeftOverPartials(target);

    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    EXPECT_EQ(left, (QStringList{"anderswo", "seiten.pdf.partial-1-00000001", "seiten.pdf.partial-1-00000004",
                                 "seiten.pdf.partial-4712-0badc0de", "seiten.pdf.partial-notiz"}));
    EXPECT_TRUE(QFile::exists(oldFile));
    EXPECT_TRUE(QFile::exists(newFile));
}

// A folder reached through a link, and in it a relative link: the system takes the
// link's ".." from the folder it really lies in, and so does a replacement (a printed
// PDF, a saved database); a chain of links is followed to its end.
TEST(FileOps, ALinkIsFollowedAsTheSystemFollowsIt)
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    // ablage/a/TE holds the link; PROJEKTE/TE is a link to that folder. By the path's
    // text "../../daten" from PROJEKTE/TE would be daten at the top, which exists too.
    for (const char* folder : {"ablage/a/TE", "ablage/daten", "daten", "PROJEKTE"})
        ASSERT_TRUE(root.mkpath(QLatin1String(folder)));
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("ablage/a/TE")), root.filePath(QStringLiteral("PROJEKTE/TE"))));
    const QString file = root.filePath(QStringLiteral("ablage/daten/seiten.pdf"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("alt");
    }
    ASSERT_TRUE(QFile::link(QStringLiteral("../../daten/seiten.pdf"), root.filePath(QStringLiteral("ablage/a/TE/seiten.pdf"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("seiten.pdf"), root.filePath(QStringLiteral("ablage/a/TE/kette.pdf"))));
    for (const char* name : {"PROJEKTE/TE/seiten.pdf", "PROJEKTE/TE/kette.pdf"}) {
        SCOPED_TRACE(name);
        const QString target = root.filePath(QLatin1String(name));
        ASSERT_EQ(QFileInfo(target).canonicalFilePath(), file);
        EXPECT_EQ(LinkedFile(target), file);
        EXPECT_EQ(FileToReplace(target), file);
        EXPECT_TRUE(PartialName(target).startsWith(file + QStringLiteral(".partial-")));

        const QString partial = PartialName(target);
        {
            QFile f(partial);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(name);
        }
        PutInPlace(partial, target);
        EXPECT_EQ(BytesOf(file), QByteArray(name));
        EXPECT_TRUE(QFileInfo(target).isSymLink());
        EXPECT_EQ(QDir(root.filePath(QStringLiteral("daten"))).entryList(QDir::Files), QStringList());
        EXPECT_EQ(QDir(root.filePath(QStringLiteral("ablage/daten"))).entryList(QDir::Files), QStringList{"seiten.pdf"});
    }
    // A file that is no link is named from the folder it really lies in too, so that what
    // is made beside it is opened by a path without links.
    const QString plain = root.filePath(QStringLiteral("PROJEKTE/TE/neu.pdf"));
    EXPECT_EQ(LinkedFile(plain), root.filePath(QStringLiteral("ablage/a/TE/neu.pdf")));
}

TEST(FileOps, ANameWithANulIsRefusedAndNoOtherFileIsTouched)
{
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("a"));
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    const QString nul = kept + QChar(0) + QStringLiteral("b");
    const QString other = dir.filePath(QStringLiteral("c"));
    QFile::copy(kept, other);
    struct Case {
        const char* name;
        std::function<void()> call;
        int32_t error;
    };
    const Case cases[] = {
        {"delete", [&] { DeleteFile(nul); }, VbErr::FileNotFound},   // no file is named so
        {"rename from", [&] { MoveFile(nul, dir.filePath(QStringLiteral("d"))); }, VbErr::FileNotFound},
        {"rename to", [&] { MoveFile(other, nul); }, VbErr::BadFileName},
        {"put in place", [&] { PutInPlace(other, nul); }, VbErr::BadFileName},
        {"sync", [&] { SyncFile(nul); }, VbErr::BadFileName},
        {"length", [&] { FileLen(nul); }, VbErr::BadFileName},
        {"create folder", [&] { CreateFolder(nul); }, VbErr::BadFileName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VbErrorOf(c.call), c.error);
        EXPECT_EQ(BytesOf(kept), QByteArray("kept"));
        EXPECT_EQ(BytesOf(other), QByteArray("kept"));
    }
    EXPECT_FALSE(FileExists(nul));
    EXPECT_FALSE(FolderExists(dir.path() + QChar(0)));
    EXPECT_FALSE(SameFile(nul, kept));
    EXPECT_TRUE(SubFolders(dir.path() + QChar(0)).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
}

// A new file is made only where nothing has the name: an existing file is neither
// opened nor changed, and a link planted at the name (dangling or not) is not followed.
// Opening or making one, as the locks do, follows no link and waits on no pipe either.
TEST(NewFiles, NeverOpenWhatHasTheNameNorFollowALink)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath("existing"), aim = dir.filePath("aim");
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("kept");
    file.close();
    const QString toExisting = dir.filePath("to-existing"), dangling = dir.filePath("dangling");
    const QString pipe = dir.filePath("pipe");
    ASSERT_TRUE(QFile::link(existing, toExisting));
    ASSERT_TRUE(QFile::link(aim, dangling));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    for (const QString& name : {existing, toExisting, dangling}) {
        SCOPED_TRACE(name.toStdString());
        errno = 0;
        EXPECT_EQ(CreateNewFile(name, 0600), -1);
        EXPECT_EQ(errno, EEXIST);
    }
    for (const QString& name : {toExisting, dangling, pipe}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(OpenOrMakeFile(name, 0600), -1);
    }
    EXPECT_EQ(BytesOf(existing), QByteArray("kept"));
    EXPECT_FALSE(QFileInfo::exists(aim));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"dangling", "existing", "pipe", "to-existing"}));
}

// A file made to be opened by others (a lock) bears its final permissions from the moment
// it has its name, whatever the file-creation mask: one who opens it meanwhile never finds
// a file he may not write, nor one that others may read. Someone watching the name the
// whole time sees no other mode.
TEST(NewFiles, AFileOpenedOrMadeBearsItsFinalModeFromItsFirstMoment)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("TREMOL.mdb.lock");
    const QByteArray native = QFile::encodeName(name);
    std::atomic<bool> done{false};
    std::atomic<int> seen{0}, other{-1};
    std::thread watcher([&] {
        while (!done) {
            struct stat st {};
            if (::lstat(native.constData(), &st) == 0) {
                ++seen;
                if ((st.st_mode & 07777) != 0660)
                    other = int(st.st_mode & 07777);
            }
        }
    });
    const mode_t mask = ::umask(0077);
    for (int i = 0; i < 300 && other < 0; ++i) {
        const int fd = OpenOrMakeFile(name, 0660);
        ASSERT_GE(fd, 0);
        ::close(fd);
        ::unlink(native.constData());
    }
    ::umask(mask);
    done = true;
    watcher.join();
    EXPECT_EQ(other, -1) << "seen with mode " << std::oct << other;
    EXPECT_GT(seen, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), QStringList());
}

// A replacement whose rename fails names the file and the rename's own cause.
TEST(FileOps, AFailedPutInPlaceNamesTheFileAndItsCause)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("projekt"), target = folder + "/TREMOL.mdb";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString partial = NewPartial(target);
    ASSERT_TRUE(QDir(folder).removeRecursively());   // the folder gone meanwhile, the new file with it
    try {
        PutInPlace(partial, target);
        ADD_FAILURE() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), VbErr::PathNotFound);
        EXPECT_TRUE(e.text().endsWith(QStringLiteral("Die Datei oder ihr Ordner ist nicht vorhanden.")))
            << e.text().toStdString();
    }
}
