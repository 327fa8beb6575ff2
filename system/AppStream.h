// AppStream metainfo files (share/metainfo/*.xml, the older share/appdata):
// who made an application, its web and help addresses, its newest release.
#pragma once

#include "system/Dpkg.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

struct AppStreamInfo {
    QString id;             // the component id
    QStringList desktopIds; // the desktop entries it describes ("org.foo.Bar.desktop")
    QString developerName;
    QString homepage;
    QString helpUrl;
    QString version; // of the newest release listed
};

// One metainfo file; nothing when it is not a component.
std::optional<AppStreamInfo> ParseMetainfo(const QByteArray& xml);

// The metainfo files of a set of folders, by the desktop entries they name.
class AppStreamIndex {
public:
    // Looks at every *.xml file of the folders (paths this process can open)
    // and reads those that changed since the last call.
    void refresh(const QStringList& folders);
    const AppStreamInfo* forDesktopId(const QString& desktopId) const;

    // One file on its own (a Flatpak app's own metainfo), read again only
    // when it changed; nothing when it is missing or not a component.
    const AppStreamInfo* file(const QString& path);

private:
    struct File {
        FileStamp stamp;
        std::optional<AppStreamInfo> info;
    };
    QHash<QString, File> files_;
    QHash<QString, QString> byDesktopId_; // desktop id -> file
    QHash<QString, File> single_;
};
