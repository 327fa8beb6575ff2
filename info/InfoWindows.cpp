#include "info/InfoWindows.h"

#include "core/AppContext.h"
#include "dialogs/MainWindowHost.h"
#include "dialogs/WindowOpener.h"
#include "info/FrmAbout.h"
#include "info/FrmAllInfo.h"
#include "info/FrmInfo.h"

void RegisterInfoWindows(WindowOpener& windows) {
    windows.add(AppWindow::ProgramInfo, [](MainWindowHost& host, const QString&) {
        if (host.selectedKey().isEmpty())
            return 0;
        FrmInfo window(host, host.dialogParent());
        return window.exec();
    });
    windows.add(AppWindow::AllProgramsInfo, [](MainWindowHost& host, const QString&) {
        FrmAllInfo window(host, host.context().programFilesFolder, host.dialogParent());
        return window.exec();
    });
    windows.add(AppWindow::About, [](MainWindowHost& host, const QString&) {
        FrmAbout window(host.context(), host.dialogParent());
        return window.exec();
    });
}
