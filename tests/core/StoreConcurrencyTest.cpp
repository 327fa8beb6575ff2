// Several processes on one store: the program polling while an uninstaller
// deletes its entry, writers at the same time, and a writer killed midway.
// Every other process here is real: relvano-reg started from a shell.
#include "core/Process.h"
#include "core/RegFile.h"
#include "tests/support/TestEnv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sqlite3.h>

namespace {

constexpr RootKey HKLM = RootKey::LocalMachine;
const QString kEntry = AppContext::UninstallKeyPath + "Test App";
const QString kEntryFull = AppContext::UninstallKeyFullPath + "Test App";

QString WriteScript(const TempProgramFolder& folder, const QString& name, const QString& body) {
    return WriteScript(folder.file(name), body);
}

QString Quoted(const QString& text) {
    return "\"" + text + "\"";
}

QString IntegrityCheck(const QString& file) {
    sqlite3* db = nullptr;
    QString result;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return result;
}

TEST(StoreConcurrency, ThePollSeesAnUninstallerDeleteItsEntry) {
    TempProgramFolder folder;
    SqliteStore store(folder.storePath());
    store.SetStringValue(HKLM, kEntry, "DisplayName", "Test App");
    store.SetStringValue(HKLM, kEntry, "UninstallString", "uninstall");

    const QString uninstaller = WriteScript(
        folder, "uninstall.sh",
        QString("sleep 0.4\nexec %1 --store %2 delete %3")
            .arg(Quoted(RelvanoRegPath()), Quoted(folder.storePath()), Quoted(kEntryFull)));
    const LaunchResult run = StartCommandLine(Quoted(uninstaller));
    ASSERT_TRUE(run.ok()) << run.message.toStdString();

    // Poll every 50 ms, as the uninstall dialog does.
    QElapsedTimer timer;
    timer.start();
    int polls = 0;
    QString value = "uninstall";
    while (!value.isEmpty() && timer.elapsed() < 15000) {
        value = store.GetStringValue(HKLM, kEntry, "UninstallString");
        ASSERT_TRUE(value.isEmpty() || value == "uninstall");
        ++polls;
        QThread::msleep(50);
    }
    EXPECT_TRUE(value.isEmpty()) << "the deletion was never seen";
    EXPECT_GT(polls, 3);
    while (IsProcessRunning(run.pid) && timer.elapsed() < 15000)
        QThread::msleep(10);
    EXPECT_FALSE(IsProcessRunning(run.pid));
    QStringList names;
    store.EnumSubkeys(HKLM, AppContext::UninstallKeyPath, names);
    EXPECT_TRUE(names.isEmpty());
}

TEST(StoreConcurrency, WritersAtTheSameTimeLoseNothing) {
    TempProgramFolder folder;
    SqliteStore store(folder.storePath());
    store.SetStringValue(HKLM, kEntry, "DisplayName", "Test App");
    constexpr int kPerWriter = 40;
    QList<qint64> pids;
    for (const QString writer : {"A", "B"}) {
        const QString script =
            WriteScript(folder, "writer" + writer + ".sh",
                        QString("i=0\nwhile [ $i -lt %1 ]; do\n"
                                "  %2 --store %3 add %4 --value %5$i --data v$i || exit 1\n"
                                "  i=$((i+1))\ndone")
                            .arg(kPerWriter)
                            .arg(Quoted(RelvanoRegPath()), Quoted(folder.storePath()),
                                 Quoted(kEntryFull), writer));
        const LaunchResult run = StartCommandLine(Quoted(script));
        ASSERT_TRUE(run.ok());
        pids.append(run.pid);
    }
    // The program writes too, meanwhile.
    for (int i = 0; i < kPerWriter; ++i)
        store.SetStringValue(HKLM, kEntry, QString("P%1").arg(i), QString("v%1").arg(i));

    QElapsedTimer timer;
    timer.start();
    for (const qint64 pid : pids) {
        while (IsProcessRunning(pid) && timer.elapsed() < 120000)
            QThread::msleep(20);
    }
    QStringList names;
    store.EnumValueNames(HKLM, kEntry, names);
    EXPECT_EQ(names.size(), 1 + 3 * kPerWriter);
    for (const QString writer : {"A", "B", "P"}) {
        for (int i = 0; i < kPerWriter; ++i)
            EXPECT_EQ(store.GetStringValue(HKLM, kEntry, writer + QString::number(i)),
                      QString("v%1").arg(i));
    }
    EXPECT_EQ(IntegrityCheck(folder.storePath()), "ok");
}

TEST(StoreConcurrency, AWriterKilledMidwayLeavesTheStoreAsBefore) {
    TempProgramFolder folder;
    // A large import: one transaction of many keys.
    QList<RegExportKey> keys;
    constexpr int kKeys = 4000;
    for (int i = 0; i < kKeys; ++i) {
        RegExportKey key{QString("HKEY_LOCAL_MACHINE\\Software\\Bulk\\Entry %1").arg(i), {}};
        for (int v = 0; v < 8; ++v)
            key.values.append(
                MakeStringValue(QString("Value%1").arg(v), QString("data %1 %2").arg(i).arg(v)));
        keys.append(key);
    }
    const QString regFile = folder.file("bulk.reg");
    ASSERT_TRUE(WriteFileBytes(regFile, FormatRegFile(keys)));
    {
        SqliteStore store(folder.storePath());
        store.SetStringValue(HKLM, kEntry, "DisplayName", "Test App");
    }

    auto bulkCount = [&] {
        SqliteStore store(folder.storePath());
        QStringList names;
        store.EnumSubkeys(HKLM, "Software\\Bulk", names);
        EXPECT_EQ(store.GetStringValue(HKLM, kEntry, "DisplayName"), "Test App");
        return names.size();
    };

    // How long a whole import takes here, to kill the next ones inside it.
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(RunRelvanoReg(folder.storePath(), {"import", regFile}).exitCode, 0);
    const qint64 full = std::max<qint64>(timer.elapsed(), 20);
    ASSERT_EQ(bulkCount(), kKeys);
    {
        SqliteStore store(folder.storePath());
        store.DeleteKey(HKLM, "Software\\Bulk");
    }

    int killed = 0;
    for (const double fraction : {0.2, 0.4, 0.6, 0.75, 0.9}) {
        QProcess tool;
        tool.start(RelvanoRegPath(), {"--store", folder.storePath(), "import", regFile});
        ASSERT_TRUE(tool.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(full * fraction));
        if (tool.state() == QProcess::Running) {
            kill(static_cast<pid_t>(tool.processId()), SIGKILL);
            ++killed;
        }
        tool.waitForFinished();
        const int count = bulkCount();
        EXPECT_TRUE(count == 0 || count == kKeys) << "partial import of " << count << " keys";
        if (count == kKeys) {
            SqliteStore store(folder.storePath());
            store.DeleteKey(HKLM, "Software\\Bulk");
        }
        EXPECT_EQ(IntegrityCheck(folder.storePath()), "ok");
    }
    EXPECT_GT(killed, 0);
}

} // namespace
