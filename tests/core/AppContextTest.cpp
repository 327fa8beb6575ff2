// The shared state: file locations in the program folder and the store.
#include "tests/support/TestEnv.h"

#include <QCoreApplication>
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

} // namespace
