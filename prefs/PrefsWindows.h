// Registers the preference windows: the options and the quick tour.
#pragma once

class WindowOpener;

void RegisterPrefsWindows(WindowOpener& windows);
