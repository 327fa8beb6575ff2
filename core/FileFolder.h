// Files, folders, disks and system facts. Each helper gives empty text, false
// or nothing when the platform cannot answer; none shows a message.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Total size of the files below a folder, subfolders included; nothing when
// the folder is missing or a subfolder cannot be read.
std::optional<quint64> FolderSize(const QString& folder);
// SizeText of FolderSize, or empty text.
QString FolderSizeText(const QString& folder);

enum class DiskQuantity { Total = 0, FreeForCaller = 1, Used = 2 };
// SizeText of the drive's total, free or used bytes; empty text for an
// unknown drive or another kind.
QString DiskSpaceText(const QString& driveRoot, int kind);

// The mounted volumes that are neither removable nor optical: the root to
// measure and the text to show ("/home (data)").
struct DriveEntry {
    QString root;
    QString text;
};
QList<DriveEntry> FixedDrives();
// Whether a mounted volume is listed as a drive: network mounts (NFS, CIFS,
// sshfs, ...) and local block devices that are neither removable nor
// optical; not pseudo file systems or loop-mounted images.
bool IsShownVolume(const QString& device, const QString& fileSystem);
// Whether a block device (/dev/sdb1) is removable or an optical drive.
bool IsRemovableOrOptical(const QString& device, const QString& fileSystem);

// Appends the names of the folder's subfolders (hidden ones included).
void ListSubfolders(const QString& folder, QStringList& names);

// The Windows folder; empty on Linux, which has none.
QString WindowsFolder();
// Where programs are installed: /opt on Linux, "Program Files" on the system
// drive on Windows.
QString ProgramFilesFolder();

// Shell folder identifiers the program asks for.
namespace Csidl {
constexpr int Desktop = 0x0000;
constexpr int Personal = 0x0005;
constexpr int Favorites = 0x0006;
constexpr int ProgramFiles = 0x0026;
} // namespace Csidl
// The path of a shell folder; empty text for an identifier not known here.
// The Favorites folder is a "Favorites" folder in the user's data folder,
// created on first use.
QString SpecialFolderPath(int csidl);

QString ComputerName();
QString UserName();
// The system's version as major + minor / 100 with two decimals and the
// user's decimal separator (the kernel's version on Linux: 6.1 gives "6.01").
QString WindowsVersionText();
