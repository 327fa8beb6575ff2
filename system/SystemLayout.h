// Where the system source looks for the machine's applications: a file-system
// root and the standard folders below it.
//
// Every path held here is a path as seen on that root ("/usr/share"); file()
// turns it into a path this process can open (the root prefixed). With the
// real root "/" both are the same; tests and `relvano-sync --root DIR` read a
// synthetic tree instead.
#pragma once

#include <QString>
#include <QStringList>

struct SystemLayout {
    QString root = QStringLiteral("/");
    // $XDG_DATA_HOME and $XDG_DATA_DIRS, in order of precedence.
    QString dataHome;
    QStringList dataDirs;
    // The folders searched for a program named without a path ($PATH).
    QStringList pathDirs;
    // The locale whose Name[xx] is shown ("de_DE@euro"; "" or "C" for none).
    QString locale;
    // The uninstall helper written into UninstallString.
    QString uninstallProgram;

    // The layout of the running session ($XDG_*, $PATH, $LC_ALL/$LC_MESSAGES/$LANG),
    // read on root (default "/"). The uninstall helper is the one beside this
    // program.
    static SystemLayout FromEnvironment(const QString& root = QStringLiteral("/"));

    // The path on the root as a path this process can open.
    QString file(const QString& path) const;
    // The inverse of file(): a path this process sees, as seen on the root.
    QString onRoot(const QString& file) const;

    // The data folders in order of precedence: dataHome, dataDirs, then the
    // Flatpak export folders (user, system) when the session does not list
    // them already. Paths on the root, without duplicates.
    QStringList shareDirs() const;
    // Desktop entry folders in order of precedence: each share folder's
    // "applications", then the Snap folder.
    QStringList applicationDirs() const;

    // The Flatpak installations: user (dataHome/flatpak) and system.
    QString flatpakUserDir() const;
    static QString flatpakSystemDir() { return QStringLiteral("/var/lib/flatpak"); }
    static QString snapDesktopDir() {
        return QStringLiteral("/var/lib/snapd/desktop/applications");
    }
    static QString dpkgDir() { return QStringLiteral("/var/lib/dpkg"); }
};
