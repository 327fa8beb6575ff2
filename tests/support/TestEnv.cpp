#include "tests/support/TestEnv.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

TempProgramFolder::TempProgramFolder() {
    dir_.setAutoRemove(true);
}

QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QString WriteScript(const QString& path, const QString& body) {
    if (!WriteFileBytes(path, ("#!/bin/sh\n" + body + u'\n').toUtf8()))
        return QString();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString TestDataPath(const QString& name) {
    return QStringLiteral(RELVANO_TEST_DATA) + u'/' + name;
}

QString RelvanoRegPath() {
    return QStringLiteral(RELVANO_REG_TOOL);
}

ToolRun RunRelvanoReg(const QString& store, const QStringList& args) {
    QProcess process;
    process.start(RelvanoRegPath(), QStringList{QStringLiteral("--store"), store} + args);
    ToolRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.outBytes = process.readAllStandardOutput();
    run.out = QString::fromUtf8(run.outBytes);
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void EnsureCoreApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "relvano-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Relvano"));
}
