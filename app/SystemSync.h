// Keeps the main list in line with the machine's own applications: the
// background sync reloads the list when it changed the store, and the main
// window asks for a sync on "Refresh", after an uninstall and when the
// options were saved. Part of the composition root: it joins the main window
// and the system source, which know nothing of each other.
#pragma once

class FrmMain;
class SystemSyncService;

void ConnectSystemSync(FrmMain& main, SystemSyncService& sync);
