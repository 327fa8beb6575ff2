#include "core/FileFolder.h"

#include <QFile>
#include <QLocale>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// Adds the sizes of the files below an open folder to total. Takes ownership
// of fd. Symbolic links are not followed, so a link cycle cannot loop. Fails
// as soon as stop (when given) is set.
bool AddFolderSize(int fd, quint64& total, const std::atomic<bool>* stop) {
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return false;
    }
    bool ok = true;
    while (ok) {
        errno = 0;
        if (stop && stop->load(std::memory_order_relaxed)) {
            ok = false;
            break;
        }
        const dirent* entry = readdir(dir);
        if (!entry) {
            ok = errno == 0;
            break;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        unsigned char type = entry->d_type;
        struct stat st;
        if (type == DT_UNKNOWN || type == DT_REG) {
            if (fstatat(dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished meanwhile
            if (S_ISREG(st.st_mode)) {
                total += static_cast<quint64>(st.st_size);
                continue;
            }
            type = S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
        }
        if (type == DT_DIR) {
            const int sub =
                openat(dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            ok = sub >= 0 && AddFolderSize(sub, total, stop);
        }
    }
    closedir(dir);
    return ok;
}

} // namespace

std::optional<quint64> FolderSize(const QString& folder, const std::atomic<bool>* stop) {
    if (folder.isEmpty())
        return std::nullopt;
    const int fd = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    quint64 total = 0;
    if (!AddFolderSize(fd, total, stop))
        return std::nullopt;
    return total;
}

QString WindowsFolder() {
    return QString();
}

QString ProgramFilesFolder() {
    return QStringLiteral("/opt");
}

QString UserName() {
    if (const passwd* pw = getpwuid(geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    if (const char* login = getlogin())
        return QString::fromLocal8Bit(login);
    return QString();
}

QString WindowsVersionText() {
    utsname info;
    if (uname(&info) != 0)
        return QString();
    int major = 0;
    int minor = 0;
    if (std::sscanf(info.release, "%d.%d", &major, &minor) < 1)
        return QString();
    // Always two decimals: 6.1 is "6.01", 4.10 is "4.10".
    return QString::number(major + minor / 100.0, 'f', 2).replace(u'.', QLocale().decimalPoint());
}
