#include "core/UninstallEntries.h"

#include "core/AppContext.h"
#include "core/RegFile.h"
#include "core/RegFileKey.h"
#include "core/TextHelpers.h"
#include "core/WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QMutex>
#include <QSemaphore>
#include <QThreadPool>

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

QString UninstallEntries::backupFileFor(const QString& key, const QString& displayName) const {
    return backupFileFor(key, displayName, {});
}

QString UninstallEntries::backupFileFor(const QString& key, const QString& displayName,
                                        const QHash<QString, QString>& claimed) const {
    const QString name = SafeFileName(displayName);
    const QString full = fullPath(key);
    const QString folded = FoldName(key);
    for (int number = 1;; ++number) {
        const QString file = JoinPath(
            backupFolder_, number == 1 ? name + QStringLiteral(".Reg")
                                       : QStringLiteral("%1 (%2).Reg").arg(name).arg(number));
        if (const auto taken = claimed.constFind(file); taken != claimed.cend()) {
            if (*taken == folded)
                return file;
            continue;
        }
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

QString UninstallEntries::notBackedUpMessage(const QString& key, const QString& displayName) const {
    return QStringLiteral("The program could not be backed up to \"%1\", so it was not removed "
                          "from the list.")
        .arg(QDir::toNativeSeparators(backupFileFor(key, displayName)));
}

// What the calling thread and the writer threads share.
struct BackupBatch::Shared {
    QThreadPool writers;
    // Bounds the exports held in memory while waiting for a writer.
    QSemaphore room{256};
    QMutex mutex;
    QMap<int, QString> failed; // order added -> display name
};

BackupBatch::BackupBatch(UninstallEntries& entries)
    : entries_(entries), shared_(std::make_shared<Shared>()) {
    shared_->writers.setMaxThreadCount(8);
}

BackupBatch::~BackupBatch() {
    shared_->writers.waitForDone();
}

bool BackupBatch::prepare() {
    return QDir().mkpath(entries_.backupFolder());
}

bool BackupBatch::add(const QString& key, const QString& displayName) {
    const int order = added_++;
    QByteArray bytes;
    RegFileWriter out([&bytes](QByteArrayView chunk) {
        bytes.append(chunk);
        return true;
    });
    if (!entries_.store().exportTree(UninstallEntries::keyPath(key), out) || !out.finish()) {
        const QMutexLocker lock(&shared_->mutex);
        shared_->failed.insert(order, displayName);
        return false;
    }
    const QString file = entries_.backupFileFor(key, displayName, claimed_);
    claimed_.insert(file, FoldName(key));
    shared_->room.acquire();
    shared_->writers.start([shared = shared_, file, bytes = std::move(bytes), order, displayName] {
        if (!WriteWholeFile(file, bytes)) {
            const QMutexLocker lock(&shared->mutex);
            shared->failed.insert(order, displayName);
        }
        shared->room.release();
    });
    return true;
}

QStringList BackupBatch::finish() {
    shared_->writers.waitForDone();
    const QMutexLocker lock(&shared_->mutex);
    return shared_->failed.values();
}
