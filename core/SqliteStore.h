// The registry store on Linux: one SQLite database file (Registry.db) holding
// a tree of keys under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER with typed
// values.
//
// Several processes may use the file at once (the program, relvano-reg, an
// uninstaller): the database runs in WAL mode with a busy timeout, and every
// operation is one transaction, so a writer killed midway leaves the store as
// it was before that write.
//
// Two faces: the silent Registry operations the windows use, and typed
// operations that report what went wrong, for the command-line tool.
#pragma once

#include "core/Registry.h"

#include <QHash>

#include <array>

struct sqlite3;
struct sqlite3_stmt;

enum class StoreStatus {
    Ok,
    NotFound, // the key or value does not exist
    Invalid,  // a malformed path or argument
    Busy,     // another process held the store past the timeout
    Damaged,  // the file is not a store, or is corrupt
    Failed,   // any other failure (read-only file, full disk, ...)
};

struct StoreResult {
    StoreStatus status = StoreStatus::Ok;
    QString message;
    bool ok() const { return status == StoreStatus::Ok; }
};

// One change of a batch that applyWrites makes in a single transaction.
struct StoreWrite {
    enum class Op { SetValue, DeleteValue, DeleteKey };
    Op op = Op::SetValue;
    KeyPath key;
    RegValue value; // SetValue: the value; DeleteValue: only its name counts
};

class SqliteStore final : public Registry {
public:
    static constexpr int DefaultBusyTimeoutMs = 5000;

    // Opens the store, creating the file when it does not exist. An existing
    // file that is not a store, or is damaged, is never overwritten: the store
    // then answers every call with empty results (see openStatus()).
    explicit SqliteStore(const QString& file, int busyTimeoutMs = DefaultBusyTimeoutMs);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    const StoreResult& openStatus() const { return openStatus_; }
    QString fileName() const { return file_; }

    // Registry
    void DeleteKey(RootKey root, const QString& path) override;
    void DeleteValue(RootKey root, const QString& path, const QString& name) override;
    void SetStringValue(RootKey root, const QString& path, const QString& name,
                        const QString& text) override;
    ValueRead ReadStringValue(RootKey root, const QString& path, const QString& name) override;
    void EnumSubkeys(RootKey root, const QString& path, QStringList& names) override;
    void EnumValueNames(RootKey root, const QString& path, QStringList& names) override;
    bool ExportKey(const QString& fullKeyPath, const QString& destination) override;
    ImportReport ImportFile(const QString& source) override;
    QList<SubkeyValues> ReadSubkeyValues(RootKey root, const QString& path,
                                         const QStringList& valueNames) override;
    std::unique_ptr<ReadBatch> BeginReadBatch() override;

    // Typed operations that say what went wrong.
    StoreResult keyExists(const KeyPath& key);
    StoreResult readKey(const KeyPath& key, QList<RegValue>* values, QStringList* subkeys);
    StoreResult createKey(const KeyPath& key);
    StoreResult setValue(const KeyPath& key, const RegValue& value);
    StoreResult deleteKey(const KeyPath& key);
    StoreResult deleteValue(const KeyPath& key, const QString& name);
    StoreResult exportKey(const QString& fullKeyPath, const QString& destination);
    // The report lists the lines that were skipped; the result fails only when
    // the file could not be read or the store could not be written.
    StoreResult importFile(const QString& source, ImportReport* report);
    StoreResult importBytes(const QByteArray& bytes, ImportReport* report);
    // Applies the writes in order in one write transaction: all of them, or
    // none when one fails. Deleting a key or value that is not there is no
    // failure. An empty list writes nothing.
    StoreResult applyWrites(const QList<StoreWrite>& writes);

private:
    enum Stmt {
        FindKey,
        GetValue,
        InsertKey,
        ChildKeys,
        ValueNames,
        ValuesOfKey,
        UpsertValue,
        DeleteOneValue,
        DeleteTreeValues,
        DeleteTreeKeys,
        TreeKeys,
        TreeValues,
        StmtCount
    };
    class Batch;
    class ImportSink;
    friend class Batch;
    friend class ImportSink;

    StoreResult open(int busyTimeoutMs);
    StoreResult initSchema();
    sqlite3_stmt* stmt(Stmt which);
    StoreResult error(const QString& what);
    StoreResult begin(bool write);
    StoreResult commit();
    void rollback();
    // Runs work inside one write transaction.
    template <typename Work> StoreResult writeTransaction(Work&& work);

    std::optional<qint64> findKey(const QString& foldedPath, StoreResult* result);
    StoreResult ensureKey(const KeyPath& key, qint64* id);
    StoreResult upsertValue(qint64 keyId, const RegValue& value);
    StoreResult deleteTree(const QString& foldedPath);

    QString file_;
    sqlite3* db_ = nullptr;
    std::array<sqlite3_stmt*, StmtCount> stmts_{};
    StoreResult openStatus_;
    int batchDepth_ = 0;
    bool batchOpen_ = false;
    // Key ids by folded path, valid inside one write transaction (imports).
    QHash<QString, qint64> keyCache_;
    // Folded UTF-8 forms of the value names read so far.
    QHash<QString, QByteArray> valueNames_;
    const QByteArray& foldedValueName(const QString& name);
};
