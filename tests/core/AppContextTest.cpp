// The shared state: file locations in the program folder and the store.
#include "tests/support/TestEnv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(AppContext, FilesLiveInTheProgramFolder) {
    TempProgramFolder folder;
    AppContext context(folder.path());
    EXPECT_EQ(context.ConfigIniPath, folder.path() + "/Config.Ini");
    EXPECT_EQ(context.InlogIniPath, folder.path() + "/Inlog.Ini");
    EXPECT_EQ(context.UnlogIniPath, folder.path() + "/Unlog.Ini");
    EXPECT_EQ(context.BackupFolder, folder.path() + "/Fbk");
    EXPECT_EQ(AppContext::UninstallKeyPath,
              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
    EXPECT_EQ(AppContext::UninstallKeyFullPath,
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
    context.store().SetStringValue(RootKey::LocalMachine, AppContext::UninstallKeyPath + "X",
                                   "DisplayName", "x");
    EXPECT_TRUE(QFile::exists(folder.storePath()));
}

TEST(AppContext, JoinPathAddsASeparatorOnlyWhenMissing) {
    EXPECT_EQ(JoinPath("/opt/relvano", "Config.Ini"), "/opt/relvano/Config.Ini");
    EXPECT_EQ(JoinPath("/", "Config.Ini"), "/Config.Ini");
    EXPECT_EQ(JoinPath("C:\\", "Config.Ini"), "C:\\Config.Ini");
}

TEST(AppContext, TheDefaultProgramFolderIsTheExecutablesWhenWritable) {
    // The test executable's folder is a writable build folder.
    EXPECT_EQ(DefaultProgramFolder(), QCoreApplication::applicationDirPath());
}

TEST(AppContext, AnInstalledOrReadOnlyExecutableKeepsItsFilesInTheDataFolder) {
    TempProgramFolder root;
    const QString bin = root.file("usr/bin");
    const QString data = root.file("home/.local/share/Relvano");
    ASSERT_TRUE(QDir().mkpath(bin));
    // A writable folder other than the installed one: a build tree, a portable copy.
    EXPECT_EQ(ChooseProgramFolder(root.path(), bin, data), root.path());
    EXPECT_EQ(ChooseProgramFolder(root.path(), QString(), data), root.path());
    // The installed folder, writable or not (root may write to /usr/bin), also
    // when reached through a link (/bin -> /usr/bin).
    EXPECT_EQ(ChooseProgramFolder(bin, bin, data), data);
    ASSERT_TRUE(QFile::link(bin, root.file("bin")));
    EXPECT_EQ(ChooseProgramFolder(root.file("bin"), bin, data), data);
    // A folder that cannot be written to, and no folder at all.
    EXPECT_EQ(ChooseProgramFolder(root.file("missing"), bin, data), data);
    EXPECT_EQ(ChooseProgramFolder(QString(), bin, data), data);
}

} // namespace
