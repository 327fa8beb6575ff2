// Brings the Uninstall key in line with the machine: adds, updates and
// deletes the entries the system source owns (those with a RelvanoSource
// value), in one transaction, and never touches another entry. A sync of an
// unchanged machine writes nothing at all.
#pragma once

#include "core/RegistryTypes.h"
#include "system/SystemSource.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class SqliteStore;

// An entry of the Uninstall key as the sync compares it.
struct StoredEntry {
    QString name;
    QList<RegValue> values;
};

// The Uninstall key as the sync sees it.
struct UninstallKeyView {
    QHash<QString, StoredEntry> owned; // by folded name: the source's entries
    QSet<QString> others;              // folded names of every other entry
};

// The changes to one entry: values to set (all of them for a new entry, in
// creation order) and the source's values it no longer has.
struct EntryWrite {
    QString name;
    QList<RegValue> set;
    QStringList unset;
    bool added = false;
};

struct SyncPlan {
    QList<EntryWrite> writes;
    QStringList removals; // the source's entries whose program has gone
    QStringList skipped;  // names held by an entry the source does not own
    bool isEmpty() const { return writes.isEmpty() && removals.isEmpty(); }
};

// What must change so that the source's entries are exactly the apps. Only
// the source's value names are compared, so a value a person added to an
// entry stays.
SyncPlan PlanSync(const QList<SystemApp>& apps, const UninstallKeyView& store,
                  const QString& uninstallProgram);
// Deletes every entry of the source (the source was turned off).
SyncPlan PlanClear(const UninstallKeyView& store);

struct SyncResult {
    bool ok = true;
    QString error;
    int added = 0;
    int updated = 0;
    int removed = 0;
    int skipped = 0;
    bool changed() const { return added + updated + removed > 0; }
};

// One sync: scan, compare with the store, write the differences. Keeps the
// source and the store open between runs, so later runs read only what
// changed. Not thread-safe; one object per thread.
class SystemSync {
public:
    SystemSync(const SystemLayout& layout, const QString& storeFile);
    ~SystemSync();

    SyncResult run();
    // Deletes the source's entries (the source is turned off).
    SyncResult clear();

    SystemSource& source() { return source_; }

private:
    SyncResult apply(const SyncPlan& plan);
    SqliteStore* store(QString* error);

    SystemSource source_;
    QString storeFile_;
    std::unique_ptr<SqliteStore> store_;
};
