#include "backup/BackupWindows.h"

#include "backup/FrmBackup.h"
#include "backup/FrmRestore.h"
#include "dialogs/MainWindowHost.h"
#include "dialogs/WindowOpener.h"

void RegisterBackupWindows(WindowOpener& windows) {
    windows.add(AppWindow::Restore, [](MainWindowHost& host, const QString&) {
        FrmRestore window(host, host.dialogParent());
        return window.exec();
    });
    windows.add(AppWindow::Backup, [](MainWindowHost& host, const QString&) {
        FrmBackup dialog(host, host.dialogParent());
        return dialog.exec();
    });
}
