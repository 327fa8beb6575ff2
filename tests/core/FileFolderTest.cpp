// Folder sizes, subfolder lists, disks and system facts.
#include "core/FileFolder.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

void MakeFile(const QString& path, qsizetype size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(WriteFileBytes(path, QByteArray(size, 'x')));
}

TEST(FileFolder, FolderSizeCountsEveryFileBelow) {
    TempProgramFolder folder;
    MakeFile(folder.file("a.bin"), 1000);
    MakeFile(folder.file("sub/b.bin"), 24);
    MakeFile(folder.file("sub/deeper/.hidden"), 512);
    MakeFile(folder.file("-odd/c.bin"), 512);
    QDir().mkpath(folder.file("empty"));
    // A link is not followed: a link to the folder itself cannot loop.
    ASSERT_EQ(symlink(qPrintable(folder.path()), qPrintable(folder.file("sub/loop"))), 0);
    EXPECT_EQ(FolderSize(folder.path()), 2048u);
    EXPECT_EQ(FolderSizeText(folder.path()), "2 KB");
    EXPECT_EQ(FolderSizeText(folder.file("empty")), "0 Byte");
    EXPECT_EQ(FolderSizeText(folder.file("missing")), "");
    EXPECT_EQ(FolderSizeText(folder.file("a.bin")), "");
    EXPECT_EQ(FolderSizeText(""), "");
}

TEST(FileFolder, AnUnreadableSubfolderGivesNoSize) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    TempProgramFolder folder;
    MakeFile(folder.file("locked/x.bin"), 10);
    QFile::setPermissions(folder.file("locked"), QFile::Permissions());
    EXPECT_EQ(FolderSizeText(folder.path()), "");
    QFile::setPermissions(folder.file("locked"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(FileFolder, ListSubfoldersGivesEveryFolderButDotAndDotDot) {
    TempProgramFolder folder;
    for (const char* name : {"Beta", "alpha", ".hidden", "-dash", "#hash", "(paren)", " space"})
        QDir().mkpath(folder.file(name));
    MakeFile(folder.file("file.txt"), 1);
    QStringList names{"existing"};
    ListSubfolders(folder.path() + "/", names);
    names.sort();
    EXPECT_EQ(names, (QStringList{" space", "#hash", "(paren)", "-dash", ".hidden", "Beta", "alpha",
                                  "existing"}));
    QStringList none;
    ListSubfolders(folder.file("missing/"), none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(FileFolder, DiskSpace) {
    for (int kind : {0, 1, 2})
        EXPECT_TRUE(DiskSpaceText("/", kind).contains(QRegularExpression(" (Byte|KB|MB|GB)$")) ||
                    DiskSpaceText("/", kind).isEmpty() /* a disk of a terabyte or more */);
    EXPECT_EQ(DiskSpaceText("/", 3), "");
    EXPECT_EQ(DiskSpaceText("/no/such/drive", 0), "");
    EXPECT_EQ(DiskSpaceText("", 0), "");
}

TEST(FileFolder, SystemFacts) {
    EXPECT_FALSE(ComputerName().isEmpty());
    EXPECT_FALSE(UserName().isEmpty());
    EXPECT_TRUE(WindowsVersionText().contains(QRegularExpression("^\\d+\\.\\d\\d$")))
        << WindowsVersionText().toStdString();
    EXPECT_EQ(ProgramFilesFolder(), "/opt");
    EXPECT_EQ(SpecialFolderPath(Csidl::ProgramFiles), "/opt");
    EXPECT_EQ(SpecialFolderPath(0x7777), "");
}

TEST(FileFolder, FavoritesFolderIsMadeOnFirstUse) {
    // The tests run with their own XDG_DATA_HOME, never the user's.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    ASSERT_FALSE(data.isEmpty());
    QDir(data + "/Favorites").removeRecursively();
    const QString favorites = SpecialFolderPath(Csidl::Favorites);
    EXPECT_EQ(favorites, data + "/Favorites");
    EXPECT_TRUE(QFileInfo(favorites).isDir());
}

TEST(FileFolder, NetworkAndFixedVolumesAreShownPseudoOnesAreNot) {
    const struct {
        const char* device;
        const char* fileSystem;
        bool shown;
    } cases[] = {
        {"server:/export", "nfs4", true},
        {"//server/share", "cifs", true},
        {"user@host:/home", "fuse.sshfs", true},
        {"tmpfs", "tmpfs", false},
        {"proc", "proc", false},
        {"overlay", "overlay", false},
        {"/dev/loop3", "squashfs", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsShownVolume(c.device, c.fileSystem), c.shown) << c.device;
}

} // namespace
