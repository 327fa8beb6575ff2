#include "backup/BackupLogic.h"

#include "core/UninstallEntries.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
// How much of a long list of problems a message box shows.
constexpr qsizetype kMaxFilesShown = 10;
constexpr qsizetype kMaxLinesShown = 3;

} // namespace

QList<BackupFile> ListBackupFiles(const QString& folder) {
    QList<BackupFile> files;
    if (folder.isEmpty())
        return files;
    // Name filters without QDir::CaseSensitive match in any case.
    const QFileInfoList infos = QDir(folder).entryInfoList(
        {QStringLiteral("*.reg")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    files.reserve(infos.size());
    for (const QFileInfo& info : infos) {
        if (info.fileName().isEmpty())
            continue;
        // Not every file system keeps a creation time; the last change stands in.
        QDateTime created = info.birthTime();
        if (!created.isValid())
            created = info.lastModified();
        files.append({info.fileName(), created});
    }
    return files;
}

QString BackupCountText(qsizetype count) {
    return QStringLiteral("backup Files  : ") + QString::number(count);
}

QString RestoringStepText(qsizetype i, qsizetype n) {
    return QStringLiteral("Resotring file ( %1/%2 )").arg(i).arg(n);
}

std::optional<RestoreProblem> RestoreFile(Registry& store, const QString& path) {
    const ImportReport report = store.ImportFile(path);
    if (report.imported && report.issues.isEmpty())
        return std::nullopt;
    RestoreProblem problem{QFileInfo(path).fileName(), QString(), report.issues};
    if (!report.imported)
        problem.error =
            report.error.isEmpty() ? QStringLiteral("nothing could be imported") : report.error;
    return problem;
}

RestoreMessage RestoredMessage(qsizetype selected, const QList<RestoreProblem>& problems) {
    if (problems.isEmpty())
        return {selected == 1
                    ? QStringLiteral("Selected file was sucessfully restored to thr registry.")
                    : QStringLiteral("Selected files was sucessfully restored to thr registry."),
                MsgIcon::Information};
    const bool anythingImported =
        problems.size() < selected ||
        std::any_of(problems.cbegin(), problems.cend(),
                    [](const RestoreProblem& p) { return p.error.isEmpty(); });
    QStringList lines;
    lines << (anythingImported ? QStringLiteral("Not everything could be restored to the registry:")
              : selected == 1  ? QStringLiteral("The selected file could not be restored:")
                               : QStringLiteral("The selected files could not be restored:"))
          << QString();
    for (qsizetype i = 0; i < problems.size() && i < kMaxFilesShown; ++i) {
        const RestoreProblem& p = problems[i];
        if (!p.error.isEmpty()) {
            lines << p.file + QStringLiteral(" : ") + p.error;
            continue;
        }
        lines << p.file + QStringLiteral(" : ") +
                     (p.issues.size() == 1
                          ? QStringLiteral("1 line could not be taken")
                          : QStringLiteral("%1 lines could not be taken").arg(p.issues.size()));
        for (qsizetype k = 0; k < p.issues.size() && k < kMaxLinesShown; ++k)
            lines
                << QStringLiteral("    line %1: %2").arg(p.issues[k].line).arg(p.issues[k].reason);
        if (p.issues.size() > kMaxLinesShown)
            lines << QStringLiteral("    ...");
    }
    if (problems.size() > kMaxFilesShown)
        lines << QStringLiteral("and %1 more files").arg(problems.size() - kMaxFilesShown);
    if (anythingImported)
        lines << QString() << QStringLiteral("Everything else was restored to the registry.");
    return {lines.join(kCrLf), MsgIcon::Exclamation};
}

RestoreMessage DeletedMessage(qsizetype deleted, const QStringList& notDeleted) {
    QString text = QString::number(deleted) + (deleted == 1 ? QStringLiteral(" File deleted")
                                                            : QStringLiteral(" Files deleted"));
    if (notDeleted.isEmpty())
        return {text, MsgIcon::Information};
    text += kCrLf + kCrLf +
            (notDeleted.size() == 1 ? QStringLiteral("This file could not be deleted:")
                                    : QStringLiteral("These files could not be deleted:"));
    for (qsizetype i = 0; i < notDeleted.size() && i < kMaxFilesShown; ++i)
        text += kCrLf + notDeleted[i];
    if (notDeleted.size() > kMaxFilesShown)
        text += kCrLf + QStringLiteral("and %1 more files").arg(notDeleted.size() - kMaxFilesShown);
    return {text, MsgIcon::Exclamation};
}

short ProgressBarMax(qsizetype n) {
    return static_cast<short>(std::clamp<qsizetype>(n, 0, 1000));
}

int ProgressBarValue(qsizetype done, qsizetype n) {
    return n <= 0 ? 0 : static_cast<int>(static_cast<qint64>(done) * ProgressBarMax(n) / n);
}

QString BackupProgressText(qsizetype done, qsizetype total) {
    const qint64 percent = total > 0 ? static_cast<qint64>(done) * 100 / total : 0;
    return QStringLiteral("Creating Backup ") + QString::number(percent) +
           QStringLiteral(" % Complete");
}

RowBackup QueueBackup(BackupBatch& batch, UninstallEntries& entries, const QString& key) {
    const ValueRead name = entries.read(key, QStringLiteral("DisplayName"));
    // A store that could not be read is a failure, not a missing name.
    if (name.failed())
        return RowBackup::NameUnreadable;
    if (name.text.isEmpty())
        return RowBackup::NoDisplayName;
    return batch.add(key, name.text) ? RowBackup::Queued : RowBackup::ExportFailed;
}
