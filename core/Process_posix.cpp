#include "core/Process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Children started here that have not been seen to end yet. Everything runs on
// the GUI thread, so no lock is needed.
QSet<qint64>& Children() {
    static QSet<qint64> children;
    return children;
}

// Reaps the children that have ended, so that none lingers as a zombie.
void ReapEndedChildren() {
    auto& children = Children();
    for (auto it = children.begin(); it != children.end();) {
        int status = 0;
        const pid_t r = waitpid(static_cast<pid_t>(*it), &status, WNOHANG);
        if (r == 0)
            ++it;
        else
            it = children.erase(it);
    }
}

// The state letter of /proc/<pid>/stat; zombies ('Z') and dead ('X') tasks
// have ended.
bool HasEndedInProc(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false; // no /proc: trust kill()
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0 || close + 2 >= text.size())
        return false;
    const char state = text[close + 2];
    return state == 'Z' || state == 'X';
}

LaunchResult Failure(LaunchError error, const QString& message) {
    return LaunchResult{0, error, message};
}

} // namespace

QStringList SplitCommandLine(const QString& commandLine) {
    return QProcess::splitCommand(commandLine);
}

LaunchResult StartCommandLine(const QString& commandLine, const QString& workingFolder) {
    const QStringList args = SplitCommandLine(commandLine);
    if (args.isEmpty()) {
        ReapEndedChildren();
        return Failure(LaunchError::FileNotFound, QStringLiteral("The command line is empty."));
    }
    return StartProgram(args.first(), args.mid(1), workingFolder);
}

LaunchResult StartProgram(const QString& programPath, const QStringList& arguments,
                          const QString& workingFolder) {
    ReapEndedChildren();
    if (programPath.isEmpty())
        return Failure(LaunchError::FileNotFound, QStringLiteral("The command line is empty."));
    QString program = programPath;
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        if (!info.exists()) {
            if (!info.absoluteDir().exists())
                return Failure(
                    LaunchError::PathNotFound,
                    QStringLiteral("The folder %1 does not exist.").arg(info.absolutePath()));
            return Failure(LaunchError::FileNotFound,
                           QStringLiteral("The file %1 does not exist.").arg(program));
        }
        if (info.isDir() || !info.isExecutable())
            return Failure(LaunchError::Other,
                           QStringLiteral("%1 is not a program that can be started.").arg(program));
    } else {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty())
            return Failure(LaunchError::FileNotFound,
                           QStringLiteral("The program %1 was not found.").arg(program));
        program = found;
    }
    const QStringList args = QStringList{programPath} + arguments;

    QList<QByteArray> argBytes;
    for (const QString& arg : args)
        argBytes.append(QFile::encodeName(arg));
    QList<char*> argv;
    for (QByteArray& arg : argBytes)
        argv.append(arg.data());
    argv.append(nullptr);
    const QByteArray path = QFile::encodeName(program);
    const QByteArray cwd = QFile::encodeName(workingFolder);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!workingFolder.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, cwd.constData());

    pid_t pid = 0;
    const int rc = posix_spawn(&pid, path.constData(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(rc));
        if (rc == ENOENT)
            return Failure(LaunchError::FileNotFound, reason);
        return Failure(LaunchError::Other, reason);
    }
    Children().insert(pid);
    return LaunchResult{pid, LaunchError::None, QString()};
}

bool IsProcessRunning(qint64 pid) {
    if (pid <= 0)
        return false;
    auto& children = Children();
    if (children.contains(pid)) {
        int status = 0;
        const pid_t r = waitpid(static_cast<pid_t>(pid), &status, WNOHANG);
        if (r == 0)
            return true;
        children.remove(pid); // ended and reaped, or reaped elsewhere
        return false;
    }
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    return !HasEndedInProc(pid);
}

void RunCommand(const QString& commandLine) {
    StartCommandLine(commandLine);
}
