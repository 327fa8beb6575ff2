// The parts of the file and system helpers that Qt makes portable; the rest
// lives in FileFolder_posix.cpp (and a Windows counterpart).
#include "core/FileFolder.h"

#include "core/TextHelpers.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QSysInfo>

QString FolderSizeText(const QString& folder) {
    const auto size = FolderSize(folder);
    return size ? SizeText(static_cast<double>(*size)) : QString();
}

QString DiskSpaceText(const QString& driveRoot, int kind) {
    if (kind < 0 || kind > 2 || driveRoot.isEmpty())
        return QString();
    const QStorageInfo disk(driveRoot);
    if (!disk.isValid() || !disk.isReady())
        return QString();
    switch (static_cast<DiskQuantity>(kind)) {
    case DiskQuantity::Total:
        return SizeText(static_cast<double>(disk.bytesTotal()));
    case DiskQuantity::FreeForCaller:
        return SizeText(static_cast<double>(disk.bytesAvailable()));
    case DiskQuantity::Used:
        return SizeText(static_cast<double>(disk.bytesTotal() - disk.bytesFree()));
    }
    return QString();
}

void ListSubfolders(const QString& folder, QStringList& names) {
    // Every folder entry but "." and "..": names that sort before ".." in
    // byte order ("#tmp", "-x", "(x)") are ordinary folders and are listed.
    const QDir dir(folder);
    if (!dir.exists())
        return;
    names +=
        dir.entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString SpecialFolderPath(int csidl) {
    switch (csidl) {
    case Csidl::Desktop:
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case Csidl::Personal:
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case Csidl::ProgramFiles:
        return ProgramFilesFolder();
    case Csidl::Favorites: {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (data.isEmpty())
            return QString();
        const QString favorites = QDir(data).filePath(QStringLiteral("Favorites"));
        return QDir().mkpath(favorites) ? favorites : QString();
    }
    default:
        return QString();
    }
}

QString ComputerName() {
    return QSysInfo::machineHostName();
}
