// Whole-file reads for the readers of the system source: plain POSIX calls,
// as they read thousands of small files per sync.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The whole file; nothing when it cannot be opened or read.
std::optional<QByteArray> ReadWholeFile(const QString& path);
// Reads an open file into buffer (resized to what was read); sizeHint is
// the size stat gave. False on a read error.
bool ReadFd(int fd, qint64 sizeHint, QByteArray* buffer);
