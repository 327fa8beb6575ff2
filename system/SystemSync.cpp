#include "system/SystemSync.h"

#include "system/SyncStore.h"

namespace {

bool SameValue(const RegValue& a, const RegValue& b) {
    return a.type == b.type && a.data == b.data;
}

} // namespace

SyncPlan PlanSync(const QList<SystemApp>& apps, const UninstallKeyView& store,
                  const QString& uninstallProgram) {
    SyncPlan plan;
    QSet<QString> sourceNames;
    for (const QString& name : SourceValueNames())
        sourceNames.insert(FoldName(name));

    QSet<QString> wanted;
    for (const SystemApp& app : apps) {
        const QString fold = FoldName(app.key);
        if (wanted.contains(fold))
            continue;
        wanted.insert(fold);
        const QList<RegValue> values = EntryValues(app, uninstallProgram);
        const auto owned = store.owned.constFind(fold);
        if (owned == store.owned.constEnd()) {
            if (store.others.contains(fold)) {
                plan.skipped.append(app.key);
                continue;
            }
            plan.writes.append({app.key, values, {}, true});
            continue;
        }
        QHash<QString, const RegValue*> current;
        for (const RegValue& v : owned->values)
            current.insert(FoldName(v.name), &v);
        EntryWrite write{owned->name, {}, {}, false};
        QSet<QString> kept;
        for (const RegValue& v : values) {
            const QString vf = FoldName(v.name);
            kept.insert(vf);
            const RegValue* old = current.value(vf);
            if (!old || !SameValue(*old, v))
                write.set.append(v);
        }
        for (const RegValue& v : owned->values) {
            const QString vf = FoldName(v.name);
            if (sourceNames.contains(vf) && !kept.contains(vf))
                write.unset.append(v.name);
        }
        if (!write.set.isEmpty() || !write.unset.isEmpty())
            plan.writes.append(std::move(write));
    }
    for (auto it = store.owned.cbegin(); it != store.owned.cend(); ++it) {
        if (!wanted.contains(it.key()))
            plan.removals.append(it->name);
    }
    plan.removals.sort(Qt::CaseInsensitive);
    return plan;
}

SyncPlan PlanClear(const UninstallKeyView& store) {
    SyncPlan plan;
    for (const StoredEntry& entry : store.owned)
        plan.removals.append(entry.name);
    plan.removals.sort(Qt::CaseInsensitive);
    return plan;
}

SystemSync::SystemSync(const SystemLayout& layout, const QString& storeFile)
    : source_(layout), storeFile_(storeFile) {}

SystemSync::~SystemSync() = default;

SqliteStore* SystemSync::store(QString* error) {
    if (!store_)
        store_ = OpenSyncStore(storeFile_, error); // tried again next time when it failed
    return store_.get();
}

SyncResult SystemSync::apply(const SyncPlan& plan) {
    SyncResult result;
    result.skipped = int(plan.skipped.size());
    if (plan.isEmpty())
        return result;
    QString error;
    SqliteStore* s = store(&error);
    if (!s)
        return SyncResult{false, error, 0, 0, 0, result.skipped};
    const StoreResult r = ApplySyncPlan(*s, plan);
    if (!r.ok())
        return SyncResult{false, r.message, 0, 0, 0, result.skipped};
    for (const EntryWrite& w : plan.writes)
        ++(w.added ? result.added : result.updated);
    result.removed = int(plan.removals.size());
    return result;
}

SyncResult SystemSync::run() {
    const SystemSource::Scan scan = source_.scan();
    if (!scan.ok)
        return SyncResult{false, scan.error, 0, 0, 0, 0};
    QString error;
    SqliteStore* s = store(&error);
    if (!s)
        return SyncResult{false, error, 0, 0, 0, 0};
    const auto view = ReadUninstallKey(*s, &error);
    if (!view)
        return SyncResult{false, error, 0, 0, 0, 0};
    return apply(PlanSync(scan.apps, *view, source_.layout().uninstallProgram));
}

SyncResult SystemSync::clear() {
    QString error;
    SqliteStore* s = store(&error);
    if (!s)
        return SyncResult{false, error, 0, 0, 0, 0};
    const auto view = ReadUninstallKey(*s, &error);
    if (!view)
        return SyncResult{false, error, 0, 0, 0, 0};
    return apply(PlanClear(*view));
}
