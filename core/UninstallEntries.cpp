#include "core/UninstallEntries.h"

#include "core/AppContext.h"
#include "core/RegFileKey.h"
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

bool UninstallEntries::exists(const QString& key) {
    const QStringList names = keys();
    return std::any_of(names.cbegin(), names.cend(), [&key](const QString& name) {
        return name.compare(key, Qt::CaseInsensitive) == 0;
    });
}

bool UninstallEntries::exportTo(const QString& key, const QString& file) {
    return static_cast<bool>(store_.ExportKey(fullPath(key), file));
}

void UninstallEntries::remove(const QString& key) {
    store_.DeleteKey(HKLM, path(key));
}

QString UninstallEntries::backupFileFor(const QString& key, const QString& displayName) const {
    const QString name = SafeFileName(displayName);
    const QString full = fullPath(key);
    for (int number = 1;; ++number) {
        const QString file =
            JoinPath(backupFolder_, number == 1 ? name + QStringLiteral(".Reg")
                                                : QStringLiteral("%1 (%2).Reg").arg(name).arg(number));
        if (!QFileInfo::exists(file) || RegFileHoldsKey(file, full))
            return file;
    }
}

bool UninstallEntries::backup(const QString& key, const QString& displayName) {
    if (!QDir().mkpath(backupFolder_))
        return false;
    const QString file = backupFileFor(key, displayName);
    return exportTo(key, file) && QFileInfo(file).size() > 0;
}

UninstallEntries::RemoveOutcome UninstallEntries::backupAndRemove(const QString& key,
                                                                  const QString& displayName) {
    if (!backup(key, displayName))
        return RemoveOutcome::NotBackedUp;
    remove(key);
    return RemoveOutcome::Removed;
}

QString UninstallEntries::notBackedUpMessage(const QString& key,
                                             const QString& displayName) const {
    return QStringLiteral("The program could not be backed up to \"%1\", so it was not removed "
                          "from the list.")
        .arg(QDir::toNativeSeparators(backupFileFor(key, displayName)));
}
