#include "core/ShellLink.h"

#include <QtEndian>

#include <algorithm>

namespace {

// LinkFlags
constexpr quint32 HasLinkInfo = 0x02;
constexpr quint32 HasName = 0x04;
constexpr quint32 IsUnicode = 0x80;
// FileAttributes
constexpr quint32 AttributeDirectory = 0x10;
constexpr quint32 AttributeNormal = 0x80;
constexpr quint32 ShowNormal = 1;
constexpr quint32 DriveFixed = 3;
// 100-ns ticks between 1601-01-01 and 1970-01-01.
constexpr qint64 FileTimeEpochOffset = 116444736000000000LL;
// A StringData entry counts its characters in 16 bits.
constexpr qsizetype MaxStringLength = 0xFFFF;

class Bytes {
public:
    void u16(quint16 v) { append(v); }
    void u32(quint32 v) { append(v); }
    void u64(quint64 v) { append(v); }
    void raw(QByteArrayView v) { data_.append(v); }
    void zeros(qsizetype n) { data_.append(n, '\0'); }
    // Fills a 32-bit field written earlier at offset.
    void patch32(qsizetype offset, quint32 v) { qToLittleEndian(v, data_.data() + offset); }
    qsizetype size() const { return data_.size(); }
    QByteArray take() { return std::move(data_); }

private:
    template <typename T> void append(T v) {
        char buf[sizeof(T)];
        qToLittleEndian(v, buf);
        data_.append(buf, sizeof(T));
    }
    QByteArray data_;
};

quint64 FileTime(const QDateTime& time) {
    if (!time.isValid())
        return 0;
    const qint64 ticks = time.toMSecsSinceEpoch() * 10000 + FileTimeEpochOffset;
    return ticks > 0 ? static_cast<quint64>(ticks) : 0;
}

QByteArray Utf16NoTerminator(const QString& text) {
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
    return bytes;
}

bool IsAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() >= 1 && c.unicode() < 0x80; });
}

// The LinkInfo structure: a fixed volume (no label) and the local base path.
// A path that is not plain ASCII is also given in UTF-16, which readers
// prefer; the 8-bit field then holds its UTF-8 form.
QByteArray LinkInfo(const QString& path, quint32 serial) {
    const bool unicode = !IsAscii(path);
    const quint32 headerSize = unicode ? 0x24 : 0x1C;
    const QByteArray ansiPath = path.toUtf8();
    const quint32 volumeIdSize = 0x11;
    const quint32 localBasePath = headerSize + volumeIdSize;
    const quint32 suffix = localBasePath + static_cast<quint32>(ansiPath.size()) + 1;
    const quint32 localBasePathUnicode = suffix + 1;
    const quint32 suffixUnicode = localBasePathUnicode + static_cast<quint32>(path.size() + 1) * 2;

    Bytes b;
    b.u32(0); // LinkInfoSize, filled in below
    b.u32(headerSize);
    b.u32(1);          // VolumeIDAndLocalBasePath
    b.u32(headerSize); // VolumeIDOffset
    b.u32(localBasePath);
    b.u32(0); // CommonNetworkRelativeLinkOffset
    b.u32(suffix);
    if (unicode) {
        b.u32(localBasePathUnicode);
        b.u32(suffixUnicode);
    }
    // VolumeID
    b.u32(volumeIdSize);
    b.u32(DriveFixed);
    b.u32(serial);
    b.u32(0x10); // VolumeLabelOffset
    b.zeros(1);  // empty label
    b.raw(ansiPath);
    b.zeros(1);
    b.zeros(1); // CommonPathSuffix: empty
    if (unicode) {
        b.raw(Utf16NoTerminator(path));
        b.zeros(2);
        b.zeros(2);
    }
    b.patch32(0, static_cast<quint32>(b.size()));
    return b.take();
}

} // namespace

QByteArray ShellLinkBytes(const ShellLink& link) {
    const QString description = link.description.left(MaxStringLength);
    quint32 flags = HasLinkInfo | IsUnicode;
    if (!description.isEmpty())
        flags |= HasName;

    Bytes b;
    b.u32(0x4C); // HeaderSize
    // LinkCLSID {00021401-0000-0000-C000-000000000046}
    b.raw(QByteArrayView("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16));
    b.u32(flags);
    b.u32(link.targetIsFolder ? AttributeDirectory : AttributeNormal);
    b.u64(FileTime(link.creationTime));
    b.u64(FileTime(link.accessTime));
    b.u64(FileTime(link.writeTime));
    b.u32(link.targetIsFolder ? 0 : link.fileSize);
    b.u32(0); // IconIndex
    b.u32(ShowNormal);
    b.u16(0);           // HotKey
    b.zeros(2 + 4 + 4); // Reserved1-3

    b.raw(LinkInfo(link.targetPath, link.driveSerialNumber));

    if (!description.isEmpty()) {
        b.u16(static_cast<quint16>(description.size()));
        b.raw(Utf16NoTerminator(description));
    }
    b.u32(0); // terminal block: no extra data
    return b.take();
}

WriteResult WriteShellLink(const QString& file, const ShellLink& link) {
    return WriteWholeFile(file, ShellLinkBytes(link));
}
