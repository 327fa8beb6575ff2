#include "tests/support/Privileged.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

constexpr unsigned kNobody = 65534;

QString ErrnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

TmpfsMount::TmpfsMount(const QString& folder, const QString& size) : folder_(folder) {
    const QByteArray options = "size=" + size.toLatin1() + ",mode=0777";
    if (::mount("tmpfs", QFile::encodeName(folder_).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) == 0)
        mounted_ = true;
    else
        whyNot_ =
            QStringLiteral("cannot mount a tmpfs on %1 (%2); needs root").arg(folder_, ErrnoText());
}

TmpfsMount::~TmpfsMount() {
    if (mounted_)
        ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

bool TmpfsMount::remountReadOnly() {
    return mounted_ && ::mount("tmpfs", QFile::encodeName(folder_).constData(), "tmpfs",
                               MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
}

QString MakeCharacterDevice(const QString& path, unsigned major, unsigned minor) {
    if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(major, minor)) != 0)
        return QStringLiteral("cannot make a device node at %1 (%2); needs root")
            .arg(path, ErrnoText());
    return QString();
}

AsOrdinaryUser::AsOrdinaryUser() {
    if (::geteuid() != 0)
        return; // already an ordinary user
    if (::setegid(kNobody) != 0 || ::seteuid(kNobody) != 0) {
        whyNot_ = QStringLiteral("cannot act as user nobody (%1)").arg(ErrnoText());
        ::setegid(0);
        return;
    }
    switched_ = true;
}

AsOrdinaryUser::~AsOrdinaryUser() {
    if (switched_) {
        ::seteuid(0);
        ::setegid(0);
    }
}

unsigned AsOrdinaryUser::userId() {
    return ::getuid() == 0 ? kNobody : ::getuid();
}

unsigned AsOrdinaryUser::groupId() {
    return ::getgid() == 0 ? kNobody : ::getgid();
}
