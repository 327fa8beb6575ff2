// Starting command lines and watching the processes started.
#pragma once

#include <QString>
#include <QStringList>

enum class LaunchError {
    None,
    FileNotFound, // the program does not exist
    PathNotFound, // the folder named for the program does not exist
    Other,        // it exists but cannot be started (not executable, ...)
};

struct LaunchResult {
    qint64 pid = 0;
    LaunchError error = LaunchError::None;
    QString message;
    bool ok() const { return error == LaunchError::None; }
};

// Splits a command line as a shell would for a simple command: blanks
// separate arguments, double quotes group them and are removed.
QStringList SplitCommandLine(const QString& commandLine);

// Starts the whole command line as a new process in its own session and
// returns at once. The process stays a child of this one until
// IsProcessRunning has seen it end.
LaunchResult StartCommandLine(const QString& commandLine, const QString& workingFolder = QString());

// Starts a program with its arguments as they are given, nothing split or
// parsed, in workingFolder when one is given (else the current folder).
LaunchResult StartProgram(const QString& program, const QStringList& arguments,
                          const QString& workingFolder = QString());

// True only while the process exists and has not ended; false for 0, for a
// process that cannot be looked at, and for one that has ended (a child is
// reaped here, so an ended child never counts as running).
bool IsProcessRunning(qint64 pid);

// Starts the command line and ignores every error.
void RunCommand(const QString& commandLine);
