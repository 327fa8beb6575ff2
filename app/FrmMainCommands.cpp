// What the main window's commands do.
#include "app/EntryActions.h"
#include "app/FindPanel.h"
#include "app/FrmMain.h"
#include "app/ProgramListView.h"
#include "core/Addresses.h"
#include "core/FileFolder.h"
#include "core/HelpFiles.h"
#include "core/TextHelpers.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString EntryValue(AppContext& context, const QString& key, const char* name) {
    return context.entries().value(key, QLatin1String(name));
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
    case DoubleClickAction::None:
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
    if (!LoadSkipRenameQuestion(context_.ConfigIniPath)) {
        for (int i = 0; i < list_->count(); ++i) {
            if (list_->text(i).compare(newText, Qt::CaseInsensitive) != 0)
                continue;
            if (windows_.open(AppWindow::RenameConfirm, *this, newText) != 1) {
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
    context_.entries().setValue(key, QStringLiteral("DisplayName"), newText);
    list_->setText(row, newText);
}

void FrmMain::openAddress(const QString& address) {
    if (context_.shell().ShellOpen(address))
        return;
    context_.messages().MsgBox(
        QStringLiteral("Relvano could not open \"%1\": it is neither an existing folder or "
                       "file nor a web or mail address that this desktop can open.")
            .arg(address),
        MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Relvano"));
}

void FrmMain::openInstallLocation() {
    const QString key = selectedKey();
    if (!key.isEmpty())
        openAddress(EntryValue(context_, key, "InstallLocation"));
}

void FrmMain::openPublisherUrl() {
    const QString key = selectedKey();
    if (!key.isEmpty())
        openAddress(EntryValue(context_, key, "URLInfoAbout"));
}

void FrmMain::openSupportUrl() {
    const QString key = selectedKey();
    if (key.isEmpty())
        return;
    const QString link = EntryValue(context_, key, "HelpLink");
    // An at sign after the first character makes a mail address (unless the
    // link has a scheme of its own: "https://example.com/@team").
    openAddress(IsMailAddress(link) ? MailUrlText(link) : link);
}

void FrmMain::openProgramFiles() {
    context_.shell().ShellOpen(ProgramFilesFolder());
}

void FrmMain::openRegistryEditor() {
    // There is no registry editor here: the Uninstall key is exported to a
    // .reg file in the user's own runtime folder (no other user can own or
    // read it) and shown with the desktop's viewer for such files.
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString folder = QDir(base).filePath(QStringLiteral("relvano-registry"));
    const QString file = QDir(folder).filePath(QStringLiteral("Uninstall.reg"));
    StoreResult exported{StoreStatus::Failed,
                         QStringLiteral("cannot make the folder %1").arg(folder)};
    if (QDir().mkpath(folder))
        exported = context_.store().ExportKey(UninstallEntries::FullKeyPath.chopped(1), file);
    if (!exported) {
        context_.messages().MsgBox(
            QStringLiteral("The list of installed programs could not be shown: ") +
                exported.message,
            MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
        return;
    }
    openAddress(file);
}

void FrmMain::openHelpTopics() {
    // help.chm in the program folder, else the HTML pages in the browser.
    const HelpLocation help = FindHelp(context_.programFolder(), context_.executableFolder);
    if (help.kind != HelpLocation::Kind::None) {
        context_.shell().ShellOpen(help.path);
        return;
    }
    context_.messages().MsgBox(
        QStringLiteral("Help file not found, help file may be deleted, renamed or removed "
                       "from its directory."),
        MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Error"));
}

void FrmMain::runSoftwareCentre(bool updates) {
    if (!QStandardPaths::findExecutable(QStringLiteral("gnome-software")).isEmpty())
        context_.processes().Start(updates ? QStringLiteral("gnome-software --mode=updates")
                                           : QStringLiteral("gnome-software"));
    else
        context_.processes().Start(QStringLiteral("plasma-discover") +
                                   (updates ? QStringLiteral(" --mode Update") : QString()));
}
