// The composition root's list of windows: every window folder registers its
// windows here, and nowhere else.
#pragma once

class WindowOpener;

void RegisterAllWindows(WindowOpener& windows);
