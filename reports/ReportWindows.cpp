#include "reports/ReportWindows.h"

#include "dialogs/MainWindowHost.h"
#include "dialogs/WindowOpener.h"
#include "reports/FrmList.h"
#include "reports/FrmReport.h"

void RegisterReportWindows(WindowOpener& windows) {
    windows.add(AppWindow::Report, [](MainWindowHost& host, const QString&) {
        FrmReport wizard(host, host.dialogParent());
        return wizard.exec();
    });
    windows.add(AppWindow::ProgramsList, [](MainWindowHost& host, const QString&) {
        FrmList window(host, host.dialogParent());
        return window.exec();
    });
}
