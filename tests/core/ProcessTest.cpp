// Starting command lines and telling whether the processes still run.
#include "core/Process.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Polls until the process is seen to end (or ten seconds pass).
bool WaitUntilEnded(qint64 pid) {
    QElapsedTimer timer;
    timer.start();
    while (IsProcessRunning(pid)) {
        if (timer.elapsed() > 10000)
            return false;
        QThread::msleep(10);
    }
    return true;
}

TEST(Process, ZeroAndStrangersAreNotRunning) {
    EXPECT_FALSE(IsProcessRunning(0));
    EXPECT_FALSE(IsProcessRunning(-5));
    EXPECT_FALSE(IsProcessRunning(0x3ffffff0)); // beyond any pid in use
    EXPECT_TRUE(IsProcessRunning(getpid()));
}

TEST(Process, AFinishedChildIsNeverReportedAsRunning) {
    const LaunchResult quick = StartCommandLine("sh -c 'exit 3'");
    ASSERT_TRUE(quick.ok()) << quick.message.toStdString();
    // Without anyone reaping it the child would linger as a zombie; it must
    // still count as ended.
    QThread::msleep(200);
    EXPECT_FALSE(IsProcessRunning(quick.pid));
    EXPECT_FALSE(IsProcessRunning(quick.pid));

    const LaunchResult slow = StartCommandLine("sleep 30");
    ASSERT_TRUE(slow.ok());
    EXPECT_TRUE(IsProcessRunning(slow.pid));
    kill(static_cast<pid_t>(slow.pid), SIGKILL);
    EXPECT_TRUE(WaitUntilEnded(slow.pid));
}

TEST(Process, AGrandchildThatEndedIsNotRunningEither) {
    TempProgramFolder folder;
    const QString pidFile = folder.file("spawn.sh.pid");
    // The script starts a background job and exits; the job ends soon after.
    const QString script = folder.file("spawn.sh");
    ASSERT_FALSE(WriteScript(script, "sleep 0.3 &\necho $! > \"$0.pid\"").isEmpty());
    const LaunchResult r = StartCommandLine(script);
    ASSERT_TRUE(r.ok());
    QElapsedTimer timer;
    timer.start();
    while (ReadFileBytes(pidFile).trimmed().isEmpty() && timer.elapsed() < 5000)
        QThread::msleep(10);
    const qint64 grandchild = ReadFileBytes(pidFile).trimmed().toLongLong();
    ASSERT_GT(grandchild, 0);
    EXPECT_TRUE(WaitUntilEnded(grandchild));
}

TEST(Process, LaunchErrorsAreTold) {
    TempProgramFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.file("not-executable"), "echo hi\n"));
    const struct {
        QString commandLine;
        LaunchError error;
    } cases[] = {
        {"/no/such/folder/uninstall --quiet", LaunchError::PathNotFound},
        {folder.file("missing-uninstaller") + " -x", LaunchError::FileNotFound},
        {"no-such-program-anywhere-1234", LaunchError::FileNotFound},
        {"", LaunchError::FileNotFound},
        {folder.file("not-executable"), LaunchError::Other},
        {folder.path(), LaunchError::Other},
    };
    for (const auto& c : cases) {
        const LaunchResult r = StartCommandLine(c.commandLine);
        EXPECT_EQ(r.error, c.error) << c.commandLine.toStdString();
        EXPECT_EQ(r.pid, 0);
        EXPECT_FALSE(r.message.isEmpty());
    }
}

TEST(Process, QuotedProgramPathsAndArgumentsArePassedWhole) {
    TempProgramFolder folder;
    const QString script = folder.file("My Uninstaller/run me.sh");
    QDir().mkpath(folder.file("My Uninstaller"));
    ASSERT_FALSE(WriteScript(script, "printf '%s|' \"$@\" > \"$(dirname \"$0\")/args\"").isEmpty());
    const LaunchResult r = StartCommandLine("\"" + script + "\" /S \"two words\"");
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_TRUE(WaitUntilEnded(r.pid));
    EXPECT_EQ(ReadFileBytes(folder.file("My Uninstaller/args")), "/S|two words|");
}

} // namespace
