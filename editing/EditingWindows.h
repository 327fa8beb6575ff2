// Registers the entry editing windows.
#pragma once

class WindowOpener;

void RegisterEditingWindows(WindowOpener& windows);
