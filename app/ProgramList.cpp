#include "app/ProgramList.h"

#include "core/TextHelpers.h"

#include <QFileInfo>

bool IsListed(const QString& displayName, const QString& uninstallString, bool showHidden) {
    if (showHidden)
        return HasNonSpace(displayName);
    return !uninstallString.isEmpty() && !displayName.isEmpty();
}

QString UninstallColumnText(const QString& uninstallString, bool showHidden) {
    if (showHidden && uninstallString.isEmpty())
        return QStringLiteral("N/A");
    return uninstallString;
}

QString EntryIconFile(const QString& displayIcon, const QString& uninstallString) {
    const QString path = ExtractIconPath(displayIcon + uninstallString);
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    return info.isFile() ? path : QString();
}
