// What the editing window tests share: a program folder whose store answers
// within a short busy timeout, the fakes, a stand-in main window, and a way
// to make the store refuse writes (another connection holding its write
// lock, which stops root as well as any other user).
#pragma once

#include "core/SqliteStore.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

#include <sqlite3.h>

struct EditingApp {
    TempProgramFolder folder;
    AppContext context{folder.path(), std::make_unique<SqliteStore>(folder.storePath(), 50)};
    FakeServices fakes;
    FakeHost host{context};
    EditingApp() { context.setServices(fakes.all()); }

    SqliteStore& store() { return static_cast<SqliteStore&>(context.store()); }
    static KeyPath entryKey(const QString& key) {
        KeyPath path{RootKey::LocalMachine, UninstallEntries::KeyPath.split('\\')};
        path.names.removeLast(); // the trailing backslash
        path.names.append(key);
        return path;
    }
    void set(const QString& key, const RegValue& value) {
        QVERIFY(store().setValue(entryKey(key), value).ok());
    }
    QList<RegValue> values(const QString& key) {
        QList<RegValue> list;
        store().readKey(entryKey(key), &list, nullptr);
        return list;
    }
    std::optional<RegValue> value(const QString& key, const QString& name) {
        for (const RegValue& v : values(key))
            if (v.name.compare(name, Qt::CaseInsensitive) == 0)
                return v;
        return std::nullopt;
    }
    // A program listed in the main list and selected there.
    void addProgram(const QString& key, const QString& name) {
        context.entries().setValue(key, "DisplayName", name);
        context.entries().setValue(key, "UninstallString", "/opt/" + key + "/uninstall");
        host.listEntries();
        host.select(key);
    }
    MsgBoxCall lastMessage() const {
        return fakes.messages.calls.isEmpty() ? MsgBoxCall{} : fakes.messages.calls.last();
    }
};

// Holds the store's write lock from a connection of its own while it lives.
class StoreWriteLock {
public:
    explicit StoreWriteLock(const QString& file) {
        sqlite3_open(file.toUtf8().constData(), &db_);
        locked_ = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~StoreWriteLock() {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
    bool locked() const { return locked_; }

private:
    sqlite3* db_ = nullptr;
    bool locked_ = false;
};
