// The process-wide state every window shares: where the program keeps its
// files, the registry store and its Uninstall entries, the two history files
// and the services. One object is made at start-up (or by a test, over a
// temporary folder) and handed to each window.
#pragma once

#include "core/HistoryLog.h"
#include "core/Registry.h"
#include "core/Services.h"
#include "core/UninstallEntries.h"

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

// The services a context uses; a null member leaves the one in place.
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
    // The store is Registry.db in the program folder, unless one is given; it
    // is opened (or created) when first used, so that a context that is never
    // used (a second start that is refused) leaves no file behind. Until
    // setServices() gives real ones, the services do nothing: message boxes
    // answer as if cancelled, nothing opens or starts.
    explicit AppContext(const QString& programFolder, std::unique_ptr<Registry> store = nullptr);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    const QString& programFolder() const { return programFolder_; }
    Registry& store();
    UninstallEntries& entries();
    // The install history (Inlog.Ini) and the uninstall history (Unlog.Ini).
    HistoryLog history() const { return HistoryLog(InlogIniPath, UnlogIniPath); }

    // The Uninstall key relative to HKEY_LOCAL_MACHINE, and in full.
    static inline const QString& UninstallKeyPath = UninstallEntries::KeyPath;
    static inline const QString& UninstallKeyFullPath = UninstallEntries::FullKeyPath;

    const QString ConfigIniPath;
    const QString InlogIniPath;
    const QString UnlogIniPath;
    // Where deleted and cleaned entries are backed up ("Fbk").
    const QString BackupFolder;
    // The folder of the program's executable, where the HTML help is looked
    // for. The program folder unless set (a build tree or a portable copy).
    QString executableFolder;

    // Replaces the services that are given (non-null members).
    void setServices(const AppServices& services);
    MessageService& messages() const { return *services_.messages; }
    ShellService& shell() const { return *services_.shell; }
    ProcessService& processes() const { return *services_.processes; }
    PrintService& printer() const { return *services_.printer; }
    ClipboardService& clipboard() const { return *services_.clipboard; }
    DialogService& dialogs() const { return *services_.dialogs; }

private:
    struct NullServices;
    QString programFolder_;
    std::unique_ptr<Registry> store_;
    std::unique_ptr<UninstallEntries> entries_;
    std::unique_ptr<NullServices> nullServices_;
    AppServices services_;
};
