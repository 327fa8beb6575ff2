#include "core/AppContext.h"

#include "core/SqliteStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + name;
    return folder + u'/' + name;
}

QString DefaultProgramFolder() {
    const QString exeFolder = QCoreApplication::applicationDirPath();
    if (!exeFolder.isEmpty() && QFileInfo(exeFolder).isWritable())
        return exeFolder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

AppContext::AppContext(const QString& programFolder, std::unique_ptr<Registry> store)
    : ConfigIniPath(JoinPath(programFolder, QStringLiteral("Config.Ini"))),
      InlogIniPath(JoinPath(programFolder, QStringLiteral("Inlog.Ini"))),
      UnlogIniPath(JoinPath(programFolder, QStringLiteral("Unlog.Ini"))),
      BackupFolder(JoinPath(programFolder, QStringLiteral("Fbk"))), programFolder_(programFolder),
      store_(std::move(store)) {
    if (!store_)
        store_ = std::make_unique<SqliteStore>(JoinPath(programFolder, StoreFileName));
}
