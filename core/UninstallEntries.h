// The entries of the Uninstall key: one subkey per installed program. Every
// window reads, writes, exports, backs up and deletes entries through this
// class, so that the key's path, the backup folder and its file naming live
// in one place.
#pragma once

#include "core/Registry.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class UninstallEntries {
public:
    // The Uninstall key relative to HKEY_LOCAL_MACHINE, and in full; both end
    // with a backslash, so an entry's path is the key path + its subkey name.
    static inline const QString KeyPath =
        QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
    static inline const QString FullKeyPath = QStringLiteral("HKEY_LOCAL_MACHINE\\") + KeyPath;

    UninstallEntries(Registry& store, QString backupFolder)
        : store_(store), backupFolder_(std::move(backupFolder)) {}

    Registry& store() { return store_; }
    const QString& backupFolder() const { return backupFolder_; }

    // The entry's path relative to HKEY_LOCAL_MACHINE, and in full.
    static QString path(const QString& key) { return KeyPath + key; }
    static QString fullPath(const QString& key) { return FullKeyPath + key; }
    // The entry's key as the typed store operations take it.
    static ::KeyPath keyPath(const QString& key);

    // A value read as text (empty when missing or unreadable), or with the
    // read's status.
    QString value(const QString& key, const QString& name);
    ValueRead read(const QString& key, const QString& name);
    void setValue(const QString& key, const QString& name, const QString& text);
    void deleteValue(const QString& key, const QString& name);
    // The names of the entry's values that hold data, in creation order.
    QStringList valueNames(const QString& key);

    // The subkey names of the Uninstall key, in the registry's order.
    QStringList keys();
    // Whether an entry of this name exists (names compare without regard to case).
    bool exists(const QString& key);

    // Writes the entry with its subkeys as a registry editor file.
    bool exportTo(const QString& key, const QString& file);
    // Deletes the entry with everything below it.
    void remove(const QString& key);

    // The backup file of an entry: the backup folder, SafeFileName(displayName),
    // ".Reg". Entries often share a display name, and a backup may be the only
    // copy of an entry deleted earlier, so a file that holds another key is
    // never replaced: the backup then goes to "<name> (2).Reg", "<name> (3).Reg",
    // ..., the first that is free or already holds this entry (whose old
    // backup it replaces). A file whose key cannot be read counts as another's.
    QString backupFileFor(const QString& key, const QString& displayName) const;
    // The same, where files already handed to a BackupBatch also count as
    // taken: claimed maps their paths to the keys they hold (folded).
    QString backupFileFor(const QString& key, const QString& displayName,
                          const QHash<QString, QString>& claimed) const;
    // Exports the entry to its backup file, creating the backup folder when
    // it is missing. True only when the whole file was written.
    bool backup(const QString& key, const QString& displayName);

    enum class RemoveOutcome {
        Removed,     // backed up, then deleted
        AlreadyGone, // there was no such entry: nothing to back up or delete
        NotBackedUp, // the backup could not be written, so nothing was deleted
    };
    // Backs the entry up and deletes it; the entry is never deleted without
    // its backup on disk, since it could not be brought back otherwise.
    RemoveOutcome backupAndRemove(const QString& key, const QString& displayName);
    // What the user is told when backupAndRemove() gives NotBackedUp.
    QString notBackedUpMessage(const QString& key, const QString& displayName) const;

private:
    Registry& store_;
    QString backupFolder_;
};

// Backs up many entries in one go (backup all), as UninstallEntries::backup
// names and writes each file. Each export is read from the store on the
// calling thread; the files are written whole by a few writer threads, since
// the disk's flush of each file, not the export, is what takes the time, and
// flushes issued together cost little more than one.
class BackupBatch {
public:
    explicit BackupBatch(UninstallEntries& entries);
    ~BackupBatch(); // waits for the files still being written
    BackupBatch(const BackupBatch&) = delete;
    BackupBatch& operator=(const BackupBatch&) = delete;

    // Creates the backup folder when it is missing; false when it cannot be.
    bool prepare();
    // Queues the entry's backup. False when it could not be read from the
    // store (then it is counted as failed at once).
    bool add(const QString& key, const QString& displayName);
    // Waits until every file is written; the display names of the entries
    // whose backup could not be written, in the order they were added.
    QStringList finish();

private:
    struct Shared;
    UninstallEntries& entries_;
    QHash<QString, QString> claimed_; // path -> folded key
    std::shared_ptr<Shared> shared_;
    int added_ = 0;
};
