// The registry: keys below roots, each with typed values, and the operations
// every part of the program uses on it.
//
// Two sets of operations over one implementation:
//   * the named string operations the windows use (GetStringValue,
//     SetStringValue, DeleteKey, DeleteValue, EnumSubkeys, EnumValueNames,
//     ExportKey, ImportFile), taking a root and a path relative to it;
//   * the typed operations (readKey, setValue with a RegValue, keyExists, ...)
//     that the named ones are built on and that the command-line tool uses.
// Every operation reports what became of it; none throws or shows anything.
// A caller that only needs "done or not" tests the result in an if.
//
// On Linux the SQLite store implements this interface; a Windows build
// implements the same virtual operations over the real registry.
#pragma once

#include "core/RegistryTypes.h"

#include <QList>

#include <memory>

class QIODevice;
class RegFileWriter;

// What an operation came to.
enum class StoreStatus {
    Ok,
    NotFound, // the key or value does not exist
    Invalid,  // a malformed path, name or argument
    Busy,     // another process held the store past the timeout
    Damaged,  // the file is not a store, or is corrupt
    Failed,   // any other failure (a read-only store, a full disk, a file that cannot be written)
};

struct StoreResult {
    StoreStatus status = StoreStatus::Ok;
    QString message; // why it failed, for the user; empty when ok
    bool ok() const { return status == StoreStatus::Ok; }
    explicit operator bool() const { return ok(); }
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

// One line of a .reg file that the import could not take.
struct ImportIssue {
    int line = 0; // 1-based line number in the file
    QString reason;
};

struct ImportReport {
    bool imported = false;     // the file was read and its lines applied
    QString error;             // why nothing was imported, when imported is false
    QList<ImportIssue> issues; // lines skipped, in file order
};

class Registry {
public:
    virtual ~Registry() = default;

    // -----------------------------------------------------------------------
    // The named string operations. Paths are relative to the root
    // ("SOFTWARE\...\Uninstall\Foo"); trailing backslashes are allowed.

    // Deletes the key with everything below it. A root is never deleted.
    StoreResult DeleteKey(RootKey root, const QString& path);
    StoreResult DeleteValue(RootKey root, const QString& path, const QString& name);
    // Stores text as REG_SZ, creating the key and any missing keys above it.
    StoreResult SetStringValue(RootKey root, const QString& path, const QString& name,
                               const QString& text);
    // REG_DWORD reads as empty text; strings and other bytes are cut at the
    // first NUL; a missing key or value, or a failed read, reads as empty text.
    QString GetStringValue(RootKey root, const QString& path, const QString& name) {
        return ReadStringValue(root, path, name).text;
    }
    // The same read, telling a missing key or value from a failed read.
    virtual ValueRead ReadStringValue(RootKey root, const QString& path, const QString& name) = 0;
    // Appends the subkey names, ordered by name without regard to case. Names
    // longer than MaxKeyNameLength (which the store refuses to write, but a
    // file from elsewhere may hold) are skipped; the ones after them are listed.
    void EnumSubkeys(RootKey root, const QString& path, QStringList& names);
    // Appends the names of the values whose data is not empty, in creation
    // order. Names of 255 characters or more are skipped.
    void EnumValueNames(RootKey root, const QString& path, QStringList& names);
    // Writes the key (given in full, "HKEY_LOCAL_MACHINE\...") with all its
    // values and subkeys as a registry editor file, whole or not at all: a
    // failed export leaves an existing destination as it was.
    StoreResult ExportKey(const QString& fullKeyPath, const QString& destination);
    // Merges a registry editor file into the store.
    ImportReport ImportFile(const QString& source);

    // The subkeys of a key, as EnumSubkeys lists them, each with the named
    // values read as GetStringValue reads them: one consistent read for a
    // whole list load. A missing key gives no entries; when the store could
    // not be read, *result (if given) says so and the list is empty.
    struct SubkeyValues {
        QString name;
        QStringList values; // in the order of valueNames
    };
    QList<SubkeyValues> ReadSubkeyValues(RootKey root, const QString& path,
                                         const QStringList& valueNames,
                                         StoreResult* result = nullptr);

    // Holds one read snapshot across many reads (a list load); the reads in
    // between see one consistent state and skip their own transactions.
    class ReadBatch {
    public:
        virtual ~ReadBatch() = default;
    };
    virtual std::unique_ptr<ReadBatch> BeginReadBatch() = 0;

    // -----------------------------------------------------------------------
    // The typed operations. A bare root always exists.

    virtual StoreResult keyExists(const KeyPath& key) = 0;
    // Reads the key's values in creation order and its subkey names in
    // enumeration order; either pointer may be null.
    virtual StoreResult readKey(const KeyPath& key, QList<RegValue>* values,
                                QStringList* subkeys) = 0;
    virtual StoreResult createKey(const KeyPath& key) = 0;
    virtual StoreResult setValue(const KeyPath& key, const RegValue& value) = 0;
    virtual StoreResult deleteKey(const KeyPath& key) = 0;
    virtual StoreResult deleteValue(const KeyPath& key, const QString& name) = 0;
    // The list read behind ReadSubkeyValues.
    virtual StoreResult readSubkeyValues(const KeyPath& key, const QStringList& valueNames,
                                         QList<SubkeyValues>* entries) = 0;
    // Hands the key and everything below it to the writer: a key before its
    // subkeys, subkeys in enumeration order, values in creation order, the
    // top key named as given. Stops at the first failed write.
    virtual StoreResult exportTree(const KeyPath& key, RegFileWriter& out) = 0;
    // Reads a registry editor file from the device and applies it as one
    // change: lines that cannot be taken are reported and skipped; when the
    // store cannot be written, or the file cannot be read to its end, nothing
    // is applied.
    virtual StoreResult importFrom(QIODevice& in, ImportReport* report) = 0;

    // exportTree into a file written whole or not at all.
    StoreResult exportKey(const KeyPath& key, const QString& destination);
    // importFrom a file, or from bytes in memory.
    StoreResult importFile(const QString& source, ImportReport* report);
    StoreResult importBytes(const QByteArray& bytes, ImportReport* report);
};
