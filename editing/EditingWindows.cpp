#include "editing/EditingWindows.h"

#include "core/AppContext.h"
#include "dialogs/MainWindowHost.h"
#include "dialogs/WindowOpener.h"
#include "editing/FrmEdit.h"
#include "editing/FrmIcon.h"
#include "editing/FrmName.h"
#include "editing/FrmRegAdd.h"
#include "editing/FrmSh.h"

void RegisterEditingWindows(WindowOpener& windows) {
    // The rename confirmation: the argument is the new name; 1 keeps it.
    windows.add(AppWindow::RenameConfirm, [](MainWindowHost& host, const QString& newName) {
        FrmName dialog(host.context().ConfigIniPath, host.dialogParent());
        dialog.RenErrorShow(newName);
        dialog.exec();
        return dialog.RenResult() ? 1 : 0;
    });
    // The windows that act on the selected program open only with one selected.
    windows.add(AppWindow::EditEntry, [](MainWindowHost& host, const QString&) {
        if (host.selectedKey().isEmpty())
            return 0;
        FrmEdit editor(host, host.dialogParent());
        return editor.exec();
    });
    windows.add(AppWindow::AddEntry, [](MainWindowHost& host, const QString&) {
        FrmRegAdd dialog(host, host.dialogParent());
        return dialog.exec();
    });
    windows.add(AppWindow::ChangeIcon, [](MainWindowHost& host, const QString&) {
        if (host.selectedKey().isEmpty())
            return 0;
        FrmIcon dialog(host, host.dialogParent());
        return dialog.exec();
    });
    windows.add(AppWindow::Shortcut, [](MainWindowHost& host, const QString&) {
        if (host.selectedKey().isEmpty())
            return 0;
        FrmSh dialog(host, host.dialogParent());
        return dialog.exec();
    });
}
