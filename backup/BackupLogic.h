// What the restore window and the backup dialog decide without widgets: the
// backup files of the folder, one import and one backup, and the texts the
// user is shown.
#pragma once

#include "core/Registry.h"
#include "core/Services.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class UninstallEntries;

// One backup file of the backup folder.
struct BackupFile {
    QString name; // with its extension, without the folder
    QDateTime created;
};
// The files of the folder whose names end in ".reg" in any case, by name
// without regard to case; none when the folder is missing.
QList<BackupFile> ListBackupFiles(const QString& folder);

// "backup Files  : " and the number of files.
QString BackupCountText(qsizetype count);
// "Resotring file ( i/n )".
QString RestoringStepText(qsizetype i, qsizetype n);

// A selected file that was not restored whole: why nothing was imported, or
// the lines the import could not take.
struct RestoreProblem {
    QString file;  // name without the folder
    QString error; // nothing imported: the reason; empty when lines were skipped
    QList<ImportIssue> issues;
};
// Imports one backup file into the store; a problem when it was not taken whole.
std::optional<RestoreProblem> RestoreFile(Registry& store, const QString& path);

// The message after a restore of selected files: the success message when
// every file was imported whole, else what was not restored.
struct RestoreMessage {
    QString text;
    MsgIcon icon = MsgIcon::Information;
};
RestoreMessage RestoredMessage(qsizetype selected, const QList<RestoreProblem>& problems);

// The message after deleting backup files: the number actually deleted, and
// the files that could not be deleted.
RestoreMessage DeletedMessage(qsizetype deleted, const QStringList& notDeleted);

// "Creating Backup n % Complete": n the whole part of done * 100 / total.
QString BackupProgressText(qsizetype done, qsizetype total);

// Backs up one listed entry under its DisplayName as the store holds it.
enum class RowBackup { Written, NoDisplayName, Failed };
RowBackup BackupEntry(UninstallEntries& entries, const QString& key);
