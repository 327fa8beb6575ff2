// The registry operations every window uses to read, write, enumerate, delete
// and export Uninstall entries. They never throw and never show anything: a
// failure gives empty text, appends nothing or changes nothing.
//
// On Linux the SQLite store implements this interface; a Windows build
// implements it over the real registry.
#pragma once

#include "core/RegistryTypes.h"

#include <QList>

#include <memory>

// One line of a .reg file that the import could not take.
struct ImportIssue {
    int line = 0; // 1-based line number in the file
    QString reason;
};

// What a read found: the value, no such key or value, or a store that could
// not be read (busy past its timeout, damaged, an I/O error). Callers that
// act on a value's absence must not take a failed read for a missing value.
enum class ReadStatus { Ok, Missing, Failed };
struct ValueRead {
    ReadStatus status = ReadStatus::Missing;
    QString text; // as GetStringValue gives it; empty unless status is Ok
    bool ok() const { return status == ReadStatus::Ok; }
    bool failed() const { return status == ReadStatus::Failed; }
};

struct ImportReport {
    bool imported = false;     // the file was read and its lines applied
    QString error;             // why nothing was imported, when imported is false
    QList<ImportIssue> issues; // lines skipped, in file order
};

class Registry {
public:
    virtual ~Registry() = default;

    // Deletes the key with everything below it.
    virtual void DeleteKey(RootKey root, const QString& path) = 0;
    virtual void DeleteValue(RootKey root, const QString& path, const QString& name) = 0;
    // Stores text as REG_SZ, creating the key and any missing keys above it.
    virtual void SetStringValue(RootKey root, const QString& path, const QString& name,
                                const QString& text) = 0;
    // REG_DWORD reads as empty text; strings and other bytes are cut at the
    // first NUL; a missing key or value reads as empty text.
    QString GetStringValue(RootKey root, const QString& path, const QString& name) {
        return ReadStringValue(root, path, name).text;
    }
    // The same read, telling a missing key or value from a failed read.
    virtual ValueRead ReadStringValue(RootKey root, const QString& path, const QString& name) = 0;
    // Appends the subkey names, ordered by name without regard to case. A name
    // of 255 characters or more ends the enumeration at its place.
    virtual void EnumSubkeys(RootKey root, const QString& path, QStringList& names) = 0;
    // Appends the names of the values whose data is not empty, in creation order.
    virtual void EnumValueNames(RootKey root, const QString& path, QStringList& names) = 0;
    // Writes the key (given in full, "HKEY_LOCAL_MACHINE\...") with all its
    // values and subkeys as a registry editor file. Returns whether the file
    // was written; a failed export leaves an existing destination untouched.
    virtual bool ExportKey(const QString& fullKeyPath, const QString& destination) = 0;
    // Merges a registry editor file into the store.
    virtual ImportReport ImportFile(const QString& source) = 0;

    // The subkeys of a key, as EnumSubkeys lists them, each with the named
    // values read as GetStringValue reads them: one consistent read for a
    // whole list load.
    struct SubkeyValues {
        QString name;
        QStringList values; // in the order of valueNames
    };
    virtual QList<SubkeyValues> ReadSubkeyValues(RootKey root, const QString& path,
                                                 const QStringList& valueNames) = 0;

    // Holds one read snapshot across many reads (a list load); the reads in
    // between see one consistent state and skip their own transactions.
    class ReadBatch {
    public:
        virtual ~ReadBatch() = default;
    };
    virtual std::unique_ptr<ReadBatch> BeginReadBatch() = 0;
};
