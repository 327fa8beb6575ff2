// Registers the restore window and the backup dialog.
#pragma once

class WindowOpener;

void RegisterBackupWindows(WindowOpener& windows);
