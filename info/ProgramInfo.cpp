#include "info/ProgramInfo.h"

#include "core/UninstallEntries.h"

QList<InfoRow> ProgramInfoRows(UninstallEntries& entries, const QString& key,
                               const QString& sizeText) {
    auto value = [&](const char* name) {
        return entries.value(key, QLatin1String(name));
    };
    const QList<InfoRow> rows{
        {QStringLiteral("Registry Name"), key},
        {QStringLiteral("Program Size"), sizeText},
        {QStringLiteral("Install Source"), value("InstallSource")},
        {QStringLiteral("Install Location"), value("InstallLocation")},
        {QStringLiteral("Uninstall String"), value("UninstallString")},
        {QStringLiteral("Install Date"), value("InstallDate")},
        {QStringLiteral("Publisher"), value("Publisher")},
        {QStringLiteral("Version"), value("DisplayVersion")},
        {QStringLiteral("Publisher Url"), value("URLInfoAbout")},
        {QStringLiteral("Support Url"), value("HelpLink")},
    };
    QList<InfoRow> shown;
    for (const InfoRow& row : rows)
        shown.append({row.property, row.value.isEmpty() ? NotAvailable : row.value});
    return shown;
}

QString InstallLocationOf(UninstallEntries& entries, const QString& key) {
    return entries.value(key, QStringLiteral("InstallLocation"));
}

bool RowOpens(int row, const QString& value) {
    const bool openable = row == 3 || row == 4 || row == 9 || row == 10;
    return openable && value != NotAvailable && value.size() > 2;
}
