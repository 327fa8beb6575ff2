#include "system/FileRead.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReadFd(int fd, qint64 sizeHint, QByteArray* buffer) {
    qsizetype capacity = static_cast<qsizetype>(sizeHint > 0 ? sizeHint + 1 : 4096);
    buffer->resize(capacity);
    qsizetype used = 0;
    while (true) {
        if (used == buffer->size())
            buffer->resize(buffer->size() * 2);
        const ssize_t n = ::read(fd, buffer->data() + used, size_t(buffer->size() - used));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            buffer->resize(used);
            return false;
        }
        if (n == 0)
            break;
        used += n;
    }
    buffer->resize(used);
    return true;
}

std::optional<QByteArray> ReadWholeFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    const qint64 size = ::fstat(fd, &st) == 0 ? static_cast<qint64>(st.st_size) : 0;
    QByteArray bytes;
    const bool ok = ReadFd(fd, size, &bytes);
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return bytes;
}
