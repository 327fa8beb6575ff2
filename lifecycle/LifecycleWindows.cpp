#include "lifecycle/LifecycleWindows.h"

#include "dialogs/MainWindowHost.h"
#include "dialogs/WindowOpener.h"
#include "lifecycle/FrmAddNew.h"
#include "lifecycle/FrmLog.h"
#include "lifecycle/FrmUn.h"

void RegisterLifecycleWindows(WindowOpener& windows) {
    windows.add(AppWindow::Uninstall, [](MainWindowHost& host, const QString&) {
        const QString key = host.selectedKey();
        if (key.isEmpty())
            return 0;
        FrmUn dialog(
            host.context(), key, host.selectedText(), [&host] { host.reloadList(); },
            host.dialogParent());
        return dialog.exec();
    });
    windows.add(AppWindow::AddNewProgram, [](MainWindowHost& host, const QString&) {
        FrmAddNew wizard(
            host.context(), [&host] { host.reloadList(); }, host.dialogParent());
        return wizard.exec();
    });
    windows.add(AppWindow::History, [](MainWindowHost& host, const QString&) {
        FrmLog history(host.context(), host.dialogParent());
        return history.exec();
    });
}
