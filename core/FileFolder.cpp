// The parts of the file and system helpers that Qt makes portable; the rest
// lives in FileFolder_posix.cpp (and a Windows counterpart).
#include "core/FileFolder.h"

#include "core/TextHelpers.h"

#include <QDir>
#include <QFile>
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

bool IsRemovableOrOptical(const QString& device, const QString& fileSystem) {
    if (fileSystem == u"iso9660" || fileSystem == u"udf")
        return true;
    const QString name = device.section(u'/', -1);
    if (name.startsWith(u"sr"))
        return true;
    // A partition's own folder holds no "removable" file; its disk's does.
    for (const QString& flag : {QStringLiteral("/sys/class/block/%1/removable").arg(name),
                                QStringLiteral("/sys/class/block/%1/../removable").arg(name)}) {
        QFile file(flag);
        if (file.open(QIODevice::ReadOnly))
            return file.readAll().trimmed() == "1";
    }
    return false;
}

bool IsNetworkFileSystem(const QString& fileSystem) {
    static const QStringList network = {QStringLiteral("nfs"),
                                        QStringLiteral("nfs4"),
                                        QStringLiteral("cifs"),
                                        QStringLiteral("smb3"),
                                        QStringLiteral("smbfs"),
                                        QStringLiteral("fuse.sshfs"),
                                        QStringLiteral("sshfs"),
                                        QStringLiteral("davfs"),
                                        QStringLiteral("fuse.davfs"),
                                        QStringLiteral("afs"),
                                        QStringLiteral("ceph"),
                                        QStringLiteral("glusterfs"),
                                        QStringLiteral("fuse.glusterfs"),
                                        QStringLiteral("9p"),
                                        QStringLiteral("fuse.rclone")};
    return network.contains(fileSystem, Qt::CaseInsensitive);
}

bool IsShownVolume(const QString& device, const QString& fileSystem) {
    if (IsNetworkFileSystem(fileSystem))
        return true;
    // A local volume has a block device; tmpfs, proc, overlay, squashfs
    // images on loop devices and the like have none worth showing.
    return device.startsWith(u"/dev/") && !device.startsWith(u"/dev/loop") &&
           !IsRemovableOrOptical(device, fileSystem);
}

QList<DriveEntry> FixedDrives() {
    QList<DriveEntry> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString device = QString::fromLocal8Bit(volume.device());
        const QString fs = QString::fromLocal8Bit(volume.fileSystemType());
        if (!IsShownVolume(device, fs))
            continue;
        const QString label =
            volume.displayName() == volume.rootPath() ? QString() : volume.displayName();
        drives.append({volume.rootPath(),
                       label.isEmpty() ? volume.rootPath()
                                       : volume.rootPath() + QStringLiteral(" (") + label + u')'});
    }
    // A system without block devices of its own (a container) still has its root.
    if (drives.isEmpty())
        drives.append({QStringLiteral("/"), QStringLiteral("/")});
    return drives;
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
