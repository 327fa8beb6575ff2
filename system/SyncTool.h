// relvano-sync: runs the sync of the machine's applications into the store
// from a shell. Exit status 0 on success, 1 when the sync failed, 2 on wrong
// usage.
#pragma once

#include <QStringList>

#include <iosfwd>

// args without the program name.
int RunSyncTool(const QStringList& args, std::ostream& out, std::ostream& err);
