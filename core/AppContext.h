// The process-wide state every window shares: where the program keeps its
// files, the registry store, the paths of the Uninstall key, the selected
// program's uninstall command and the services. One object is made at
// start-up (or by a test, over a temporary folder) and handed to each window.
#pragma once

#include "core/Registry.h"
#include "core/Services.h"

#include <QString>

#include <memory>

// folder + name, with a separator only when the folder lacks one.
QString JoinPath(const QString& folder, const QString& name);

// The program folder: the executable's folder when it is writable (a build
// tree, a portable install), otherwise the user's data folder for the program,
// which is created when missing. The folder a package installs the executable
// into (/usr/bin) never counts as writable, so that a program started by root
// keeps no files there either.
QString DefaultProgramFolder();

// The rule behind DefaultProgramFolder: executableFolder when it is writable and
// is not installedBinFolder, otherwise dataFolder.
QString ChooseProgramFolder(const QString& executableFolder, const QString& installedBinFolder,
                            const QString& dataFolder);

// The file name of the store in the program folder.
inline const QString StoreFileName = QStringLiteral("Registry.db");

struct AppServices {
    MessageService* messages = nullptr;
    ShellService* shell = nullptr;
    ProcessService* processes = nullptr;
    PrintService* printer = nullptr;
    ClipboardService* clipboard = nullptr;
    DialogService* dialogs = nullptr;
};

class AppContext {
public:
    // Opens (or creates) the store Registry.db in the program folder, unless a
    // store is given.
    explicit AppContext(const QString& programFolder, std::unique_ptr<Registry> store = nullptr);

    const QString& programFolder() const { return programFolder_; }
    Registry& store() { return *store_; }

    // The Uninstall key relative to HKEY_LOCAL_MACHINE, and in full; both end
    // with a backslash, so an entry's path is the key path + its subkey name.
    static inline const QString UninstallKeyPath =
        QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
    static inline const QString UninstallKeyFullPath =
        QStringLiteral("HKEY_LOCAL_MACHINE\\") + UninstallKeyPath;

    const QString ConfigIniPath;
    const QString InlogIniPath;
    const QString UnlogIniPath;
    // Where deleted and cleaned entries are backed up ("Fbk").
    const QString BackupFolder;
    // The folder of the program's executable, where the HTML help is looked
    // for. The program folder unless set (a build tree or a portable copy).
    QString executableFolder;

    // The UninstallString of the program last clicked or keyed on in the list.
    QString SelectedUninstallString;

    AppServices services;

private:
    QString programFolder_;
    std::unique_ptr<Registry> store_;
};
