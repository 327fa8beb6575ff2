#include "core/SqliteStore.h"

#include "core/RegFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Marks a database file as a registry store ("RVRG").
constexpr int kApplicationId = 0x52565247;
constexpr int kSchemaVersion = 1;

// Roots other than these two are added when first written to.
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
    // ChildrenOf
    "SELECT id, name FROM key WHERE parent = ?1 ORDER BY fold",
    // ValuesOf
    "SELECT name, type, data FROM value WHERE key = ?1 ORDER BY seq",
    // UpsertValue: an existing value keeps its name's spelling and its place.
    "INSERT INTO value(key, name, fold, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
    // DeleteValueOf
    "DELETE FROM value WHERE key = ?1 AND fold = ?2",
    // DeleteTreeValues: ?2 and ?3 bound the paths below ?1 ("P\" <= path < "P]").
    "DELETE FROM value WHERE key IN "
    "(SELECT id FROM key WHERE path = ?1 OR (path >= ?2 AND path < ?3))",
    // DeleteTreeKeys
    "DELETE FROM key WHERE path = ?1 OR (path >= ?2 AND path < ?3)",
};
static_assert(std::size(kStatements) == 9);

// Where a key lives in the store: HKEY_CLASSES_ROOT and HKEY_CURRENT_CONFIG
// are names for keys below HKEY_LOCAL_MACHINE, as on Windows.
KeyPath StoredKey(const KeyPath& key) {
    switch (key.root) {
    case RootKey::ClassesRoot:
        return {RootKey::LocalMachine,
                QStringList{QStringLiteral("SOFTWARE"), QStringLiteral("Classes")} + key.names};
    case RootKey::CurrentConfig:
        return {RootKey::LocalMachine,
                QStringList{QStringLiteral("SYSTEM"), QStringLiteral("CurrentControlSet"),
                            QStringLiteral("Hardware Profiles"), QStringLiteral("Current")} +
                    key.names};
    default:
        return key;
    }
}

QString FoldedPath(const KeyPath& key) {
    const KeyPath stored = StoredKey(key);
    QString path = RootName(stored.root);
    for (const QString& name : stored.names)
        path += u'\\' + FoldName(name);
    return path;
}

const QString& FoldedRootPath(RootKey root) {
    static const QString paths[] = {
        FoldedPath({RootKey::LocalMachine, {}}),  FoldedPath({RootKey::CurrentUser, {}}),
        FoldedPath({RootKey::Users, {}}),         FoldedPath({RootKey::ClassesRoot, {}}),
        FoldedPath({RootKey::CurrentConfig, {}}),
    };
    return paths[static_cast<int>(root)];
}

// The folded full path of a path relative to a root, checked as SplitKeyPath
// and KeyNameProblem check it but without splitting: this runs on every read.
std::optional<QString> FoldedRelativePath(RootKey root, const QString& path) {
    qsizetype end = path.size();
    while (end > 0 && path[end - 1] == u'\\')
        --end;
    qsizetype nameLength = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = path[i];
        if (c == u'\\') {
            if (nameLength == 0)
                return std::nullopt;
            nameLength = 0;
            continue;
        }
        if (++nameLength > MaxKeyNameLength || c.isNull())
            return std::nullopt;
        if (c.isSurrogate()) {
            if (!c.isHighSurrogate() || i + 1 >= end || !path[i + 1].isLowSurrogate())
                return std::nullopt; // a name no store can hold
            ++i;
            ++nameLength;
        }
    }
    if (end == 0)
        return FoldedRootPath(root);
    return FoldedRootPath(root) + u'\\' + FoldName(path.left(end));
}

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

QString ErrnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool Writable(const QString& path) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

// Why the store file cannot be written here, or empty text. The folder
// counts too: the store keeps its journal (-wal) and lock table (-shm) there.
QString WriteProblem(const QString& file) {
    const QString folder = QFileInfo(file).absolutePath();
    if (!QFileInfo::exists(folder))
        return QStringLiteral("the folder %1 does not exist").arg(folder);
    if (!Writable(folder))
        return QStringLiteral("cannot create files in %1: %2").arg(folder, ErrnoText(errno));
    if (QFileInfo::exists(file) && !Writable(file))
        return QStringLiteral("cannot write %1: %2").arg(file, ErrnoText(errno));
    return QString();
}

// What tells one version of a file from another without reading it.
std::array<qint64, 4> FileStamp(const QString& file) {
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0)
        return {};
    return {static_cast<qint64>(st.st_ino), static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec), static_cast<qint64>(st.st_mtim.tv_nsec)};
}

StoreResult NotFoundKey(const KeyPath& key) {
    return {StoreStatus::NotFound, QStringLiteral("key not found: %1").arg(key.fullPath())};
}

} // namespace

// ---------------------------------------------------------------------------
// Statements and transactions

// A prepared statement in use: binds its parameters, steps through its rows,
// and is reset (its read lock released, its bindings cleared) at the end of
// the scope. A statement that could not be prepared fails its first step.
class SqliteStore::Statement {
public:
    explicit Statement(sqlite3_stmt* s) : s_(s) {}
    // A statement for one use, finalized at the end of the scope.
    static Statement once(sqlite3* db, const QString& sql) {
        sqlite3_stmt* s = nullptr;
        if (db)
            sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &s, nullptr);
        Statement statement(s);
        statement.owned_ = true;
        return statement;
    }
    Statement(Statement&& other) noexcept
        : s_(std::exchange(other.s_, nullptr)), rc_(other.rc_), owned_(other.owned_) {}
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& operator=(Statement&&) = delete;
    ~Statement() {
        if (!s_)
            return;
        if (owned_) {
            sqlite3_finalize(s_);
        } else {
            sqlite3_reset(s_);
            sqlite3_clear_bindings(s_);
        }
    }

    Statement& bind(int index, const QString& text) { return bindUtf8(index, text.toUtf8()); }
    Statement& bindUtf8(int index, const QByteArray& utf8) {
        if (s_)
            sqlite3_bind_text(s_, index, utf8.constData(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(int index, qint64 number) {
        if (s_)
            sqlite3_bind_int64(s_, index, number);
        return *this;
    }
    Statement& bindBlob(int index, QByteArrayView bytes) {
        // Empty data has no pointer, which would bind NULL: bound as zero bytes.
        if (s_ && bytes.isEmpty())
            sqlite3_bind_zeroblob(s_, index, 0);
        else if (s_)
            sqlite3_bind_blob(s_, index, bytes.data(), static_cast<int>(bytes.size()),
                              SQLITE_TRANSIENT);
        return *this;
    }
    // The key path range of a tree: ?i is the path, ?i+1 and ?i+2 bound the
    // paths below it ("P\" <= path < "P]", ']' following '\').
    Statement& bindTree(int index, const QString& foldedPath) {
        return bind(index, foldedPath)
            .bind(index + 1, foldedPath + u'\\')
            .bind(index + 2, foldedPath + u']');
    }

    // Steps to the next row; false after the last one, or on a failure.
    bool next() {
        rc_ = s_ ? sqlite3_step(s_) : SQLITE_ERROR;
        return rc_ == SQLITE_ROW;
    }
    // Runs a statement that gives no rows.
    bool run() {
        next();
        return rc_ == SQLITE_DONE;
    }
    bool failed() const { return rc_ != SQLITE_ROW && rc_ != SQLITE_DONE; }

    qint64 integer(int column) const { return sqlite3_column_int64(s_, column); }
    QString text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s_, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(s_, column));
    }
    QByteArrayView blob(int column) const {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(s_, column));
        return QByteArrayView(data, data ? sqlite3_column_bytes(s_, column) : 0);
    }

private:
    sqlite3_stmt* s_;
    int rc_ = SQLITE_DONE;
    bool owned_ = false;
};

// One read snapshot for the scope: the reads inside see one state of the
// store. Inside a read batch the batch's snapshot serves.
class SqliteStore::ReadTransaction {
public:
    explicit ReadTransaction(SqliteStore& store) : store_(store) {
        store_.followChanges();
        if (!store_.db_)
            result_ = store_.openStatus_.ok()
                          ? StoreResult{StoreStatus::Failed, QStringLiteral("no store")}
                          : store_.openStatus_;
        else if (!store_.batchOpen_ &&
                 sqlite3_exec(store_.db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK)
            own_ = true;
        else if (!store_.batchOpen_)
            result_ = store_.readFailure();
    }
    ~ReadTransaction() {
        if (own_)
            sqlite3_exec(store_.db_, "COMMIT", nullptr, nullptr, nullptr);
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;
    const StoreResult& result() const { return result_; }

private:
    SqliteStore& store_;
    StoreResult result_;
    bool own_ = false;
};

sqlite3_stmt* SqliteStore::stmt(Stmt which) {
    if (!db_)
        return nullptr;
    if (!stmts_[which] && sqlite3_prepare_v3(db_, kStatements[which], -1, SQLITE_PREPARE_PERSISTENT,
                                             &stmts_[which], nullptr) != SQLITE_OK)
        return nullptr;
    return stmts_[which];
}

sqlite3_stmt* SqliteStore::childStatement(std::size_t depth) {
    if (depth == 0)
        return stmt(ChildrenOf);
    if (!db_)
        return nullptr;
    if (childStmts_.size() < depth)
        childStmts_.resize(depth, nullptr);
    sqlite3_stmt*& s = childStmts_[depth - 1];
    if (!s && sqlite3_prepare_v3(db_, kStatements[ChildrenOf], -1, SQLITE_PREPARE_PERSISTENT, &s,
                                 nullptr) != SQLITE_OK)
        return nullptr;
    return s;
}

StoreResult SqliteStore::error(const QString& what) {
    if (!db_)
        return openStatus_.ok() ? StoreResult{StoreStatus::Failed, what} : openStatus_;
    const int code = sqlite3_extended_errcode(db_);
    StoreStatus status = StatusOf(code);
    if (status == StoreStatus::Ok)
        status = StoreStatus::Failed;
    QString detail = QString::fromUtf8(sqlite3_errmsg(db_));
    if (status == StoreStatus::Busy)
        detail = QStringLiteral("the store is locked by another program");
    return {status, QStringLiteral("%1: %2 (%3)").arg(what, detail, file_)};
}

StoreResult SqliteStore::readFailure() {
    return error(QStringLiteral("cannot read the store"));
}

StoreResult SqliteStore::beginWrite() {
    if (!db_)
        return openStatus_.ok() ? StoreResult{StoreStatus::Failed, QStringLiteral("no store")}
                                : openStatus_;
    if (!readOnlyReason_.isEmpty())
        return {StoreStatus::Failed,
                QStringLiteral("the store can only be read here: %1").arg(readOnlyReason_)};
    if (batchOpen_) {
        // A write ends a read batch early; the reads after it start their own
        // transactions again.
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        batchOpen_ = false;
    }
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
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
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

template <typename Work> StoreResult SqliteStore::writeTransaction(Work&& work) {
    StoreResult r = beginWrite();
    if (!r.ok())
        return r;
    chainPath_.clear();
    chainIds_.clear();
    r = work();
    chainPath_.clear();
    chainIds_.clear();
    if (!r.ok()) {
        rollback();
        return r;
    }
    return commit();
}

// ---------------------------------------------------------------------------
// Opening

SqliteStore::SqliteStore(const QString& file, int busyTimeoutMs)
    : file_(file), busyTimeoutMs_(busyTimeoutMs) {
    openStatus_ = open();
    if (!openStatus_.ok())
        close();
}

SqliteStore::~SqliteStore() {
    close();
}

void SqliteStore::close() {
    for (sqlite3_stmt*& s : stmts_)
        sqlite3_finalize(std::exchange(s, nullptr));
    for (sqlite3_stmt* s : childStmts_)
        sqlite3_finalize(s);
    childStmts_.clear();
    if (db_)
        sqlite3_close(std::exchange(db_, nullptr));
}

void SqliteStore::followChanges() {
    // An immutable connection sees the file as it was opened; a writer with
    // more rights (one that can write what this process only reads) changes
    // it when its last connection ends. Then the store is opened again.
    if (!immutable_ || batchDepth_ > 0 || FileStamp(file_) == fileStamp_)
        return;
    close();
    openStatus_ = open();
    if (!openStatus_.ok())
        close();
}

StoreResult SqliteStore::open() {
    immutable_ = false;
    readOnlyReason_ = WriteProblem(file_);
    int rc = SQLITE_OK;
    if (readOnlyReason_.isEmpty()) {
        rc = sqlite3_open_v2(QFile::encodeName(file_).constData(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    } else if (!QFileInfo::exists(file_)) {
        return {StoreStatus::Failed,
                QStringLiteral("cannot create the store %1: %2").arg(file_, readOnlyReason_)};
    } else {
        const StoreResult r = openReadOnly();
        if (!r.ok())
            return r;
    }
    if (rc != SQLITE_OK)
        return error(QStringLiteral("cannot open the store"));
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
    sqlite3_extended_result_codes(db_, 1);
    return initSchema();
}

StoreResult SqliteStore::openReadOnly() {
    // Reading a WAL database needs its -wal and -shm companions. When they
    // are there, they are used as they are. When they are not, they are not
    // made: made here, they would take the file's read-only mode and block
    // every later writer. The file is then read as it stands (immutable),
    // and opened again when it changes (see followChanges).
    const bool companions = QFileInfo::exists(file_ + QStringLiteral("-wal")) &&
                            QFileInfo::exists(file_ + QStringLiteral("-shm"));
    immutable_ = !companions;
    fileStamp_ = FileStamp(file_);
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(file_).absoluteFilePath()).toEncoded() +
                           (companions ? "?mode=ro" : "?mode=ro&immutable=1");
    if (sqlite3_open_v2(uri.constData(), &db_,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        return error(QStringLiteral("cannot open the store"));
    return {};
}

StoreResult SqliteStore::initSchema() {
    // Reading the header first: a file that is not a database fails here,
    // before anything is written to it.
    auto pragmaInt = [this](const char* sql, int* out) {
        Statement s = Statement::once(db_, QString::fromLatin1(sql));
        if (s.next())
            *out = static_cast<int>(s.integer(0));
        return !s.failed();
    };
    int appId = 0;
    int tables = 0;
    if (!pragmaInt("PRAGMA application_id", &appId) ||
        !pragmaInt("SELECT count(*) FROM sqlite_master", &tables))
        return readFailure();

    if (appId == 0 && tables == 0) {
        if (!readOnlyReason_.isEmpty())
            return {StoreStatus::Failed, QStringLiteral("the store %1 is empty and cannot be "
                                                        "written here: %2")
                                             .arg(file_, readOnlyReason_)};
        // A new file. Another process may be creating it at the same moment:
        // the schema is made under the write lock and checked again there.
        if (sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) != SQLITE_OK)
            return error(QStringLiteral("cannot prepare the store"));
        StoreResult r = beginWrite();
        if (!r.ok())
            return r;
        if (!pragmaInt("PRAGMA application_id", &appId) ||
            !pragmaInt("SELECT count(*) FROM sqlite_master", &tables)) {
            r = readFailure();
            rollback();
            return r;
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
    if ((appId != 0 && appId != kApplicationId) || (appId == 0 && tables != 0))
        return {StoreStatus::Damaged, QStringLiteral("%1 is not a registry store").arg(file_)};
    int version = 0;
    pragmaInt("PRAGMA user_version", &version);
    if (version > kSchemaVersion)
        return {StoreStatus::Failed,
                QStringLiteral("%1 was made by a newer version of the program").arg(file_)};
    // WAL lets readers work beside a writer; NORMAL sync keeps every committed
    // change across a crash of the process. Reads go through a memory map and
    // a page cache large enough for a whole Uninstall key.
    if (readOnlyReason_.isEmpty())
        sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr,
                     nullptr);
    sqlite3_exec(db_, "PRAGMA cache_size=-16384; PRAGMA mmap_size=268435456", nullptr, nullptr,
                 nullptr);
    return {};
}

// ---------------------------------------------------------------------------
// Keys and values

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
    Statement s(stmt(FindKey));
    s.bind(1, foldedPath);
    if (s.next())
        return s.integer(0);
    if (s.failed())
        *result = readFailure();
    return std::nullopt;
}

StoreResult SqliteStore::ensureKey(const KeyPath& key, qint64* id) {
    const KeyPath stored = StoredKey(key);
    for (const QString& name : stored.names) {
        if (const QString problem = KeyNameProblem(name); !problem.isEmpty())
            return {StoreStatus::Invalid, QStringLiteral("invalid key name \"%1\": %2")
                                              .arg(name.left(MaxKeyNameLength), problem)};
    }
    // Walk down from the root, reusing the ids found last along the same
    // path, creating what is missing.
    QString path = RootName(stored.root);
    for (qsizetype level = 0; level <= stored.names.size(); ++level) {
        const QString name = level == 0 ? path : stored.names[level - 1];
        const QString fold = level == 0 ? path : FoldName(name);
        if (level > 0)
            path += u'\\' + fold;
        if (level < chainPath_.size() && chainPath_[level] == path)
            continue;
        chainPath_.resize(level);
        chainIds_.resize(level);
        StoreResult r;
        auto found = findKey(path, &r);
        if (!r.ok())
            return r;
        if (!found) {
            Statement insert(stmt(InsertKey));
            insert.bind(1, level == 0 ? qint64(0) : chainIds_.last())
                .bind(2, name)
                .bind(3, fold)
                .bind(4, path);
            if (!insert.run())
                return error(QStringLiteral("cannot create key %1").arg(name));
            found = sqlite3_last_insert_rowid(db_);
        }
        chainPath_.append(path);
        chainIds_.append(*found);
    }
    *id = chainIds_[stored.names.size()];
    return {};
}

StoreResult SqliteStore::upsertValue(qint64 keyId, const RegValue& value) {
    if (const QString problem = ValueNameProblem(value.name); !problem.isEmpty())
        return {StoreStatus::Invalid, QStringLiteral("invalid value name: ") + problem};
    Statement s(stmt(UpsertValue));
    s.bind(1, keyId)
        .bind(2, value.name)
        .bind(3, FoldName(value.name))
        .bind(4, qint64(value.type))
        .bindBlob(5, value.data);
    if (!s.run())
        return error(QStringLiteral("cannot write value %1").arg(value.name));
    return {};
}

StoreResult SqliteStore::deleteValueOf(qint64 keyId, const QString& name, bool* deleted) {
    Statement s(stmt(DeleteValueOf));
    s.bind(1, keyId).bind(2, FoldName(name));
    if (!s.run())
        return error(QStringLiteral("cannot delete the value"));
    *deleted = sqlite3_changes(db_) > 0;
    return {};
}

StoreResult SqliteStore::deleteTree(const QString& foldedPath) {
    for (Stmt which : {DeleteTreeValues, DeleteTreeKeys}) {
        Statement s(stmt(which));
        s.bindTree(1, foldedPath);
        if (!s.run())
            return error(QStringLiteral("cannot delete the key"));
    }
    chainPath_.clear();
    chainIds_.clear();
    return {};
}

// ---------------------------------------------------------------------------
// Read batches

class SqliteStore::Batch final : public Registry::ReadBatch {
public:
    explicit Batch(SqliteStore& store) : store_(store) {
        store_.followChanges();
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
// Reads

ValueRead SqliteStore::ReadStringValue(RootKey root, const QString& path, const QString& name) {
    followChanges();
    const auto key = FoldedRelativePath(root, path);
    if (!key || !ValueNameProblem(name).isEmpty())
        return {ReadStatus::Missing, QString()};
    Statement s(stmt(GetValue));
    s.bind(1, *key).bindUtf8(2, foldedValueName(name));
    if (s.next())
        return {ReadStatus::Ok, ValueAsText(static_cast<quint32>(s.integer(0)), s.blob(1))};
    return {s.failed() ? ReadStatus::Failed : ReadStatus::Missing, QString()};
}

StoreResult SqliteStore::keyExists(const KeyPath& key) {
    followChanges();
    if (!db_)
        return openStatus_;
    StoreResult r;
    const auto id = findKey(FoldedPath(key), &r);
    if (!r.ok())
        return r;
    if (!id && !key.names.isEmpty())
        return NotFoundKey(key);
    return {};
}

StoreResult SqliteStore::readKey(const KeyPath& key, QList<RegValue>* values,
                                 QStringList* subkeys) {
    ReadTransaction read(*this);
    StoreResult r = read.result();
    if (!r.ok())
        return r;
    const auto id = findKey(FoldedPath(key), &r);
    if (!r.ok())
        return r;
    if (!id)
        return key.names.isEmpty() ? StoreResult{} : NotFoundKey(key);
    if (values) {
        Statement s(stmt(ValuesOf));
        s.bind(1, *id);
        while (s.next())
            values->append(
                {s.text(0), static_cast<quint32>(s.integer(1)), s.blob(2).toByteArray()});
        if (s.failed())
            return readFailure();
    }
    if (subkeys) {
        Statement s(stmt(ChildrenOf));
        s.bind(1, *id);
        while (s.next())
            subkeys->append(s.text(1));
        if (s.failed())
            return readFailure();
    }
    return {};
}

StoreResult SqliteStore::readSubkeyValues(const KeyPath& key, const QStringList& valueNames,
                                          QList<SubkeyValues>* entries) {
    ReadTransaction read(*this);
    StoreResult r = read.result();
    if (!r.ok())
        return r;
    const auto id = findKey(FoldedPath(key), &r);
    if (!r.ok())
        return r;
    if (!id)
        return key.names.isEmpty() ? StoreResult{} : NotFoundKey(key);

    // The subkeys in enumeration order, then the wanted values of all of them
    // in one statement.
    QHash<qint64, qsizetype> rowOfKey;
    {
        Statement s(stmt(ChildrenOf));
        s.bind(1, *id);
        while (s.next()) {
            QString name = s.text(1);
            if (name.size() > MaxKeyNameLength)
                continue; // as EnumSubkeys: a name it cannot give is skipped
            rowOfKey.insert(s.integer(0), entries->size());
            entries->append({std::move(name), QStringList(valueNames.size(), QString())});
        }
        if (s.failed())
            return readFailure();
    }
    if (entries->isEmpty() || valueNames.isEmpty())
        return {};
    QString sql = QStringLiteral("SELECT v.key, v.fold, v.type, v.data FROM key k JOIN value v "
                                 "ON v.key = k.id WHERE k.parent = ?1 AND v.fold IN (");
    for (qsizetype i = 0; i < valueNames.size(); ++i)
        sql += (i ? QStringLiteral(",?") : QStringLiteral("?")) + QString::number(i + 2);
    sql += u')';
    Statement s = Statement::once(db_, sql);
    s.bind(1, *id);
    QHash<QString, qsizetype> column;
    for (qsizetype i = 0; i < valueNames.size(); ++i) {
        const QString fold = FoldName(valueNames[i]);
        column.insert(fold, i);
        s.bind(static_cast<int>(i + 2), fold);
    }
    while (s.next()) {
        const auto row = rowOfKey.constFind(s.integer(0));
        const auto col = column.constFind(s.text(1));
        if (row != rowOfKey.constEnd() && col != column.constEnd())
            (*entries)[*row].values[*col] =
                ValueAsText(static_cast<quint32>(s.integer(2)), s.blob(3));
    }
    return s.failed() ? readFailure() : StoreResult{};
}

StoreResult SqliteStore::exportTree(const KeyPath& key, RegFileWriter& out) {
    // A whole tree is read once, page after page: through the page cache
    // rather than the memory map, which would keep every page of the file
    // resident. (The map can only change outside a transaction.)
    struct NoMemoryMap {
        sqlite3* db;
        explicit NoMemoryMap(sqlite3* d) : db(d) {
            if (db)
                sqlite3_exec(db, "PRAGMA mmap_size=0", nullptr, nullptr, nullptr);
        }
        ~NoMemoryMap() {
            if (db)
                sqlite3_exec(db, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
        }
    } noMap(batchOpen_ ? nullptr : db_);
    ReadTransaction read(*this);
    StoreResult r = read.result();
    if (!r.ok())
        return r;
    const auto top = findKey(FoldedPath(key), &r);
    if (!r.ok())
        return r;
    const StoreResult writeFailed{StoreStatus::Failed, QStringLiteral("the file could not be "
                                                                      "written")};
    if (!top) {
        if (!key.names.isEmpty())
            return NotFoundKey(key);
        return out.beginKey(key.fullPath()) ? StoreResult{} : writeFailed; // a bare, empty root
    }

    auto writeKey = [&](qint64 id, const QString& path) {
        if (!out.beginKey(path))
            return writeFailed;
        Statement values(stmt(ValuesOf));
        values.bind(1, id);
        while (values.next()) {
            if (!out.writeValue({values.text(0), static_cast<quint32>(values.integer(1)),
                                 values.blob(2).toByteArray()}))
                return writeFailed;
        }
        return values.failed() ? readFailure() : StoreResult{};
    };

    // Depth first, a key before its subkeys; one children statement open per
    // level, so that only the path being walked is held in memory. The top
    // key is written as it was asked for (root in full), the keys below it
    // with the names they were created with.
    struct Level {
        Statement children;
        QString path;
    };
    std::deque<Level> levels;
    auto enter = [&](qint64 id, const QString& path) {
        StoreResult written = writeKey(id, path);
        if (written.ok()) {
            levels.push_back({Statement(childStatement(levels.size())), path});
            levels.back().children.bind(1, id);
        }
        return written;
    };
    r = enter(*top, key.fullPath());
    while (r.ok() && !levels.empty()) {
        Level& level = levels.back();
        if (level.children.next()) {
            r = enter(level.children.integer(0), level.path + u'\\' + level.children.text(1));
            continue;
        }
        if (level.children.failed())
            r = readFailure();
        levels.pop_back();
    }
    return r;
}

// ---------------------------------------------------------------------------
// Writes

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
            return r.ok() ? NotFoundKey(key) : r;
        return deleteTree(path);
    });
}

StoreResult SqliteStore::deleteValue(const KeyPath& key, const QString& name) {
    return writeTransaction([&] {
        StoreResult r;
        const auto id = findKey(FoldedPath(key), &r);
        bool deleted = false;
        if (id)
            r = deleteValueOf(*id, name, &deleted);
        if (r.ok() && !deleted)
            return StoreResult{
                StoreStatus::NotFound,
                QStringLiteral("value not found: %1 in %2")
                    .arg(name.isEmpty() ? QStringLiteral("(Default)") : name, key.fullPath())};
        return r;
    });
}

// The changes of an import, all inside the one write transaction of importFrom.
class SqliteStore::ImportSink final : public RegImportSink {
public:
    explicit ImportSink(SqliteStore& store) : store_(store) {}

    StoreResult openKey(const KeyPath& key) override { return store_.ensureKey(key, &current_); }
    StoreResult deleteKey(const KeyPath& key) override {
        StoreResult r;
        const QString path = FoldedPath(key);
        if (!store_.findKey(path, &r))
            return r;
        return store_.deleteTree(path);
    }
    StoreResult setValue(const RegValue& value) override {
        return store_.upsertValue(current_, value);
    }
    StoreResult deleteValue(const QString& name) override {
        bool deleted = false;
        return store_.deleteValueOf(current_, name, &deleted);
    }

private:
    SqliteStore& store_;
    qint64 current_ = 0;
};

StoreResult SqliteStore::importFrom(QIODevice& in, ImportReport* report) {
    ImportSink sink(*this);
    ImportReport result;
    const StoreResult r = writeTransaction([&] {
        result = ParseRegFile(in, sink);
        return result.imported ? StoreResult{} : StoreResult{StoreStatus::Failed, result.error};
    });
    if (!r.ok() && (result.imported || result.error.isEmpty())) {
        // The transaction itself failed: nothing of the file is in the store.
        result.imported = false;
        result.error = r.message + QStringLiteral("; nothing was imported");
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
                // A value that is not there is no failure.
                if (const auto id = findKey(FoldedPath(w.key), &r)) {
                    bool deleted = false;
                    r = deleteValueOf(*id, w.value.name, &deleted);
                }
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
