// The entries of the Uninstall key: paths, values, backups and removal.
#include "core/AppContext.h"
#include "core/RegFileKey.h"
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
    EXPECT_EQ(f.entries.backupFileFor("tool", "Foo: Bar/Baz?"),
              f.folder.file("Fbk/Foo- Bar-Baz-.Reg"));
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
    EXPECT_TRUE(f.entries.notBackedUpMessage("tool", "Tool").contains("Tool.Reg"));
}

TEST(UninstallEntries, ABackupNeverReplacesAnotherEntrysBackup) {
    Fixture f;
    for (const char* key : {"runtime-x86", "runtime-x64", "runtime-arm"}) {
        f.entries.setValue(key, "DisplayName", "Runtime Redistributable");
        f.entries.setValue(key, "Arch", QString(key).mid(8));
    }
    const QString name = "Runtime Redistributable";
    const QString first = f.folder.file("Fbk/Runtime Redistributable.Reg");
    const QString second = f.folder.file("Fbk/Runtime Redistributable (2).Reg");
    const QString third = f.folder.file("Fbk/Runtime Redistributable (3).Reg");
    // The first entry keeps the plain name, the next ones are numbered.
    ASSERT_TRUE(f.entries.backup("runtime-x86", name));
    ASSERT_TRUE(f.entries.backup("runtime-x64", name));
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_EQ(f.entries.backupFileFor("runtime-arm", name), third);
    // A backup of the same entry replaces its own file, wherever it is; the
    // key is compared without regard to case.
    f.entries.setValue("runtime-x64", "Arch", "x64 v2");
    ASSERT_TRUE(f.entries.backup("RUNTIME-X64", name));
    EXPECT_FALSE(QFile::exists(third));
    EXPECT_TRUE(RegFileHoldsKey(second, UninstallEntries::fullPath("runtime-x64")));
    EXPECT_EQ(f.entries.backupFileFor("runtime-x86", name), first);

    // Deleting both, one after the other, keeps both; each backup brings its
    // own entry back.
    EXPECT_EQ(f.entries.backupAndRemove("runtime-x86", name),
              UninstallEntries::RemoveOutcome::Removed);
    EXPECT_EQ(f.entries.backupAndRemove("runtime-x64", name),
              UninstallEntries::RemoveOutcome::Removed);
    EXPECT_TRUE(f.context.store().ImportFile(first).imported);
    EXPECT_TRUE(f.context.store().ImportFile(second).imported);
    EXPECT_EQ(f.entries.value("runtime-x86", "Arch"), "x86");
    EXPECT_EQ(f.entries.value("runtime-x64", "Arch"), "x64 v2");
}

TEST(UninstallEntries, AFileOfUnknownContentIsNeverReplaced) {
    Fixture f;
    f.entries.setValue("tool", "DisplayName", "Tool");
    ASSERT_TRUE(QDir().mkpath(f.folder.file("Fbk")));
    // A file the user put there, and one with no key line.
    ASSERT_TRUE(WriteFileBytes(f.folder.file("Fbk/Tool.Reg"), "notes, not a registry file"));
    ASSERT_TRUE(WriteFileBytes(f.folder.file("Fbk/Tool (2).Reg"), "REGEDIT4\r\n\r\n"));
    ASSERT_TRUE(f.entries.backup("tool", "Tool"));
    EXPECT_EQ(ReadFileBytes(f.folder.file("Fbk/Tool.Reg")), "notes, not a registry file");
    EXPECT_EQ(ReadFileBytes(f.folder.file("Fbk/Tool (2).Reg")), "REGEDIT4\r\n\r\n");
    EXPECT_TRUE(
        RegFileHoldsKey(f.folder.file("Fbk/Tool (3).Reg"), UninstallEntries::fullPath("tool")));
}

TEST(UninstallEntries, ABatchWritesWhatSingleBackupsWrite) {
    Fixture f;
    const auto name = [](int i) {
        return i % 2 ? QString("Shared") : QString("Own %1").arg(i);
    };
    for (int i = 0; i < 40; ++i) {
        const QString key = QString("entry%1").arg(i);
        f.entries.setValue(key, "DisplayName", name(i));
        f.entries.setValue(key, "Index", QString::number(i));
        f.entries.setValue(key + "\\Sub", "Inner", "below");
    }
    f.entries.setValue("long", "DisplayName", QString(300, 'x'));
    BackupBatch batch(f.entries);
    ASSERT_TRUE(batch.prepare());
    for (int i = 0; i < 40; ++i)
        EXPECT_TRUE(batch.add(QString("entry%1").arg(i), name(i)));
    EXPECT_TRUE(batch.add("long", QString(300, 'x')));
    EXPECT_FALSE(batch.add("no such entry", "Gone"));
    // Files are told apart by the entries queued before them, not only by
    // the files already on disk.
    EXPECT_EQ(batch.finish(), (QStringList{QString(300, 'x'), "Gone"}));
    const QDir fbk(f.folder.file("Fbk"));
    EXPECT_EQ(fbk.entryList({"Shared*"}, QDir::Files).size(), 20);
    EXPECT_TRUE(RegFileHoldsKey(fbk.filePath("Shared.Reg"), UninstallEntries::fullPath("entry1")));
    EXPECT_TRUE(
        RegFileHoldsKey(fbk.filePath("Shared (20).Reg"), UninstallEntries::fullPath("entry39")));
    // Byte for byte what a single backup writes; a single backup of an entry
    // replaces the file the batch wrote for it.
    const QByteArray batched = ReadFileBytes(fbk.filePath("Shared (3).Reg"));
    ASSERT_TRUE(f.entries.backup("entry5", "Shared"));
    EXPECT_EQ(ReadFileBytes(fbk.filePath("Shared (3).Reg")), batched);
    EXPECT_EQ(fbk.entryList({"Shared*"}, QDir::Files).size(), 20);
}

} // namespace
