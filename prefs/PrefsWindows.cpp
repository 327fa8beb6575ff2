#include "prefs/PrefsWindows.h"

#include "dialogs/MainWindowHost.h"
#include "dialogs/WindowOpener.h"
#include "prefs/FrmOptions.h"
#include "prefs/FrmStart.h"

void RegisterPrefsWindows(WindowOpener& windows) {
    windows.add(AppWindow::Options, [](MainWindowHost& host, const QString&) {
        FrmOptions window(host, host.dialogParent());
        return window.exec();
    });
    windows.add(AppWindow::QuickTour, [](MainWindowHost& host, const QString&) {
        FrmStart window(host.dialogParent());
        return window.exec();
    });
}
