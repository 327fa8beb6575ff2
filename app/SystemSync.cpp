#include "app/SystemSync.h"

#include "app/FrmMain.h"
#include "system/SystemSyncService.h"

void ConnectSystemSync(FrmMain& main, SystemSyncService& sync) {
    QObject::connect(&sync, &SystemSyncService::storeChanged, &main, &FrmMain::ResetList);
    QObject::connect(&main, &FrmMain::programsMayHaveChanged, &sync,
                     &SystemSyncService::requestSync);
    QObject::connect(&main, &FrmMain::optionsApplied, &sync, &SystemSyncService::reloadSetting);
}
