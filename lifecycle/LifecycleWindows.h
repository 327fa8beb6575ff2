// Registers the install wizard, the uninstall dialog and the history window.
#pragma once

class WindowOpener;

void RegisterLifecycleWindows(WindowOpener& windows);
