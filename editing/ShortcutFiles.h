// What the shortcut dialog makes, without the dialog: which shortcuts a
// program offers, the internet shortcut's text, the desktop launcher, and
// writing them.
#pragma once

#include "core/WholeFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

enum class ShortcutKind { InstallFolder, PublisherUrl, SupportUrl };

// The three targets, as read from the entry (InstallLocation, URLInfoAbout, HelpLink).
struct ShortcutTargets {
    QString installFolder;
    QString publisherUrl;
    QString supportUrl;
};

struct ShortcutChoice {
    ShortcutKind kind = ShortcutKind::InstallFolder;
    QString caption; // "Installation Location", "Publisher Url", "Support Url"
    QString target;  // the folder or web address
};

// The shortcuts the program offers, in this order: each target longer than
// three characters.
QList<ShortcutChoice> ShortcutChoices(const ShortcutTargets& targets);

// The four lines of an internet shortcut (.url), UTF-8, CR LF. A line break
// inside the address is written percent-encoded, so the file keeps its four
// lines.
QByteArray InternetShortcutText(const QString& address);

// A desktop launcher (.desktop) for the shortcut: a link to the web address,
// or an application that opens the install folder with xdg-open. comment
// may be empty.
QByteArray DesktopLauncherText(const ShortcutChoice& choice, const QString& name,
                               const QString& comment);

struct ShortcutRequest {
    ShortcutChoice choice;
    QString folder;      // where the shortcut goes
    QString name;        // the file name without extension
    QString description; // kept in a folder shortcut
};

// The file the shortcut is written to: folder/name.lnk or folder/name.url.
QString ShortcutFile(const ShortcutRequest& request);

// Writes the shortcut, replacing a file of the same name. When the folder is
// desktopFolder, a desktop launcher of the same name goes beside it, since a
// Linux desktop opens neither kind of file. The first failure is returned.
WriteResult CreateShortcut(const ShortcutRequest& request, const QString& desktopFolder);
