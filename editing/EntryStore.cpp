#include "editing/EntryStore.h"

#include "core/AppContext.h"

namespace {
const QString DisplayName = QStringLiteral("DisplayName");
const QString UninstallString = QStringLiteral("UninstallString");

} // namespace

EntryStore::EntryStore(AppContext& context) : context_(context) {}

StoreResult EntryStore::entryPath(const QString& key, KeyPath* path) const {
    const auto names = SplitKeyPath(UninstallEntries::KeyPath);
    if (!names || key.isEmpty() || key.contains(u'\\') || key.size() > MaxKeyNameLength)
        return {StoreStatus::Invalid, QStringLiteral("not a valid key name: %1").arg(key)};
    *path = KeyPath{RootKey::LocalMachine, *names};
    path->names.append(key);
    return {};
}

QList<EntryValue> EntryStore::listedValues(const QString& key) {
    QList<EntryValue> listed;
    KeyPath path;
    Registry* store = &context_.store();
    if (!entryPath(key, &path).ok())
        return listed;
    QList<RegValue> values;
    if (!store->readKey(path, &values, nullptr).ok())
        return listed;
    listed.reserve(values.size());
    for (const RegValue& value : values) {
        if (value.data.isEmpty() || value.name.size() > MaxKeyNameLength)
            continue;
        QString text = ValueAsText(value.type, value.data);
        if (!text.isEmpty())
            listed.append({value.name, value.type, std::move(text)});
    }
    return listed;
}

quint32 EntryStore::valueType(const QString& key, const QString& name) {
    KeyPath path;
    Registry* store = &context_.store();
    QList<RegValue> values;
    if (!entryPath(key, &path).ok() || !store->readKey(path, &values, nullptr).ok())
        return RegType::None;
    for (const RegValue& value : values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0)
            return value.type;
    }
    return RegType::None;
}

QString EntryStore::text(const QString& key, const QString& name) {
    return context_.entries().value(key, name);
}

StoreResult EntryStore::writeText(const QString& key, const QString& name, const QString& text,
                                  quint32 type) {
    KeyPath path;
    if (StoreResult r = entryPath(key, &path); !r.ok())
        return r;
    return context_.store().setValue(path, MakeStringValue(name, text, type));
}

StoreResult EntryStore::deleteValue(const QString& key, const QString& name) {
    KeyPath path;
    if (StoreResult r = entryPath(key, &path); !r.ok())
        return r;
    Registry* store = &context_.store();
    StoreResult r = store->deleteValue(path, name);
    // A value that is already gone is what the user asked for.
    return r.status == StoreStatus::NotFound ? StoreResult{} : r;
}

QStringList EntryStore::keys() {
    return context_.entries().keys();
}

StoreResult EntryStore::addEntry(const QString& key, const QString& displayName,
                                 const QString& uninstallString) {
    KeyPath path;
    if (StoreResult r = entryPath(key, &path); !r.ok())
        return r;
    Registry* store = &context_.store();
    // Never write into (or take away) an entry that is there already.
    if (store->keyExists(path).ok())
        return {StoreStatus::Invalid, QStringLiteral("the entry %1 exists already").arg(key)};
    StoreResult r = store->setValue(path, MakeStringValue(DisplayName, displayName));
    if (r.ok()) {
        r = store->setValue(path, MakeStringValue(UninstallString, uninstallString));
        // Half an entry (a name without its command) is taken away again.
        if (!r.ok())
            store->deleteKey(path);
    }
    return r;
}
