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

class BackupBatch;
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

// The progress bar's scale for n steps: at most 1000 (finer than a bar can
// show), so that a long list does not repaint the bar for every row.
short ProgressBarMax(qsizetype n);
int ProgressBarValue(qsizetype done, qsizetype n);

// "Creating Backup n % Complete": n the whole part of done * 100 / total.
QString BackupProgressText(qsizetype done, qsizetype total);

// Hands one listed entry's backup, under its DisplayName as the store holds
// it, to the batch. An export that cannot be read is among the failures the
// batch gives at its end; a DisplayName that cannot be read is not.
enum class RowBackup { Queued, NoDisplayName, NameUnreadable, ExportFailed };
RowBackup QueueBackup(BackupBatch& batch, UninstallEntries& entries, const QString& key);
