#include "core/UninstallEntries.h"

#include "core/AppContext.h"
#include "core/TextHelpers.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr RootKey HKLM = RootKey::LocalMachine;
} // namespace

QString UninstallEntries::value(const QString& key, const QString& name) {
    return store_.GetStringValue(HKLM, path(key), name);
}

ValueRead UninstallEntries::read(const QString& key, const QString& name) {
    return store_.ReadStringValue(HKLM, path(key), name);
}

void UninstallEntries::setValue(const QString& key, const QString& name, const QString& text) {
    store_.SetStringValue(HKLM, path(key), name, text);
}

void UninstallEntries::deleteValue(const QString& key, const QString& name) {
    store_.DeleteValue(HKLM, path(key), name);
}

QStringList UninstallEntries::valueNames(const QString& key) {
    QStringList names;
    store_.EnumValueNames(HKLM, path(key), names);
    return names;
}

QStringList UninstallEntries::keys() {
    QStringList names;
    store_.EnumSubkeys(HKLM, KeyPath, names);
    return names;
}

::KeyPath UninstallEntries::keyPath(const QString& key) {
    ::KeyPath path{HKLM, KeyPath.split(u'\\', Qt::SkipEmptyParts)};
    path.names.append(key);
    return path;
}

bool UninstallEntries::exists(const QString& key) {
    return store_.keyExists(keyPath(key)).ok();
}

bool UninstallEntries::exportTo(const QString& key, const QString& file) {
    return static_cast<bool>(store_.ExportKey(fullPath(key), file));
}

void UninstallEntries::remove(const QString& key) {
    store_.DeleteKey(HKLM, path(key));
}

QString UninstallEntries::backupFileFor(const QString& displayName) const {
    return JoinPath(backupFolder_, SafeFileName(displayName) + QStringLiteral(".Reg"));
}

bool UninstallEntries::backup(const QString& key, const QString& displayName) {
    if (!QDir().mkpath(backupFolder_))
        return false;
    const QString file = backupFileFor(displayName);
    return exportTo(key, file) && QFileInfo(file).size() > 0;
}

UninstallEntries::RemoveOutcome UninstallEntries::backupAndRemove(const QString& key,
                                                                  const QString& displayName) {
    // An entry that is no longer there has nothing to back up or delete. A
    // store that cannot say counts as the entry being there: the backup then
    // fails and nothing is deleted.
    if (store_.keyExists(keyPath(key)).status == StoreStatus::NotFound)
        return RemoveOutcome::AlreadyGone;
    if (!backup(key, displayName))
        return RemoveOutcome::NotBackedUp;
    remove(key);
    return RemoveOutcome::Removed;
}

QString UninstallEntries::notBackedUpMessage(const QString& displayName) const {
    return QStringLiteral("The program could not be backed up to \"%1\", so it was not removed "
                          "from the list.")
        .arg(QDir::toNativeSeparators(backupFileFor(displayName)));
}
