// Registers the windows of the main window's own folder: the about box.
#pragma once

class WindowOpener;

void RegisterAppWindows(WindowOpener& windows);
