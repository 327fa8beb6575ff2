// Registers the report wizard and the programs list window.
#pragma once

class WindowOpener;

void RegisterReportWindows(WindowOpener& windows);
