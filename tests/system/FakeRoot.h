// A synthetic file-system root for the system source: dpkg's status and file
// lists, desktop entries, metainfo, icons, Flatpak, Snap and AppImage files,
// all in a temporary folder.
#pragma once

#include "system/SystemLayout.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct FakePackage {
    QString name;
    QString version = QStringLiteral("1.0-1");
    QString arch = QStringLiteral("amd64");
    QString status = QStringLiteral("install ok installed");
    QString extra;               // further "Field: value" lines
    QStringList files;           // listed in the package's .list (folders above them too)
    bool archInListName = false; // "name:arch.list" (multi-arch same)
};

class FakeRoot {
public:
    FakeRoot();

    QString path() const { return dir_.path(); }
    // The path of a file named as on the root ("/usr/share/...").
    QString file(const QString& rootPath) const { return path() + rootPath; }
    // The layout of the fake machine: home /home/u, locale as given, PATH
    // /usr/local/bin:/usr/bin:/bin, uninstall helper /opt/relvano/relvano-uninstall.
    SystemLayout layout(const QString& locale = QString()) const;
    static QString home() { return QStringLiteral("/home/u"); }
    static QString dataHome() { return QStringLiteral("/home/u/.local/share"); }
    static QString uninstaller() { return QStringLiteral("/opt/relvano/relvano-uninstall"); }

    // Writes a file (folders made as needed); mtime when given.
    void write(const QString& rootPath, const QByteArray& content,
               const QDateTime& mtime = QDateTime());
    void executable(const QString& rootPath);
    void symlink(const QString& rootPath, const QString& target);
    void remove(const QString& rootPath);
    static void setMtime(const QString& file, const QDateTime& mtime);

    // Adds or replaces a package: its .list is written now (mtime when
    // given), the status file by writeStatus().
    void package(const FakePackage& p, const QDateTime& listTime = QDateTime());
    void removePackage(const QString& name);
    // Writes var/lib/dpkg/status as dpkg does: a new file renamed over the old.
    void writeStatus();
    const QList<FakePackage>& packages() const { return packages_; }

    // A desktop entry from its [Desktop Entry] lines.
    void desktop(const QString& rootPath, const QString& lines);

private:
    static QString listName(const FakePackage& p);
    QTemporaryDir dir_;
    QList<FakePackage> packages_;
};
