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

// Services that do nothing, in place until the real ones (or a test's fakes)
// are given: a question is answered as if the user declined it.
struct AppContext::NullServices {
    struct Messages final : MessageService {
        MsgAnswer MsgBox(const QString&, MsgButtons buttons, MsgIcon, const QString&,
                         int) override {
            switch (buttons) {
            case MsgButtons::Ok:
                return MsgAnswer::Ok;
            case MsgButtons::YesNo:
                return MsgAnswer::No;
            case MsgButtons::OkCancel:
            case MsgButtons::YesNoCancel:
            case MsgButtons::RetryCancel:
                break;
            }
            return MsgAnswer::Cancel;
        }
    } messages;
    struct Shell final : ShellService {
        bool ShellOpen(const QString&) override { return false; }
        bool ShowFileProperties(const QString&) override { return false; }
    } shell;
    struct Processes final : ProcessService {
        LaunchResult Start(const QString&) override {
            return {0, LaunchError::Other, QStringLiteral("No process service")};
        }
        LaunchResult StartProgram(const QString&, const QStringList&, const QString&) override {
            return {0, LaunchError::Other, QStringLiteral("No process service")};
        }
        bool IsRunning(qint64) override { return false; }
    } processes;
    struct Printer final : PrintService {
        bool PrintText(const QString&, const QString&, int) override { return false; }
    } printer;
    struct Clipboard final : ClipboardService {
        void SetText(const QString&) override {}
        QString Text() override { return QString(); }
    } clipboard;
    struct Dialogs final : DialogService {
        FileDialogAnswer FileDialog(const FileDialogRequest&) override { return {}; }
        std::optional<quint32> ColorDialog(quint32) override { return std::nullopt; }
        std::optional<int> PrintDialog(int) override { return std::nullopt; }
        QString FolderDialog(const FolderDialogRequest&) override { return QString(); }
    } dialogs;
};

AppContext::AppContext(const QString& programFolder, std::unique_ptr<Registry> store)
    : ConfigIniPath(JoinPath(programFolder, QStringLiteral("Config.Ini"))),
      InlogIniPath(JoinPath(programFolder, QStringLiteral("Inlog.Ini"))),
      UnlogIniPath(JoinPath(programFolder, QStringLiteral("Unlog.Ini"))),
      BackupFolder(JoinPath(programFolder, QStringLiteral("Fbk"))), executableFolder(programFolder),
      programFolder_(programFolder), store_(std::move(store)),
      nullServices_(std::make_unique<NullServices>()), services_{&nullServices_->messages,
                                                                 &nullServices_->shell,
                                                                 &nullServices_->processes,
                                                                 &nullServices_->printer,
                                                                 &nullServices_->clipboard,
                                                                 &nullServices_->dialogs} {}

AppContext::~AppContext() = default;

Registry& AppContext::store() {
    if (!store_)
        store_ = std::make_unique<SqliteStore>(JoinPath(programFolder_, StoreFileName));
    return *store_;
}

UninstallEntries& AppContext::entries() {
    if (!entries_)
        entries_ = std::make_unique<UninstallEntries>(store(), BackupFolder);
    return *entries_;
}

void AppContext::setServices(const AppServices& services) {
    auto take = [](auto*& mine, auto* given) {
        if (given)
            mine = given;
    };
    take(services_.messages, services.messages);
    take(services_.shell, services.shell);
    take(services_.processes, services.processes);
    take(services_.printer, services.printer);
    take(services_.clipboard, services.clipboard);
    take(services_.dialogs, services.dialogs);
}
