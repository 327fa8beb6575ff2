#include "core/HelpFiles.h"

#include "core/AppContext.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool IsFile(const QString& path) {
    return QFileInfo(path).isFile();
}

} // namespace

HelpLocation FindHelp(const QString& programFolder, const QString& executableFolder) {
    const QString chm = JoinPath(programFolder, QStringLiteral("help.chm"));
    if (!programFolder.isEmpty() && IsFile(chm))
        return {HelpLocation::Kind::Chm, chm};
    if (executableFolder.isEmpty())
        return {};
    const QString candidates[] = {
        JoinPath(executableFolder, QStringLiteral("help/index.html")),
        JoinPath(JoinPath(executableFolder, InstalledHtmlHelpFolder), QStringLiteral("index.html")),
    };
    for (const QString& index : candidates) {
        if (IsFile(index))
            return {HelpLocation::Kind::Html, QDir::cleanPath(QFileInfo(index).absoluteFilePath())};
    }
    return {};
}
