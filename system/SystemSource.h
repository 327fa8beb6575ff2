// The applications installed on the machine, found from the files already on
// disk: desktop entries decide what counts as an application, then dpkg,
// Flatpak, Snap or the AppImage file say who installed it and give the
// details. One SystemApp per removal unit: a Debian package, a Flatpak ref,
// a snap, an AppImage, or a desktop entry nothing owns ("manual").
//
// What counts as an application: a desktop entry with Type=Application that
// is not NoDisplay, not Hidden, not X-AppStream-Ignore, has a Name, and whose
// TryExec program exists. Entries share one desktop file id per relative path
// ("kde/foo.desktop" is "kde-foo.desktop"); the first folder in order of
// precedence that has an id decides it (a user's copy with NoDisplay=true
// hides a system entry). A user's unowned copy of a packaged entry belongs to
// the package.
//
// A SystemSource keeps what it read: a second scan reads again only the files
// that changed. It is not thread-safe; use one per thread.
#pragma once

#include "core/RegistryTypes.h"
#include "system/AppStream.h"
#include "system/DesktopEntry.h"
#include "system/Dpkg.h"
#include "system/IconLookup.h"
#include "system/SystemLayout.h"
#include "system/UninstallTarget.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

struct SystemApp {
    SourceKind kind = SourceKind::Manual;
    QString key;         // subkey name: deb:<pkg>, flatpak:<inst>:<ref>, snap:<name>, ...
    QString uninstallId; // what follows the kind in the uninstall command; "" when none

    QString displayName;
    QString displayIcon; // a file path, or ""
    QString displayVersion;
    QString publisher;
    QString installDate; // yyyyMMdd
    QString installLocation;
    QString installSource;
    QString urlInfoAbout;
    QString helpLink;
    qint64 estimatedSizeKiB = -1; // -1: unknown
    bool noRemove = false;

    QString desktopId;        // the desktop entry the name and icon come from
    QStringList desktopFiles; // every desktop entry of the unit (paths this process opens)
    QString iconName;         // the Icon= value of desktopId
    QString appImageFile;     // AppImage: the file (a path this process opens)
    QString package;          // deb: the package name
    QString arch;             // deb: the architecture named in the list file, if any
};

// The values the source writes, in creation order.
const QStringList& SourceValueNames();
// The value marking the entries the source owns; its data is the kind.
inline const QString SourceMarkerValue = QStringLiteral("RelvanoSource");

// The entry of an app: the named values in creation order, empty ones left
// out. UninstallString is written only for an id that passes the strict check.
QList<RegValue> EntryValues(const SystemApp& app, const QString& uninstallProgram);

class SystemSource {
public:
    explicit SystemSource(SystemLayout layout);

    struct Scan {
        bool ok = true;        // false: a file that exists could not be read
        QString error;         // why, when ok is false
        QList<SystemApp> apps; // ordered by key
    };
    Scan scan();

    const SystemLayout& layout() const { return layout_; }

    // The folders whose changes can change a scan (paths this process can
    // open), those that exist: the dpkg folder, the desktop entry folders
    // with their subfolders (for one that does not exist, its parent), and
    // the folders of AppImages found.
    QStringList watchFolders() const;

private:
    // Parsed files are shared: the cache may move its slots while a scan
    // holds an entry.
    using EntryPtr = std::shared_ptr<const DesktopEntry>;
    struct Desktop {
        FileStamp stamp;
        EntryPtr entry;
    };
    struct Found {
        QString id;
        QString rootPath; // path on the root
        QString file;     // path this process opens
        EntryPtr entry;
    };
    EntryPtr desktopEntry(const QString& file);
    bool counts(const DesktopEntry& entry);
    bool programExists(const QString& program);
    QString iconFile(const QString& iconValue) const;
    void fillDeb(SystemApp& app, const QString& listBase);
    bool fillFlatpak(SystemApp& app, const QString& appId, const QString& rootPath);
    bool fillSnap(SystemApp& app, const QString& instance);
    bool fillAppImage(SystemApp& app, const QString& rootPath, const Found& found);
    void fillFromMetainfo(SystemApp& app, const AppStreamInfo* info);

    SystemLayout layout_;
    DpkgStatus dpkg_;
    DpkgFileLists lists_;
    AppStreamIndex metainfo_;
    IconLookup icons_;
    QHash<QString, Desktop> desktops_;
    QHash<QString, bool> programs_; // TryExec results of one scan
    QStringList watchFolders_;
};
