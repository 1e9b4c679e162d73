// The drive and folder lists, and the file-system names they rest on.
#include "platform/FileOps.h"
#include "platform/FolderControls.h"
#include "support/TestHelpers.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FolderNames, BaseNameDropsThePartFromTheLastPoint)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/data/Projekte/TE0000.00", "TE0000"},
        {"/data/Projekte/TE0000.00/", "TE0000"},
        {"/data/Projekte/Bau", "Bau"},
        {"/data/a.b.c", "a.b"},
        {"/", ""},
    };
    for (const auto& [path, base] : cases)
        EXPECT_EQ(BaseName(QString::fromUtf8(path)), QString::fromUtf8(base)) << path;
}

TEST(FolderControls, FolderListShowsTheFolderItsParentsAndItsFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* sub : {"b", "A", ".versteckt", "c/d"})
        ASSERT_TRUE(QDir(dir.path()).mkpath(QLatin1String(sub)));
    QFile(dir.path() + QStringLiteral("/datei.txt")).open(QIODevice::WriteOnly);
    DirListBox list;
    int changes = 0;
    QObject::connect(&list, &DirListBox::Change, [&] { ++changes; });

    list.setPath(dir.path());
    EXPECT_EQ(list.Path(), dir.path());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.topLevelItem(0)->text(0), QStringLiteral("/"));
    QTreeWidgetItem* shown = list.currentItem();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(0), QFileInfo(dir.path()).fileName());
    QStringList inside;
    for (int i = 0; i < shown->childCount(); ++i)
        inside << shown->child(i)->text(0);
    EXPECT_EQ(inside, QStringList({QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c")}));

    // Opening a folder in the list moves there; the same folder again changes nothing.
    emit list.itemActivated(shown->child(2), 0);
    EXPECT_EQ(list.Path(), dir.path() + QStringLiteral("/c"));
    EXPECT_EQ(list.currentItem()->child(0)->text(0), QStringLiteral("d"));
    list.setPath(dir.path() + QStringLiteral("/c/"));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(VbErrorOf([&] { list.setPath(dir.path() + QStringLiteral("/fehlt")); }), VbErr::PathNotFound);
    EXPECT_EQ(list.Path(), dir.path() + QStringLiteral("/c"));
}

TEST(FolderControls, DriveListChoosesTheVolumeOfAPath)
{
    QTemporaryDir dir;
    DriveListBox drives;
    int changes = 0;
    QObject::connect(&drives, &DriveListBox::Change, [&] { ++changes; });
    EXPECT_TRUE(drives.Drive().isEmpty());
    drives.setDrive(dir.path());
    EXPECT_EQ(drives.Drive(), DriveName(dir.path()));
    EXPECT_FALSE(drives.Drive().isEmpty());
    drives.setDrive(dir.path());
    EXPECT_EQ(changes, 1);
    // Where no volume holds a path (a missing one; any path in a chroot whose root is no
    // mount point), the root folder is its drive.
    drives.setDrive(dir.path() + QStringLiteral("/fehlt/auch"));
    EXPECT_EQ(drives.Drive(), QStringLiteral("/"));
}
