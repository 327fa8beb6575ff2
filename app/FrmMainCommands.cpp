// What the main window's commands do.
#include "app/EntryActions.h"
#include "app/FindPanel.h"
#include "app/FrmMain.h"
#include "app/ProgramListView.h"
#include "core/FileFolder.h"
#include "core/HelpFiles.h"
#include "core/TextHelpers.h"
#include "editing/FrmName.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString EntryValue(AppContext& context, const QString& key, const char* name) {
    return context.store().GetStringValue(RootKey::LocalMachine, AppContext::UninstallKeyPath + key,
                                          QLatin1String(name));
}
} // namespace

void FrmMain::openWindow(AppWindow window) {
    windows_.open(window, *this);
}

void FrmMain::refresh() {
    ResetList();
    a_.editSep3->setVisible(false);
    a_.editRemoveColors->setVisible(false);
}

void FrmMain::removeItemColors() {
    list_->clearItemBackgrounds();
    list_->hide();
    list_->show();
    a_.editSep3->setVisible(false);
    a_.editRemoveColors->setVisible(false);
}

void FrmMain::runDoubleClickAction() {
    switch (options().doubleClickAction) {
    case DoubleClickAction::Uninstall:
        openWindow(AppWindow::Uninstall);
        break;
    case DoubleClickAction::UninstallInformation:
        openWindow(AppWindow::ProgramInfo);
        break;
    case DoubleClickAction::Edit:
        openWindow(AppWindow::EditEntry);
        break;
    }
}

void FrmMain::deleteSelectedEntry() {
    const QString key = selectedKey();
    if (key.isEmpty())
        return;
    if (DeleteEntry(context_, key, selectedText(), options().confirmDelete) ==
        DeleteOutcome::Deleted)
        ResetList();
}

void FrmMain::exportSelectedEntry() {
    const QString key = selectedKey();
    if (!key.isEmpty())
        ExportEntry(context_, this, key, selectedText());
}

void FrmMain::renameSelected() {
    list_->editSelected();
}

void FrmMain::renameFinished(int row, const QString& newText) {
    // Renaming belongs to Advanced mode.
    if (!a_.editRename->isVisible())
        return;
    const QString key = list_->key(row);
    if (ReadIniFlag(context_.ConfigIniPath, QStringLiteral("Main"), QStringLiteral("RenDlg"),
                    false) == false) {
        for (int i = 0; i < list_->count(); ++i) {
            if (list_->text(i).compare(newText, Qt::CaseInsensitive) != 0)
                continue;
            FrmName dialog(context_.ConfigIniPath, this);
            dialog.RenErrorShow(newText);
            dialog.exec();
            if (!dialog.RenResult()) {
                list_->setText(row, oldItemText_);
                return;
            }
            break;
        }
    }
    if (!HasNonSpace(newText)) {
        list_->setText(row, oldItemText_);
        return;
    }
    context_.store().SetStringValue(RootKey::LocalMachine, AppContext::UninstallKeyPath + key,
                                    QStringLiteral("DisplayName"), newText);
    list_->setText(row, newText);
}

void FrmMain::openInstallLocation() {
    const QString key = selectedKey();
    if (!key.isEmpty() && context_.services.shell)
        context_.services.shell->ShellOpen(EntryValue(context_, key, "InstallLocation"));
}

void FrmMain::openPublisherUrl() {
    const QString key = selectedKey();
    if (!key.isEmpty() && context_.services.shell)
        context_.services.shell->ShellOpen(EntryValue(context_, key, "URLInfoAbout"));
}

void FrmMain::openSupportUrl() {
    const QString key = selectedKey();
    if (key.isEmpty() || !context_.services.shell)
        return;
    const QString link = EntryValue(context_, key, "HelpLink");
    // An at sign after the first character makes a mail address.
    if (link.indexOf(u'@') >= 1)
        context_.services.shell->ShellOpen(QStringLiteral("mailto:") + link);
    else
        context_.services.shell->ShellOpen(link);
}

void FrmMain::openProgramFiles() {
    if (context_.services.shell)
        context_.services.shell->ShellOpen(ProgramFilesFolder());
}

void FrmMain::openRegistryEditor() {
    // There is no registry editor here: the Uninstall key is exported to a
    // temporary .reg file and shown with the desktop's viewer for such files.
    const QString folder = QDir(QDir::tempPath()).filePath(QStringLiteral("relvano-registry"));
    QDir().mkpath(folder);
    const QString file = QDir(folder).filePath(QStringLiteral("Uninstall.reg"));
    if (context_.store().ExportKey(AppContext::UninstallKeyFullPath.chopped(1), file) &&
        context_.services.shell)
        context_.services.shell->ShellOpen(file);
}

void FrmMain::openHelpTopics() {
    // help.chm in the program folder, else the HTML pages in the browser.
    const HelpLocation help = FindHelp(context_.programFolder(), context_.executableFolder);
    if (help.kind != HelpLocation::Kind::None) {
        if (context_.services.shell)
            context_.services.shell->ShellOpen(help.path);
        return;
    }
    if (context_.services.messages)
        context_.services.messages->MsgBox(
            QStringLiteral("Help file not found, help file may be deleted, renamed or removed "
                           "from its directory."),
            MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Error"));
}

void FrmMain::runSoftwareCentre(bool updates) {
    if (!context_.services.processes)
        return;
    if (!QStandardPaths::findExecutable(QStringLiteral("gnome-software")).isEmpty())
        context_.services.processes->Start(updates ? QStringLiteral("gnome-software --mode=updates")
                                                   : QStringLiteral("gnome-software"));
    else
        context_.services.processes->Start(
            QStringLiteral("plasma-discover") +
            (updates ? QStringLiteral(" --mode Update") : QString()));
}
