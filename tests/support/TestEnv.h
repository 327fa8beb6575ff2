// What every test needs: a temporary program folder with its own store, and
// helpers to run the command-line tool and read files.
#pragma once

#include "core/AppContext.h"
#include "core/SqliteStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <ostream>

// Lets test frameworks print QStrings and QByteArrays in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << '"';
}

// A fresh program folder that disappears with the object.
class TempProgramFolder {
public:
    TempProgramFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    QString storePath() const { return file(StoreFileName); }

private:
    QTemporaryDir dir_;
};

QByteArray ReadFileBytes(const QString& path);
// Writes a shell script ("#!/bin/sh" and the body) that its owner may run;
// returns its path, or an empty text when it could not be written.
QString WriteScript(const QString& path, const QString& body);
bool WriteFileBytes(const QString& path, const QByteArray& bytes);
QString TestDataPath(const QString& name);

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray outBytes; // standard output as written (the real binary only)
};
// Runs the real relvano-reg binary with --store and the arguments, and waits.
ToolRun RunRelvanoReg(const QString& store, const QStringList& args);
QString RelvanoRegPath();

// Makes sure a Qt application object exists for tests that need one.
void EnsureCoreApplication();
