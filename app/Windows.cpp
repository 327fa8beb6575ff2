#include "app/Windows.h"

#include "backup/BackupWindows.h"
#include "editing/EditingWindows.h"
#include "info/InfoWindows.h"
#include "lifecycle/LifecycleWindows.h"
#include "prefs/PrefsWindows.h"
#include "reports/ReportWindows.h"

void RegisterAllWindows(WindowOpener& windows) {
    RegisterLifecycleWindows(windows);
    RegisterEditingWindows(windows);
    RegisterInfoWindows(windows);
    RegisterPrefsWindows(windows);
    RegisterBackupWindows(windows);
    RegisterReportWindows(windows);
}
