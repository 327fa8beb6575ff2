// The registry store on Linux: one SQLite database file (Registry.db) holding
// a tree of keys under the roots HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and
// HKEY_USERS, with typed values. HKEY_CLASSES_ROOT and HKEY_CURRENT_CONFIG are
// names for the keys where Windows keeps them:
//   HKEY_CLASSES_ROOT   = HKEY_LOCAL_MACHINE\SOFTWARE\Classes
//   HKEY_CURRENT_CONFIG = HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Hardware Profiles\Current
//
// Several processes may use the file at once (the program, relvano-reg, an
// uninstaller): the database runs in WAL mode with a busy timeout, and every
// operation is one transaction, so a writer killed midway leaves the store as
// it was before that write.
//
// A store that may be read but not written (a read-only file, a read-only
// folder, a read-only file system) is opened for reading without creating
// anything beside it; its writes fail with a message naming the file or the
// folder.
#pragma once

#include "core/Registry.h"

#include <QHash>

#include <array>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

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
    // then answers every call with its openStatus().
    explicit SqliteStore(const QString& file, int busyTimeoutMs = DefaultBusyTimeoutMs);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    const StoreResult& openStatus() const { return openStatus_; }
    QString fileName() const { return file_; }
    // Why the store cannot be written, or empty text when it can.
    const QString& readOnlyReason() const { return readOnlyReason_; }

    ValueRead ReadStringValue(RootKey root, const QString& path, const QString& name) override;
    std::unique_ptr<ReadBatch> BeginReadBatch() override;

    StoreResult keyExists(const KeyPath& key) override;
    StoreResult readKey(const KeyPath& key, QList<RegValue>* values, QStringList* subkeys) override;
    StoreResult createKey(const KeyPath& key) override;
    StoreResult setValue(const KeyPath& key, const RegValue& value) override;
    StoreResult deleteKey(const KeyPath& key) override;
    StoreResult deleteValue(const KeyPath& key, const QString& name) override;
    StoreResult readSubkeyValues(const KeyPath& key, const QStringList& valueNames,
                                 QList<SubkeyValues>* entries) override;
    StoreResult exportTree(const KeyPath& key, RegFileWriter& out) override;
    StoreResult importFrom(QIODevice& in, ImportReport* report) override;
    // Applies the writes in order in one write transaction: all of them, or
    // none when one fails. Deleting a key or value that is not there is no
    // failure. An empty list writes nothing.
    StoreResult applyWrites(const QList<StoreWrite>& writes);

private:
    enum Stmt {
        FindKey,
        GetValue,
        InsertKey,
        ChildrenOf,
        ValuesOf,
        UpsertValue,
        DeleteValueOf,
        DeleteTreeValues,
        DeleteTreeKeys,
        StmtCount
    };
    class Statement;
    class ReadTransaction;
    class Batch;
    class ImportSink;

    StoreResult open();
    StoreResult openReadOnly();
    void close();
    // Opens an immutable store again once its file has changed.
    void followChanges();
    StoreResult initSchema();
    sqlite3_stmt* stmt(Stmt which);
    // The statement listing a key's children, one per level of a tree walk.
    sqlite3_stmt* childStatement(std::size_t depth);
    StoreResult error(const QString& what);
    StoreResult readFailure();
    StoreResult beginWrite();
    StoreResult commit();
    void rollback();
    // Runs work inside one write transaction.
    template <typename Work> StoreResult writeTransaction(Work&& work);

    // The id of a key (folded full path), nullopt when there is none.
    std::optional<qint64> findKey(const QString& foldedPath, StoreResult* result);
    StoreResult ensureKey(const KeyPath& key, qint64* id);
    StoreResult upsertValue(qint64 keyId, const RegValue& value);
    StoreResult deleteTree(const QString& foldedPath);
    StoreResult deleteValueOf(qint64 keyId, const QString& name, bool* deleted);
    const QByteArray& foldedValueName(const QString& name);

    QString file_;
    int busyTimeoutMs_;
    sqlite3* db_ = nullptr;
    std::array<sqlite3_stmt*, StmtCount> stmts_{};
    std::vector<sqlite3_stmt*> childStmts_;
    StoreResult openStatus_;
    QString readOnlyReason_;
    bool immutable_ = false;
    std::array<qint64, 4> fileStamp_{};
    int batchDepth_ = 0;
    bool batchOpen_ = false;
    // The ids along the key path created or found last, valid inside one
    // write transaction: an import writes key after key below one another.
    QStringList chainPath_; // folded full paths, root first
    QList<qint64> chainIds_;
    // Folded UTF-8 forms of the value names read so far.
    QHash<QString, QByteArray> valueNames_;
};
