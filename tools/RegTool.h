// relvano-reg: the command-line face of the registry store, for installers,
// uninstallers, scripts and people. Every failure is reported on standard
// error and gives a non-zero exit status.
#pragma once

#include <QString>
#include <QStringList>

#include <iosfwd>

// Runs the tool with the given arguments (without the program name) and
// returns its exit status. Output goes to out, messages to err.
int RunRegTool(const QStringList& args, std::ostream& out, std::ostream& err);
