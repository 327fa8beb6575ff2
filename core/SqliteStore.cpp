#include "core/SqliteStore.h"

#include "core/RegFile.h"

#include <QFile>
#include <QSaveFile>

#include <sqlite3.h>

#include <algorithm>

namespace {

// Marks a database file as a registry store ("RVRG").
constexpr int kApplicationId = 0x52565247;
constexpr int kSchemaVersion = 1;

const char* const kSchema = R"sql(
CREATE TABLE key (
    id     INTEGER PRIMARY KEY,
    parent INTEGER NOT NULL,         -- 0 for a root
    name   TEXT NOT NULL,            -- as created
    fold   TEXT NOT NULL,            -- upper-cased name: comparisons and order
    path   TEXT NOT NULL UNIQUE      -- upper-cased full path, root included
);
CREATE INDEX key_children ON key(parent, fold);
CREATE TABLE value (
    seq  INTEGER PRIMARY KEY,        -- creation order
    key  INTEGER NOT NULL,
    name TEXT NOT NULL,
    fold TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE (key, fold)
);
INSERT INTO key(parent, name, fold, path) VALUES
    (0, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE'),
    (0, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER');
)sql";

const char* const kStatements[] = {
    // FindKey
    "SELECT id FROM key WHERE path = ?1",
    // GetValue
    "SELECT type, data FROM value WHERE key = (SELECT id FROM key WHERE path = ?1) AND fold = ?2",
    // InsertKey
    "INSERT INTO key(parent, name, fold, path) VALUES (?1, ?2, ?3, ?4)",
    // ChildKeys
    "SELECT id, name FROM key WHERE parent = (SELECT id FROM key WHERE path = ?1) ORDER BY fold",
    // ValueNames
    "SELECT name, length(data) FROM value WHERE key = (SELECT id FROM key WHERE path = ?1) "
    "ORDER BY seq",
    // ValuesOfKey
    "SELECT name, type, data FROM value WHERE key = ?1 ORDER BY seq",
    // UpsertValue: an existing value keeps its name's spelling and its place.
    "INSERT INTO value(key, name, fold, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
    // DeleteOneValue
    "DELETE FROM value WHERE key = (SELECT id FROM key WHERE path = ?1) AND fold = ?2",
    // DeleteTreeValues: ?2 and ?3 bound the paths below ?1 ("P\" <= path < "P]").
    "DELETE FROM value WHERE key IN "
    "(SELECT id FROM key WHERE path = ?1 OR (path >= ?2 AND path < ?3))",
    // DeleteTreeKeys
    "DELETE FROM key WHERE path = ?1 OR (path >= ?2 AND path < ?3)",
    // TreeKeys
    "SELECT id, parent, name FROM key WHERE path = ?1 OR (path >= ?2 AND path < ?3) "
    "ORDER BY fold",
    // TreeValues
    "SELECT v.key, v.name, v.type, v.data FROM value v JOIN key k ON v.key = k.id "
    "WHERE k.path = ?1 OR (k.path >= ?2 AND k.path < ?3) ORDER BY v.seq",
};
static_assert(std::size(kStatements) == 12);

QString FoldedPath(const KeyPath& key) {
    QString path = RootName(key.root);
    for (const QString& name : key.names)
        path += u'\\' + FoldName(name);
    return path;
}

// The folded full path of a path relative to a root, checked as SplitKeyPath
// checks it but without splitting: this runs on every read.
std::optional<QString> FoldedRelativePath(RootKey root, const QString& path) {
    qsizetype end = path.size();
    if (end > 0 && path[end - 1] == u'\\')
        --end;
    qsizetype nameLength = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (path[i] == u'\\') {
            if (nameLength == 0)
                return std::nullopt;
            nameLength = 0;
        } else if (++nameLength > MaxKeyNameLength) {
            return std::nullopt;
        }
    }
    if (end > 0 && nameLength == 0)
        return std::nullopt;
    if (end == 0)
        return RootName(root);
    return RootName(root) + u'\\' + FoldName(path.left(end));
}

std::optional<KeyPath> RelativeKey(RootKey root, const QString& path) {
    auto names = SplitKeyPath(path);
    if (!names)
        return std::nullopt;
    return KeyPath{root, *names};
}

void BindText(sqlite3_stmt* s, int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(s, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void BindTreeRange(sqlite3_stmt* s, const QString& foldedPath) {
    BindText(s, 1, foldedPath);
    BindText(s, 2, foldedPath + u'\\');
    BindText(s, 3, foldedPath + u']');
}

QString ColumnText(sqlite3_stmt* s, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(s, column));
}

QByteArray ColumnBlob(sqlite3_stmt* s, int column) {
    const void* data = sqlite3_column_blob(s, column);
    const int bytes = sqlite3_column_bytes(s, column);
    return data ? QByteArray(static_cast<const char*>(data), bytes) : QByteArray();
}

// Resets a statement when leaving a scope, so that it holds no read lock.
struct Resetter {
    sqlite3_stmt* s;
    ~Resetter() {
        if (s) {
            sqlite3_reset(s);
            sqlite3_clear_bindings(s);
        }
    }
};

StoreStatus StatusOf(int code) {
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
        return StoreStatus::Ok;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreStatus::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return StoreStatus::Damaged;
    default:
        return StoreStatus::Failed;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Opening

SqliteStore::SqliteStore(const QString& file, int busyTimeoutMs) : file_(file) {
    openStatus_ = open(busyTimeoutMs);
    if (!openStatus_.ok() && db_) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

SqliteStore::~SqliteStore() {
    for (sqlite3_stmt* s : stmts_)
        sqlite3_finalize(s);
    if (db_)
        sqlite3_close(db_);
}

StoreResult SqliteStore::open(int busyTimeoutMs) {
    const QByteArray path = QFile::encodeName(file_);
    int rc =
        sqlite3_open_v2(path.constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        // A file we may read but not write still answers reads.
        if (db_)
            sqlite3_close(db_);
        db_ = nullptr;
        rc = sqlite3_open_v2(path.constData(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                             nullptr);
        if (rc != SQLITE_OK)
            return error(QStringLiteral("cannot open the store"));
    }
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    sqlite3_extended_result_codes(db_, 1);
    return initSchema();
}

StoreResult SqliteStore::initSchema() {
    // Reading the header first: a file that is not a database fails here,
    // before anything is written to it.
    auto pragmaInt = [this](const char* sql, int* out) {
        sqlite3_stmt* s = nullptr;
        int rc = sqlite3_prepare_v2(db_, sql, -1, &s, nullptr);
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(s);
            if (rc == SQLITE_ROW)
                *out = sqlite3_column_int(s, 0);
        }
        sqlite3_finalize(s);
        return rc == SQLITE_ROW || rc == SQLITE_DONE;
    };
    int appId = 0;
    int tables = 0;
    if (!pragmaInt("PRAGMA application_id", &appId) ||
        !pragmaInt("SELECT count(*) FROM sqlite_master", &tables))
        return error(QStringLiteral("cannot read the store"));

    if (appId == 0 && tables == 0) {
        // A new file. Another process may be creating it at the same moment:
        // the schema is made under the write lock and checked again there.
        if (sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) != SQLITE_OK)
            return error(QStringLiteral("cannot prepare the store"));
        StoreResult r = begin(true);
        if (!r.ok())
            return r;
        if (!pragmaInt("PRAGMA application_id", &appId) ||
            !pragmaInt("SELECT count(*) FROM sqlite_master", &tables)) {
            rollback();
            return error(QStringLiteral("cannot read the store"));
        }
        if (appId == 0 && tables == 0) {
            const QByteArray ids =
                QStringLiteral("PRAGMA application_id=%1; PRAGMA user_version=%2;")
                    .arg(kApplicationId)
                    .arg(kSchemaVersion)
                    .toUtf8();
            if (sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK ||
                sqlite3_exec(db_, ids.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
                StoreResult failed = error(QStringLiteral("cannot create the store"));
                rollback();
                return failed;
            }
        }
        r = commit();
        if (!r.ok())
            return r;
    }
    if (appId != 0 && appId != kApplicationId)
        return {StoreStatus::Damaged, QStringLiteral("%1 is not a registry store").arg(file_)};
    if (appId == 0 && tables != 0)
        return {StoreStatus::Damaged, QStringLiteral("%1 is not a registry store").arg(file_)};
    int version = 0;
    pragmaInt("PRAGMA user_version", &version);
    if (version > kSchemaVersion)
        return {StoreStatus::Failed,
                QStringLiteral("%1 was made by a newer version of the program").arg(file_)};
    // WAL lets readers work beside a writer; NORMAL sync keeps every committed
    // change across a crash of the process. Reads go through a memory map and
    // a page cache large enough for a whole Uninstall key.
    sqlite3_exec(db_,
                 "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; "
                 "PRAGMA cache_size=-16384; PRAGMA mmap_size=268435456",
                 nullptr, nullptr, nullptr);
    return {};
}

// ---------------------------------------------------------------------------
// Plumbing

sqlite3_stmt* SqliteStore::stmt(Stmt which) {
    if (!db_)
        return nullptr;
    if (!stmts_[which] && sqlite3_prepare_v3(db_, kStatements[which], -1, SQLITE_PREPARE_PERSISTENT,
                                             &stmts_[which], nullptr) != SQLITE_OK)
        return nullptr;
    return stmts_[which];
}

StoreResult SqliteStore::error(const QString& what) {
    if (!db_)
        return {StoreStatus::Failed, what};
    const int code = sqlite3_extended_errcode(db_);
    StoreStatus status = StatusOf(code);
    if (status == StoreStatus::Ok)
        status = StoreStatus::Failed;
    QString detail = QString::fromUtf8(sqlite3_errmsg(db_));
    if (status == StoreStatus::Busy)
        detail = QStringLiteral("the store is locked by another program");
    return {status, QStringLiteral("%1: %2 (%3)").arg(what, detail, file_)};
}

StoreResult SqliteStore::begin(bool write) {
    if (!db_)
        return openStatus_.ok() ? StoreResult{StoreStatus::Failed, QStringLiteral("no store")}
                                : openStatus_;
    if (write && batchOpen_) {
        // A write ends a read batch early; the reads after it start their own
        // transactions again.
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        batchOpen_ = false;
    }
    if (!write && batchOpen_)
        return {};
    const char* sql = write ? "BEGIN IMMEDIATE" : "BEGIN";
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        return error(QStringLiteral("cannot start a transaction"));
    return {};
}

StoreResult SqliteStore::commit() {
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        StoreResult r = error(QStringLiteral("cannot save the change"));
        rollback();
        return r;
    }
    return {};
}

void SqliteStore::rollback() {
    keyCache_.clear();
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

template <typename Work> StoreResult SqliteStore::writeTransaction(Work&& work) {
    StoreResult r = begin(true);
    if (!r.ok())
        return r;
    r = work();
    if (!r.ok()) {
        rollback();
        return r;
    }
    keyCache_.clear();
    return commit();
}

const QByteArray& SqliteStore::foldedValueName(const QString& name) {
    // The program reads a handful of value names over and over.
    auto it = valueNames_.constFind(name);
    if (it == valueNames_.constEnd()) {
        if (valueNames_.size() > 256)
            valueNames_.clear();
        it = valueNames_.insert(name, FoldName(name).toUtf8());
    }
    return *it;
}

std::optional<qint64> SqliteStore::findKey(const QString& foldedPath, StoreResult* result) {
    if (const auto it = keyCache_.constFind(foldedPath); it != keyCache_.constEnd())
        return *it;
    sqlite3_stmt* s = stmt(FindKey);
    if (!s) {
        *result = error(QStringLiteral("cannot read the store"));
        return std::nullopt;
    }
    Resetter reset{s};
    BindText(s, 1, foldedPath);
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW)
        return sqlite3_column_int64(s, 0);
    if (rc != SQLITE_DONE)
        *result = error(QStringLiteral("cannot read the store"));
    return std::nullopt;
}

StoreResult SqliteStore::ensureKey(const KeyPath& key, qint64* id) {
    // Walk down from the root, creating what is missing.
    QString path = RootName(key.root);
    StoreResult r;
    auto found = findKey(path, &r);
    if (!found)
        return r.ok() ? error(QStringLiteral("the store has no root key")) : r;
    qint64 parent = *found;
    for (const QString& name : key.names) {
        if (name.isEmpty() || name.size() > MaxKeyNameLength || name.contains(u'\\'))
            return {StoreStatus::Invalid, QStringLiteral("invalid key name \"%1\"").arg(name)};
        const QString fold = FoldName(name);
        path += u'\\' + fold;
        found = findKey(path, &r);
        if (!r.ok())
            return r;
        if (!found) {
            sqlite3_stmt* s = stmt(InsertKey);
            if (!s)
                return error(QStringLiteral("cannot write the store"));
            Resetter reset{s};
            sqlite3_bind_int64(s, 1, parent);
            BindText(s, 2, name);
            BindText(s, 3, fold);
            BindText(s, 4, path);
            if (sqlite3_step(s) != SQLITE_DONE)
                return error(QStringLiteral("cannot create key %1").arg(name));
            found = sqlite3_last_insert_rowid(db_);
        }
        keyCache_.insert(path, *found);
        parent = *found;
    }
    *id = parent;
    return {};
}

StoreResult SqliteStore::upsertValue(qint64 keyId, const RegValue& value) {
    sqlite3_stmt* s = stmt(UpsertValue);
    if (!s)
        return error(QStringLiteral("cannot write the store"));
    Resetter reset{s};
    sqlite3_bind_int64(s, 1, keyId);
    BindText(s, 2, value.name);
    BindText(s, 3, FoldName(value.name));
    sqlite3_bind_int64(s, 4, value.type);
    sqlite3_bind_blob(s, 5, value.data.constData(), static_cast<int>(value.data.size()),
                      SQLITE_TRANSIENT);
    if (sqlite3_step(s) != SQLITE_DONE)
        return error(QStringLiteral("cannot write value %1").arg(value.name));
    return {};
}

StoreResult SqliteStore::deleteTree(const QString& foldedPath) {
    for (Stmt which : {DeleteTreeValues, DeleteTreeKeys}) {
        sqlite3_stmt* s = stmt(which);
        if (!s)
            return error(QStringLiteral("cannot write the store"));
        Resetter reset{s};
        BindTreeRange(s, foldedPath);
        if (sqlite3_step(s) != SQLITE_DONE)
            return error(QStringLiteral("cannot delete the key"));
    }
    // Drop cached ids of the deleted keys.
    for (auto it = keyCache_.begin(); it != keyCache_.end();) {
        if (it.key() == foldedPath || it.key().startsWith(foldedPath + u'\\'))
            it = keyCache_.erase(it);
        else
            ++it;
    }
    return {};
}

// ---------------------------------------------------------------------------
// Read batches

class SqliteStore::Batch final : public Registry::ReadBatch {
public:
    explicit Batch(SqliteStore& store) : store_(store) {
        if (store_.batchDepth_++ == 0 && store_.db_ &&
            sqlite3_exec(store_.db_, "BEGIN; SELECT 1 FROM key LIMIT 1", nullptr, nullptr,
                         nullptr) == SQLITE_OK)
            store_.batchOpen_ = true;
    }
    ~Batch() override {
        if (--store_.batchDepth_ == 0 && store_.batchOpen_) {
            sqlite3_exec(store_.db_, "COMMIT", nullptr, nullptr, nullptr);
            store_.batchOpen_ = false;
        }
    }

private:
    SqliteStore& store_;
};

std::unique_ptr<Registry::ReadBatch> SqliteStore::BeginReadBatch() {
    return std::make_unique<Batch>(*this);
}

// ---------------------------------------------------------------------------
// Typed operations

StoreResult SqliteStore::keyExists(const KeyPath& key) {
    if (!db_)
        return openStatus_;
    StoreResult r;
    const auto id = findKey(FoldedPath(key), &r);
    if (!r.ok())
        return r;
    if (!id)
        return {StoreStatus::NotFound, QStringLiteral("key not found: %1").arg(key.fullPath())};
    return {};
}

StoreResult SqliteStore::readKey(const KeyPath& key, QList<RegValue>* values,
                                 QStringList* subkeys) {
    StoreResult r = begin(false);
    if (!r.ok())
        return r;
    const bool ownTransaction = !batchOpen_;
    auto finish = [&](StoreResult result) {
        if (ownTransaction)
            sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        return result;
    };
    const QString path = FoldedPath(key);
    const auto id = findKey(path, &r);
    if (!r.ok())
        return finish(r);
    if (!id)
        return finish(
            {StoreStatus::NotFound, QStringLiteral("key not found: %1").arg(key.fullPath())});
    if (values) {
        sqlite3_stmt* s = stmt(ValuesOfKey);
        if (!s)
            return finish(error(QStringLiteral("cannot read the store")));
        Resetter reset{s};
        sqlite3_bind_int64(s, 1, *id);
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW)
            values->append({ColumnText(s, 0), static_cast<quint32>(sqlite3_column_int64(s, 1)),
                            ColumnBlob(s, 2)});
        if (rc != SQLITE_DONE)
            return finish(error(QStringLiteral("cannot read the store")));
    }
    if (subkeys) {
        sqlite3_stmt* s = stmt(ChildKeys);
        if (!s)
            return finish(error(QStringLiteral("cannot read the store")));
        Resetter reset{s};
        BindText(s, 1, path);
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW)
            subkeys->append(ColumnText(s, 1));
        if (rc != SQLITE_DONE)
            return finish(error(QStringLiteral("cannot read the store")));
    }
    return finish({});
}

StoreResult SqliteStore::createKey(const KeyPath& key) {
    return writeTransaction([&] {
        qint64 id = 0;
        return ensureKey(key, &id);
    });
}

StoreResult SqliteStore::setValue(const KeyPath& key, const RegValue& value) {
    return writeTransaction([&] {
        qint64 id = 0;
        StoreResult r = ensureKey(key, &id);
        return r.ok() ? upsertValue(id, value) : r;
    });
}

StoreResult SqliteStore::deleteKey(const KeyPath& key) {
    if (key.names.isEmpty())
        return {StoreStatus::Invalid, QStringLiteral("a root key cannot be deleted")};
    return writeTransaction([&] {
        StoreResult r;
        const QString path = FoldedPath(key);
        if (!findKey(path, &r))
            return r.ok() ? StoreResult{StoreStatus::NotFound,
                                        QStringLiteral("key not found: %1").arg(key.fullPath())}
                          : r;
        return deleteTree(path);
    });
}

StoreResult SqliteStore::deleteValue(const KeyPath& key, const QString& name) {
    return writeTransaction([&] {
        sqlite3_stmt* s = stmt(DeleteOneValue);
        if (!s)
            return error(QStringLiteral("cannot write the store"));
        Resetter reset{s};
        BindText(s, 1, FoldedPath(key));
        BindText(s, 2, FoldName(name));
        if (sqlite3_step(s) != SQLITE_DONE)
            return error(QStringLiteral("cannot delete the value"));
        if (sqlite3_changes(db_) == 0)
            return StoreResult{
                StoreStatus::NotFound,
                QStringLiteral("value not found: %1 in %2")
                    .arg(name.isEmpty() ? QStringLiteral("(Default)") : name, key.fullPath())};
        return StoreResult{};
    });
}

StoreResult SqliteStore::exportKey(const QString& fullKeyPath, const QString& destination) {
    const auto key = ParseFullKeyPath(fullKeyPath);
    if (!key)
        return {StoreStatus::Invalid, QStringLiteral("not a key path: %1").arg(fullKeyPath)};

    StoreResult r = begin(false);
    if (!r.ok())
        return r;
    const bool ownTransaction = !batchOpen_;
    const QString top = FoldedPath(*key);

    // Every key of the tree, ordered by folded name, then every value in
    // creation order; both read in one snapshot.
    struct Node {
        qint64 parent;
        QString name;
        QList<qint64> children;
        QList<RegValue> values;
    };
    QHash<qint64, Node> nodes;
    QList<qint64> order;
    qint64 topId = -1;
    int rc = SQLITE_DONE;
    if (sqlite3_stmt* s = stmt(TreeKeys)) {
        Resetter reset{s};
        BindTreeRange(s, top);
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            const qint64 id = sqlite3_column_int64(s, 0);
            nodes.insert(id, Node{sqlite3_column_int64(s, 1), ColumnText(s, 2), {}, {}});
            order.append(id);
        }
    } else {
        rc = SQLITE_ERROR;
    }
    if (rc == SQLITE_DONE) {
        if (sqlite3_stmt* s = stmt(TreeValues)) {
            Resetter reset{s};
            BindTreeRange(s, top);
            while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
                auto it = nodes.find(sqlite3_column_int64(s, 0));
                if (it != nodes.end())
                    it->values.append({ColumnText(s, 1),
                                       static_cast<quint32>(sqlite3_column_int64(s, 2)),
                                       ColumnBlob(s, 3)});
            }
        } else {
            rc = SQLITE_ERROR;
        }
    }
    if (rc != SQLITE_DONE)
        r = error(QStringLiteral("cannot read the store"));
    if (ownTransaction)
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (!r.ok())
        return r;

    for (const qint64 id : std::as_const(order)) {
        Node& node = nodes[id];
        const auto parent = nodes.find(node.parent);
        if (parent != nodes.end())
            parent->children.append(id);
        else
            topId = id;
    }
    if (topId < 0)
        return {StoreStatus::NotFound, QStringLiteral("key not found: %1").arg(key->fullPath())};

    // The top key is written as it was asked for (root in full); the keys
    // below it with the names they were created with.
    QList<RegExportKey> keys;
    keys.reserve(order.size());
    struct Pending {
        qint64 id;
        QString path;
    };
    QList<Pending> stack{{topId, key->fullPath()}};
    while (!stack.isEmpty()) {
        Pending item = stack.takeLast();
        Node& node = nodes[item.id];
        keys.append({item.path, std::move(node.values)});
        for (auto child = node.children.crbegin(); child != node.children.crend(); ++child)
            stack.append({*child, item.path + u'\\' + nodes[*child].name});
    }

    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return {StoreStatus::Failed,
                QStringLiteral("cannot write %1: %2").arg(destination, out.errorString())};
    out.write(FormatRegFile(keys));
    if (!out.commit())
        return {StoreStatus::Failed,
                QStringLiteral("cannot write %1: %2").arg(destination, out.errorString())};
    return {};
}

class SqliteStore::ImportSink final : public RegImportSink {
public:
    explicit ImportSink(SqliteStore& store) : store_(store) {}
    StoreResult failure;

    bool createKey(const KeyPath& key) override {
        qint64 id = 0;
        return check(store_.ensureKey(key, &id));
    }
    bool deleteKey(const KeyPath& key) override {
        return check(store_.deleteTree(FoldedPath(key)));
    }
    bool setValue(const KeyPath& key, const RegValue& value) override {
        qint64 id = 0;
        StoreResult r = store_.ensureKey(key, &id);
        return check(r.ok() ? store_.upsertValue(id, value) : r);
    }
    bool deleteValue(const KeyPath& key, const QString& name) override {
        sqlite3_stmt* s = store_.stmt(DeleteOneValue);
        if (!s)
            return check(store_.error(QStringLiteral("cannot write the store")));
        Resetter reset{s};
        BindText(s, 1, FoldedPath(key));
        BindText(s, 2, FoldName(name));
        return check(sqlite3_step(s) == SQLITE_DONE
                         ? StoreResult{}
                         : store_.error(QStringLiteral("cannot delete the value")));
    }

private:
    bool check(StoreResult r) {
        if (!r.ok() && failure.ok())
            failure = r;
        return r.ok();
    }
    SqliteStore& store_;
};

StoreResult SqliteStore::importBytes(const QByteArray& bytes, ImportReport* report) {
    ImportSink sink(*this);
    ImportReport result;
    StoreResult r = writeTransaction([&] {
        result = ParseRegFile(bytes, sink);
        if (!sink.failure.ok())
            return sink.failure;
        return StoreResult{};
    });
    if (!r.ok()) {
        result.imported = false;
        result.error = r.message;
    }
    if (report)
        *report = result;
    return r;
}

StoreResult SqliteStore::applyWrites(const QList<StoreWrite>& writes) {
    if (writes.isEmpty())
        return {};
    return writeTransaction([&] {
        for (const StoreWrite& w : writes) {
            StoreResult r;
            switch (w.op) {
            case StoreWrite::Op::SetValue: {
                qint64 id = 0;
                r = ensureKey(w.key, &id);
                if (r.ok())
                    r = upsertValue(id, w.value);
                break;
            }
            case StoreWrite::Op::DeleteValue: {
                sqlite3_stmt* s = stmt(DeleteOneValue);
                if (!s)
                    return error(QStringLiteral("cannot write the store"));
                Resetter reset{s};
                BindText(s, 1, FoldedPath(w.key));
                BindText(s, 2, FoldName(w.value.name));
                if (sqlite3_step(s) != SQLITE_DONE)
                    r = error(QStringLiteral("cannot delete the value"));
                break;
            }
            case StoreWrite::Op::DeleteKey:
                if (w.key.names.isEmpty())
                    return StoreResult{StoreStatus::Invalid,
                                       QStringLiteral("a root key cannot be deleted")};
                r = deleteTree(FoldedPath(w.key));
                break;
            }
            if (!r.ok())
                return r;
        }
        return StoreResult{};
    });
}

StoreResult SqliteStore::importFile(const QString& source, ImportReport* report) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        const StoreResult r{StoreStatus::Failed,
                            QStringLiteral("cannot read %1: %2").arg(source, in.errorString())};
        if (report)
            *report = ImportReport{false, r.message, {}};
        return r;
    }
    return importBytes(in.readAll(), report);
}

// ---------------------------------------------------------------------------
// The silent operations

void SqliteStore::DeleteKey(RootKey root, const QString& path) {
    if (const auto key = RelativeKey(root, path))
        deleteKey(*key);
}

void SqliteStore::DeleteValue(RootKey root, const QString& path, const QString& name) {
    if (const auto key = RelativeKey(root, path))
        deleteValue(*key, name);
}

void SqliteStore::SetStringValue(RootKey root, const QString& path, const QString& name,
                                 const QString& text) {
    if (const auto key = RelativeKey(root, path))
        setValue(*key, MakeStringValue(name, text));
}

ValueRead SqliteStore::ReadStringValue(RootKey root, const QString& path, const QString& name) {
    const auto key = FoldedRelativePath(root, path);
    if (!key)
        return {ReadStatus::Missing, QString()};
    sqlite3_stmt* s = stmt(GetValue);
    if (!s)
        return {ReadStatus::Failed, QString()};
    Resetter reset{s};
    BindText(s, 1, *key);
    const QByteArray& folded = foldedValueName(name);
    sqlite3_bind_text(s, 2, folded.constData(), static_cast<int>(folded.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_DONE)
        return {ReadStatus::Missing, QString()};
    if (rc != SQLITE_ROW)
        return {ReadStatus::Failed, QString()};
    const auto* data = static_cast<const char*>(sqlite3_column_blob(s, 1));
    return {ReadStatus::Ok, ValueAsText(static_cast<quint32>(sqlite3_column_int64(s, 0)),
                                        QByteArrayView(data, sqlite3_column_bytes(s, 1)))};
}

void SqliteStore::EnumSubkeys(RootKey root, const QString& path, QStringList& names) {
    const auto folded = FoldedRelativePath(root, path);
    sqlite3_stmt* s = folded ? stmt(ChildKeys) : nullptr;
    if (!s)
        return;
    Resetter reset{s};
    BindText(s, 1, *folded);
    while (sqlite3_step(s) == SQLITE_ROW) {
        QString name = ColumnText(s, 1);
        // The registry's enumeration buffer holds 254 characters and a NUL: a
        // longer name fails, and that failure ends the enumeration.
        if (name.size() >= MaxKeyNameLength)
            break;
        names.append(std::move(name));
    }
}

void SqliteStore::EnumValueNames(RootKey root, const QString& path, QStringList& names) {
    const auto folded = FoldedRelativePath(root, path);
    sqlite3_stmt* s = folded ? stmt(ValueNames) : nullptr;
    if (!s)
        return;
    Resetter reset{s};
    BindText(s, 1, *folded);
    while (sqlite3_step(s) == SQLITE_ROW) {
        QString name = ColumnText(s, 0);
        // Names too long for the 255-character buffer are skipped; values with
        // empty data are not listed.
        if (name.size() < MaxKeyNameLength && sqlite3_column_int64(s, 1) > 0)
            names.append(std::move(name));
    }
}

QList<Registry::SubkeyValues> SqliteStore::ReadSubkeyValues(RootKey root, const QString& path,
                                                            const QStringList& valueNames) {
    QList<SubkeyValues> result;
    const auto folded = FoldedRelativePath(root, path);
    if (!folded || !db_ || !begin(false).ok())
        return result;
    const bool ownTransaction = !batchOpen_;

    // The subkeys in enumeration order, then the wanted values of all of them
    // in one statement.
    QHash<qint64, qsizetype> rowOfKey;
    if (sqlite3_stmt* s = stmt(ChildKeys)) {
        Resetter reset{s};
        BindText(s, 1, *folded);
        while (sqlite3_step(s) == SQLITE_ROW) {
            QString name = ColumnText(s, 1);
            if (name.size() >= MaxKeyNameLength)
                break; // as EnumSubkeys: a name too long ends the enumeration
            rowOfKey.insert(sqlite3_column_int64(s, 0), result.size());
            result.append({std::move(name), QStringList(valueNames.size(), QString())});
        }
    }
    if (!result.isEmpty() && !valueNames.isEmpty()) {
        QString sql = QStringLiteral("SELECT v.key, v.fold, v.type, v.data FROM key k JOIN value v "
                                     "ON v.key = k.id WHERE k.parent = (SELECT id FROM key WHERE "
                                     "path = ?1) AND v.fold IN (");
        for (qsizetype i = 0; i < valueNames.size(); ++i)
            sql += (i ? QStringLiteral(",?") : QStringLiteral("?")) + QString::number(i + 2);
        sql += u')';
        sqlite3_stmt* s = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db_, utf8.constData(), -1, &s, nullptr) == SQLITE_OK) {
            BindText(s, 1, *folded);
            QHash<QString, qsizetype> column;
            for (qsizetype i = 0; i < valueNames.size(); ++i) {
                const QString fold = FoldName(valueNames[i]);
                column.insert(fold, i);
                BindText(s, static_cast<int>(i + 2), fold);
            }
            while (sqlite3_step(s) == SQLITE_ROW) {
                const auto row = rowOfKey.constFind(sqlite3_column_int64(s, 0));
                const auto col = column.constFind(ColumnText(s, 1));
                if (row == rowOfKey.constEnd() || col == column.constEnd())
                    continue;
                const auto* data = static_cast<const char*>(sqlite3_column_blob(s, 3));
                result[*row].values[*col] =
                    ValueAsText(static_cast<quint32>(sqlite3_column_int64(s, 2)),
                                QByteArrayView(data, sqlite3_column_bytes(s, 3)));
            }
        }
        sqlite3_finalize(s);
    }
    if (ownTransaction)
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    return result;
}

bool SqliteStore::ExportKey(const QString& fullKeyPath, const QString& destination) {
    return exportKey(fullKeyPath, destination).ok();
}

ImportReport SqliteStore::ImportFile(const QString& source) {
    ImportReport report;
    importFile(source, &report);
    return report;
}
