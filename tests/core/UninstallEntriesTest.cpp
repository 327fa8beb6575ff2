// The entries of the Uninstall key: paths, values, backups and removal.
#include "core/AppContext.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct Fixture {
    TempProgramFolder folder;
    AppContext context{folder.path()};
    UninstallEntries& entries = context.entries();
};

TEST(UninstallEntries, ValuesLiveUnderTheUninstallKey) {
    Fixture f;
    EXPECT_EQ(UninstallEntries::path("Tool"),
              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool");
    EXPECT_EQ(UninstallEntries::fullPath("Tool"),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool");
    f.entries.setValue("Tool", "DisplayName", "My Tool");
    f.entries.setValue("Tool", "Empty", "");
    f.entries.setValue("Other", "DisplayName", "Other");
    EXPECT_EQ(f.context.store().GetStringValue(RootKey::LocalMachine,
                                               UninstallEntries::path("Tool"), "DisplayName"),
              "My Tool");
    EXPECT_EQ(f.entries.keys(), (QStringList{"Other", "Tool"}));
    // An empty string still holds its terminating NUL, so it is listed.
    EXPECT_EQ(f.entries.valueNames("Tool"), (QStringList{"DisplayName", "Empty"}));
    EXPECT_TRUE(f.entries.exists("TOOL"));
    EXPECT_FALSE(f.entries.exists("Tools"));
    EXPECT_EQ(f.entries.read("Tool", "Missing").status, ReadStatus::Missing);
    EXPECT_EQ(f.entries.read("Tool", "DisplayName").status, ReadStatus::Ok);
    f.entries.deleteValue("Tool", "DisplayName");
    EXPECT_EQ(f.entries.value("Tool", "DisplayName"), "");
    f.entries.remove("Other");
    EXPECT_FALSE(f.entries.exists("Other"));
}

TEST(UninstallEntries, BackupsAreNamedAfterTheDisplayName) {
    Fixture f;
    f.entries.setValue("tool", "DisplayName", "Foo: Bar/Baz?");
    f.entries.setValue("tool", "Extra", "kept");
    EXPECT_EQ(f.entries.backupFileFor("Foo: Bar/Baz?"), f.folder.file("Fbk/Foo- Bar-Baz-.Reg"));
    // The backup folder is made when it is missing.
    ASSERT_TRUE(f.entries.backup("tool", "Foo: Bar/Baz?"));
    const QString backup = f.folder.file("Fbk/Foo- Bar-Baz-.Reg");
    EXPECT_TRUE(ReadFileBytes(backup).startsWith("\xFF\xFE"));

    EXPECT_EQ(f.entries.backupAndRemove("tool", "Foo: Bar/Baz?"),
              UninstallEntries::RemoveOutcome::Removed);
    EXPECT_FALSE(f.entries.exists("tool"));
    f.context.store().ImportFile(backup);
    EXPECT_EQ(f.entries.value("tool", "Extra"), "kept");
}

TEST(UninstallEntries, AnEntryAlreadyGoneNeedsNoBackup) {
    Fixture f;
    EXPECT_EQ(f.entries.backupAndRemove("gone", "Gone"),
              UninstallEntries::RemoveOutcome::AlreadyGone);
    EXPECT_FALSE(QFile::exists(f.folder.file("Fbk/Gone.Reg")));
}

TEST(UninstallEntries, AnEntryIsNeverRemovedWithoutItsBackup) {
    Fixture f;
    f.entries.setValue("tool", "DisplayName", "Tool");
    // A file where the backup folder should be.
    ASSERT_TRUE(WriteFileBytes(f.folder.file("Fbk"), "not a folder"));
    EXPECT_EQ(f.entries.backupAndRemove("tool", "Tool"),
              UninstallEntries::RemoveOutcome::NotBackedUp);
    EXPECT_EQ(f.entries.value("tool", "DisplayName"), "Tool");
    EXPECT_TRUE(f.entries.notBackedUpMessage("Tool").contains("Tool.Reg"));
}

} // namespace
