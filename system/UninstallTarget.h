// The kinds of program the system source lists, and the ids that name one
// program of a kind in "relvano-uninstall <kind> <id>". Every id is checked
// against a strict character set before it is written into an entry or
// used: it is always passed on as one argument of its own, never through a
// shell, and can never be taken for an option.
#pragma once

#include <QString>

#include <optional>

enum class SourceKind { Deb, Flatpak, Snap, AppImage, Manual };

// "deb", "flatpak", "snap", "appimage", "manual": the RelvanoSource value
// and the first argument of relvano-uninstall.
QString KindName(SourceKind kind);
std::optional<SourceKind> ParseKind(const QString& name);

// deb:      package name, optionally ":arch"        (vim-common, libfoo:i386)
// flatpak:  system|user ":" app ref                  (system:app/org.foo.Bar/x86_64/stable)
// snap:     snap name, optionally "_instance"        (firefox, foo_beta)
// appimage: 12 lower-case hex digits of the path's hash
// manual:   never (nothing can uninstall it)
bool IsValidUninstallId(SourceKind kind, const QString& id);

struct FlatpakTarget {
    bool user = false; // the per-user installation, else the system one
    QString appId;
    QString arch;
    QString branch;
    QString ref() const; // "app/<appId>/<arch>/<branch>"
};
std::optional<FlatpakTarget> ParseFlatpakId(const QString& id);

// The command line of an entry: the program (quoted when it holds a blank),
// the kind and the id.
QString UninstallCommand(const QString& program, SourceKind kind, const QString& id);
