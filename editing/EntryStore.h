// Every store operation of the entry editing windows, in one place: reading
// an entry's values with their types, writing and deleting one value, adding
// an entry, and the names of the entries. Writes say whether they were done
// and why not, so that the windows can tell the user.
#pragma once

#include "core/Registry.h"
#include "core/RegistryTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

class AppContext;

// A value of an entry as the editor lists it.
struct EntryValue {
    QString name;
    quint32 type = RegType::Sz;
    QString text; // as the string reader gives it
};

class EntryStore {
public:
    explicit EntryStore(AppContext& context);

    // The values of the entry that read as non-empty text, in creation order
    // (names too long to enumerate are left out, as the enumeration does).
    QList<EntryValue> listedValues(const QString& key);
    // The type of a value; RegType::None when the entry has no such value.
    quint32 valueType(const QString& key, const QString& name);
    // One value as text; empty when missing.
    QString text(const QString& key, const QString& name);

    // Writes text as a string value of the given type (REG_SZ or REG_EXPAND_SZ).
    StoreResult writeText(const QString& key, const QString& name, const QString& text,
                          quint32 type = RegType::Sz);
    StoreResult deleteValue(const QString& key, const QString& name);

    // The names of the Uninstall key's entries.
    QStringList keys();
    // Creates the entry with DisplayName and UninstallString, both or neither;
    // an entry of that name must not exist yet.
    StoreResult addEntry(const QString& key, const QString& displayName,
                         const QString& uninstallString);

private:
    StoreResult entryPath(const QString& key, KeyPath* path) const;

    AppContext& context_;
};
