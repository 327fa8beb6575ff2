#include "reports/ReportWizardLogic.h"

#include "core/TextHelpers.h"

#include <QFileInfo>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

QString ParentFolderName(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString LastPathComponent(const QString& path) {
    return path.mid(path.lastIndexOf(u'/') + 1);
}

bool FolderExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

QString WithDefaultReportExtension(const QString& text) {
    if (FolderExists(text) || !FolderExists(ParentFolderName(text)))
        return text;
    const QString lower = text.toLower();
    if (lower.endsWith(u".htm") || lower.endsWith(u".txt") || lower.endsWith(u".html"))
        return text;
    return text + QStringLiteral(".txt");
}

QString BrowsedReportName(const QString& chosen, int filterIndex) {
    const QString lower = chosen.toLower();
    if (filterIndex == 1)
        return lower.endsWith(u".txt") ? chosen : chosen + QStringLiteral(".txt");
    return lower.endsWith(u".htm") || lower.endsWith(u".html") ? chosen
                                                               : chosen + QStringLiteral(".htm");
}

ReportNameCheck CheckReportFileName(const QString& text) {
    const QString parent = ParentFolderName(text);
    if (!FolderExists(text) && FolderExists(parent)) {
        if (CountInvalidNameChars(LastPathComponent(text)) == 0)
            return {};
        return {ReportNameCheck::InvalidCharacters,
                QStringLiteral("A filename cannot contain any of the following characters :") +
                    kCrLf + QStringLiteral("\\/:*?\"<>|"),
                0};
    }
    if (FolderExists(text))
        return {ReportNameCheck::IsFolder,
                QStringLiteral("Please type the report file name after the path") + kCrLf +
                    QStringLiteral("Example 'MyReport.txt' or 'MyReport.htm'"),
                0};
    const QString folder = parent.isEmpty() ? text : parent;
    return {ReportNameCheck::MissingFolder,
            QStringLiteral("This path '") + folder + QStringLiteral("' Doesn't exists") + kCrLf +
                QStringLiteral("Please click 'browse' to select the path and file name."),
            folder.size()};
}

QString ReportSummaryText(qsizetype total, qsizetype chosen) {
    return QStringLiteral("Total Installd Programs : ") + QString::number(total) + kCrLf +
           QStringLiteral("Selected Programs : ") + QString::number(chosen) + kCrLf + kCrLf +
           kCrLf + QStringLiteral("Press ' Finish ' to To Create Report");
}
