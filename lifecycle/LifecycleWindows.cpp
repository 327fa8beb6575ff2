#include "lifecycle/LifecycleWindows.h"

#include "app/FrmMain.h"
#include "app/WindowOpener.h"
#include "lifecycle/FrmAddNew.h"
#include "lifecycle/FrmLog.h"
#include "lifecycle/FrmUn.h"

void RegisterLifecycleWindows(WindowOpener& windows) {
    windows.setOpener(AppWindow::Uninstall, [](FrmMain& main) {
        if (main.selectedKey().isEmpty())
            return;
        FrmUn dialog(
            main.context(), main.selectedKey(), main.selectedText(), [&main] { main.ResetList(); },
            &main);
        dialog.exec();
    });
    windows.setOpener(AppWindow::AddNewProgram, [](FrmMain& main) {
        FrmAddNew wizard(
            main.context(), [&main] { main.ResetList(); }, &main);
        wizard.exec();
    });
    windows.setOpener(AppWindow::History, [](FrmMain& main) {
        FrmLog history(main.context(), &main);
        history.exec();
    });
}
