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

QString ChooseProgramFolder(const QString& executableFolder, const QString& installedBinFolder,
                            const QString& dataFolder) {
    if (executableFolder.isEmpty() || !QFileInfo(executableFolder).isWritable())
        return dataFolder;
    // Compared as resolved paths: /bin is a link to /usr/bin on current systems.
    const QString exe = QFileInfo(executableFolder).canonicalFilePath();
    const QString installed = QFileInfo(installedBinFolder).canonicalFilePath();
    if (!installed.isEmpty() && exe == installed)
        return dataFolder;
    return executableFolder;
}

QString DefaultProgramFolder() {
#ifdef RELVANO_INSTALL_BINDIR
    const QString installedBinFolder = QStringLiteral(RELVANO_INSTALL_BINDIR);
#else
    const QString installedBinFolder;
#endif
    const QString folder =
        ChooseProgramFolder(QCoreApplication::applicationDirPath(), installedBinFolder,
                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QDir().mkpath(folder);
    return folder;
}

AppContext::AppContext(const QString& programFolder, std::unique_ptr<Registry> store)
    : ConfigIniPath(JoinPath(programFolder, QStringLiteral("Config.Ini"))),
      InlogIniPath(JoinPath(programFolder, QStringLiteral("Inlog.Ini"))),
      UnlogIniPath(JoinPath(programFolder, QStringLiteral("Unlog.Ini"))),
      BackupFolder(JoinPath(programFolder, QStringLiteral("Fbk"))), executableFolder(programFolder),
      programFolder_(programFolder), store_(std::move(store)) {
    if (!store_)
        store_ = std::make_unique<SqliteStore>(JoinPath(programFolder, StoreFileName));
}
