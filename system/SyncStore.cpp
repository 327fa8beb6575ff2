#include "system/SyncStore.h"

#include "core/AppContext.h"

namespace {

KeyPath UninstallKey() {
    return KeyPath{RootKey::LocalMachine,
                   {QStringLiteral("SOFTWARE"), QStringLiteral("Microsoft"),
                    QStringLiteral("Windows"), QStringLiteral("CurrentVersion"),
                    QStringLiteral("Uninstall")}};
}

KeyPath EntryKey(const QString& name) {
    KeyPath key = UninstallKey();
    key.names.append(name);
    return key;
}

} // namespace

std::unique_ptr<SqliteStore> OpenSyncStore(const QString& file, QString* error) {
    auto store = std::make_unique<SqliteStore>(file);
    if (!store->openStatus().ok()) {
        *error = store->openStatus().message;
        return nullptr;
    }
    return store;
}

std::optional<UninstallKeyView> ReadUninstallKey(SqliteStore& store, QString* error) {
    UninstallKeyView view;
    const auto batch = store.BeginReadBatch();
    QStringList names;
    StoreResult r = store.readKey(UninstallKey(), nullptr, &names);
    if (r.status == StoreStatus::NotFound)
        return view;
    if (!r.ok()) {
        *error = r.message;
        return std::nullopt;
    }
    QSet<QString> marked;
    const auto rows = store.ReadSubkeyValues(RootKey::LocalMachine, AppContext::UninstallKeyPath,
                                             {SourceMarkerValue}, &r);
    if (!r.ok()) {
        *error = r.message;
        return std::nullopt;
    }
    for (const auto& row : rows) {
        if (!row.values.value(0).isEmpty())
            marked.insert(FoldName(row.name));
    }
    for (const QString& name : std::as_const(names)) {
        const QString fold = FoldName(name);
        if (!marked.contains(fold)) {
            view.others.insert(fold);
            continue;
        }
        StoredEntry entry{name, {}};
        r = store.readKey(EntryKey(name), &entry.values, nullptr);
        if (!r.ok()) {
            *error = r.message;
            return std::nullopt;
        }
        view.owned.insert(fold, std::move(entry));
    }
    return view;
}

StoreResult ApplySyncPlan(SqliteStore& store, const SyncPlan& plan) {
    QList<StoreWrite> writes;
    for (const QString& name : plan.removals)
        writes.append({StoreWrite::Op::DeleteKey, EntryKey(name), {}});
    for (const EntryWrite& entry : plan.writes) {
        const KeyPath key = EntryKey(entry.name);
        for (const QString& value : entry.unset)
            writes.append({StoreWrite::Op::DeleteValue, key, RegValue{value, RegType::Sz, {}}});
        for (const RegValue& value : entry.set)
            writes.append({StoreWrite::Op::SetValue, key, value});
    }
    return store.applyWrites(writes);
}
