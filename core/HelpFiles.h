// Where the program's help is. help.chm in the program folder comes first, as
// it always did; otherwise the HTML pages: beside the executable in a build
// tree or a portable copy (help/index.html), or in the documentation folder of
// an installed copy (../share/doc/relvano/html/index.html from the executable).
#pragma once

#include <QString>

struct HelpLocation {
    enum class Kind { None, Chm, Html };
    Kind kind = Kind::None;
    // The file to open; empty when there is no help.
    QString path;
};

// The HTML help's folder relative to the installed executable's folder.
inline const QString InstalledHtmlHelpFolder = QStringLiteral("../share/doc/relvano/html");

HelpLocation FindHelp(const QString& programFolder, const QString& executableFolder);
