// Writing a file whole or not at all.
//
// Every file the program writes (exports, backups, INI files, reports,
// shortcuts, program lists) goes through here, so that a full disk, a
// vanished folder or a read-only file never leaves a cut-short file in place
// of a good one, and never passes unnoticed:
//
//   * A regular file, or one that does not exist yet, is written to a
//     temporary file beside it, which replaces the old file only once every
//     byte has been written; on any failure the temporary file goes and the
//     old file stays as it was.
//   * A target that exists and is not a regular file (/dev/null, a FIFO, a
//     terminal), or a path that names an open descriptor (/dev/stdout,
//     /dev/fd/N), is written in place: it cannot be replaced, and renaming
//     over it would turn a device into a plain file. A failed write there is
//     still reported (/dev/full: "No space left on device").
//
// Every failure reads "cannot write FILE: <reason>", FILE as the caller gave it.
//
// A whole buffer:
//
//     if (const WriteResult written = WriteWholeFile(path, bytes); !written)
//         tellTheUser(written.error);
//
// Streaming, for files too large to hold in memory (see RegFileWriter):
//
//     WholeFileWriter out(path);
//     bool ok = out.open();
//     while (ok && moreToWrite())
//         ok = out.write(nextChunk());      // stops at the first failure
//     if (!ok || !out.commit())
//         tellTheUser(out.error());         // the old file is untouched
//
// A writer that is destroyed without commit() leaves the old file in place.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

class QFileDevice;

// The outcome of writing a file: empty error on success.
struct WriteResult {
    QString error; // "cannot write FILE: <reason>"
    bool ok() const { return error.isEmpty(); }
    explicit operator bool() const { return ok(); }
};

class WholeFileWriter {
public:
    explicit WholeFileWriter(const QString& path);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // Starts the file. False when it cannot be written (error() says why).
    bool open();
    // Writes bytes. False once any write failed; later writes do nothing.
    bool write(QByteArrayView bytes);
    // Puts the file in place. False when anything failed: the old file stays.
    bool commit();
    // Drops what was written; the old file stays. error() keeps its reason.
    void cancel();
    // Records a failure found by the caller (data it could not produce), so
    // that commit() refuses and error() reads "cannot write FILE: reason".
    void fail(const QString& reason);

    bool failed() const { return !error_.isEmpty(); }
    const QString& error() const { return error_; }
    const QString& path() const { return path_; }
    // Whether the target is written in place (a device, a FIFO, a descriptor).
    bool inPlace() const { return inPlace_; }

private:
    static constexpr qsizetype kBufferSize = 64 * 1024;
    bool flush();
    bool writeToDevice(QByteArrayView bytes);

    QString path_;
    QString error_;
    QByteArray buffer_;
    std::unique_ptr<QFileDevice> device_;
    bool inPlace_ = false;
    bool done_ = false;
};

// Writes the bytes as the whole file, or leaves the old file as it was.
WriteResult WriteWholeFile(const QString& path, QByteArrayView bytes);
