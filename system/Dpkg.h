// What dpkg knows: the installed packages (var/lib/dpkg/status) and which
// package owns which desktop entry (var/lib/dpkg/info/*.list).
//
// Both are read straight from the files, and read again only when a file has
// changed since the last read, so that a sync of an unchanged machine costs a
// few stat calls.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// One package stanza of the status file.
struct DebPackage {
    QString name;
    QString arch;
    QString version; // as written, epoch included ("2:9.0-1")
    QString status;  // the third word of Status ("installed", "config-files", ...)
    qint64 installedSizeKiB = -1;
    QString homepage;
    QString maintainer; // as written, e-mail included
    QString priority;
    bool essential = false;
    bool isProtected = false;

    // Installed in some state: its files are on disk.
    bool present() const;
    // "2:9.0-1" -> "9.0-1"
    QString versionWithoutEpoch() const;
    // "Debian Vim Maintainers <team@...>" -> "Debian Vim Maintainers"
    QString maintainerName() const;
    // Essential, Protected or of priority required: never offered for removal.
    bool mustNotRemove() const;
};

// The identity of a file's content as far as stat tells it.
struct FileStamp {
    qint64 mtimeNs = -1;
    qint64 size = -1;
    quint64 inode = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of a file; nothing when it does not exist or cannot be looked at.
std::optional<FileStamp> StatFile(const QString& path);

class DpkgStatus {
public:
    enum class Load { Read, Unchanged, Missing, Failed };
    // Reads the status file unless it is unchanged since the last call. A
    // missing file gives an empty database (a machine without dpkg); a file
    // that exists but cannot be read keeps what was known and says Failed.
    Load load(const QString& statusFile);

    // The present packages of that name (several with multi-arch).
    QList<const DebPackage*> present(const QString& name) const;
    // The package of that name and architecture ("" when the name is enough).
    const DebPackage* find(const QString& name, const QString& arch = QString()) const;
    qsizetype size() const { return packages_.size(); }

private:
    std::optional<FileStamp> stamp_;
    QList<DebPackage> packages_;
    QHash<QString, QList<qsizetype>> byName_;
};

// The owners of desktop entries, from the package file lists.
class DpkgFileLists {
public:
    struct ListInfo {
        FileStamp stamp;
        QStringList desktopFiles; // listed paths under an "applications" folder ending ".desktop"
        QString installLocation;  // a folder named after the package, or under /opt
    };
    // Looks at every <infoDir>/*.list and reads those that changed. False
    // when the folder cannot be read.
    bool refresh(const QString& infoDir);

    // The list base name ("vim-common", "libfoo:amd64") owning the path, or "".
    QString ownerOf(const QString& path) const { return owners_.value(path); }
    const ListInfo* list(const QString& base) const;
    // The list file's modification time in seconds, or -1.
    qint64 listModified(const QString& base) const;
    qsizetype size() const { return lists_.size(); }

private:
    QHash<QString, ListInfo> lists_;
    QHash<QString, QString> owners_;
};

// "vim-common" -> ("vim-common", ""), "libfoo:amd64" -> ("libfoo", "amd64").
std::pair<QString, QString> SplitListName(const QString& base);
