// Registers the install and uninstall windows with the main window.
#pragma once

class WindowOpener;

void RegisterLifecycleWindows(WindowOpener& windows);
