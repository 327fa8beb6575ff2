#include "core/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool InProc(const QString& folder) {
    return folder == u"/proc" || folder.startsWith(u"/proc/");
}

// Whether the path reaches an open descriptor through /proc (/dev/stdout is a
// link to /proc/self/fd/1, /dev/fd to /proc/self/fd). Such a path is written
// in place even when the descriptor is a regular file: replacing that file
// would not be what the descriptor's owner sees, and would drop what it held.
bool NamesOpenDescriptor(const QString& path) {
    QString p = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(p);
        if (InProc(QFileInfo(info.absolutePath()).canonicalFilePath()))
            return true;
        if (!info.isSymLink())
            return false;
        p = info.symLinkTarget();
        if (InProc(p))
            return true;
    }
    return false;
}

QString ErrnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Checked with the effective user id, as opening the file will be.
bool Writable(const QString& path) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

} // namespace

WholeFileWriter::WholeFileWriter(const QString& path) : path_(path) {}

WholeFileWriter::~WholeFileWriter() {
    if (!done_)
        cancel();
}

bool WholeFileWriter::open() {
    if (path_.isEmpty()) {
        error_ = QStringLiteral("cannot write a file without a name");
        return false;
    }
    const QFileInfo info(path_);
    if (info.isDir()) {
        fail(QStringLiteral("it is a folder"));
        return false;
    }
    inPlace_ = (info.exists() && !info.isFile()) || NamesOpenDescriptor(path_);
    // Unbuffered: this writer gathers the bytes itself, and a device's own
    // buffer would report a failed write later without its reason.
    if (inPlace_) {
        // A regular file behind a descriptor is appended to: opened again it
        // would start at offset 0, and a shell's ">>" must keep what it held.
        auto file = std::make_unique<QFile>(path_);
        const auto mode =
            info.isFile() ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly;
        if (!file->open(mode | QIODevice::Unbuffered)) {
            fail(file->errorString());
            return false;
        }
        device_ = std::move(file);
        return true;
    }
    if (info.exists() && !Writable(path_)) {
        fail(ErrnoText(errno));
        return false;
    }
    auto file = std::make_unique<QSaveFile>(path_);
    // Without the fallback, a file whose folder cannot hold the temporary
    // file fails instead of being overwritten in place.
    file->setDirectWriteFallback(false);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QString folder = QFileInfo(path_).absolutePath();
        if (!QFileInfo::exists(folder))
            fail(QStringLiteral("the folder %1 does not exist")
                     .arg(QDir::toNativeSeparators(folder)));
        else if (!Writable(folder))
            fail(QStringLiteral("cannot create files in %1: %2")
                     .arg(QDir::toNativeSeparators(folder), ErrnoText(errno)));
        else
            fail(file->errorString());
        return false;
    }
    device_ = std::move(file);
    return true;
}

bool WholeFileWriter::write(QByteArrayView bytes) {
    if (failed() || !device_)
        return false;
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return true;
    }
    return flush() && writeToDevice(bytes);
}

bool WholeFileWriter::flush() {
    const bool written = writeToDevice(buffer_);
    buffer_.clear();
    return written;
}

bool WholeFileWriter::writeToDevice(QByteArrayView bytes) {
    if (failed() || !device_)
        return false;
    // A short write (the disk filled up midway) reports no error of its own;
    // writing the rest then fails with the reason.
    while (!bytes.isEmpty()) {
        const qint64 written = device_->write(bytes.data(), bytes.size());
        if (written <= 0) {
            fail(device_->errorString());
            return false;
        }
        bytes = bytes.sliced(written);
    }
    return true;
}

bool WholeFileWriter::commit() {
    if (failed() || !device_ || !flush()) {
        cancel();
        return false;
    }
    if (auto* save = qobject_cast<QSaveFile*>(device_.get())) {
        if (!save->commit()) {
            fail(save->errorString());
            cancel();
            return false;
        }
    } else {
        const bool flushed = device_->flush();
        device_->close();
        if (!flushed || device_->error() != QFileDevice::NoError) {
            fail(device_->errorString());
            return false;
        }
    }
    done_ = true;
    device_.reset();
    return true;
}

void WholeFileWriter::cancel() {
    buffer_.clear();
    if (device_) {
        if (auto* save = qobject_cast<QSaveFile*>(device_.get()))
            save->cancelWriting();
        else
            device_->close();
    }
    device_.reset();
    done_ = true;
}

void WholeFileWriter::fail(const QString& reason) {
    if (error_.isEmpty())
        error_ = QStringLiteral("cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(path_),
                          reason.isEmpty() ? QStringLiteral("unknown error") : reason);
}

WriteResult WriteWholeFile(const QString& path, QByteArrayView bytes) {
    WholeFileWriter out(path);
    if (out.open() && out.write(bytes) && out.commit())
        return {};
    return {out.error()};
}
