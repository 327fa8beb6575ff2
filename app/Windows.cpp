#include "app/Windows.h"

#include "app/AppWindows.h"
#include "backup/BackupWindows.h"
#include "editing/EditingWindows.h"
#include "lifecycle/LifecycleWindows.h"
#include "reports/ReportWindows.h"

void RegisterAllWindows(WindowOpener& windows) {
    RegisterAppWindows(windows);
    RegisterLifecycleWindows(windows);
    RegisterEditingWindows(windows);
    RegisterBackupWindows(windows);
    RegisterReportWindows(windows);
}
