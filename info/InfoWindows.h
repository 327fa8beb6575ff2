// Registers the information windows: program information, all programs
// information and the about box.
#pragma once

class WindowOpener;

void RegisterInfoWindows(WindowOpener& windows);
