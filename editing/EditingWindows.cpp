#include "editing/EditingWindows.h"

#include "core/AppContext.h"
#include "dialogs/MainWindowHost.h"
#include "dialogs/WindowOpener.h"
#include "editing/FrmName.h"

void RegisterEditingWindows(WindowOpener& windows) {
    // The rename confirmation: the argument is the new name; 1 keeps it.
    windows.add(AppWindow::RenameConfirm, [](MainWindowHost& host, const QString& newName) {
        FrmName dialog(host.context().ConfigIniPath, host.dialogParent());
        dialog.RenErrorShow(newName);
        dialog.exec();
        return dialog.RenResult() ? 1 : 0;
    });
}
