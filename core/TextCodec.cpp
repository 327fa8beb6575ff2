#include "core/TextCodec.h"

#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>

namespace {

// Windows-1252 characters for 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeUtf16(const QByteArray& bytes, qsizetype offset, bool bigEndian) {
    const qsizetype units = (bytes.size() - offset) / 2;
    QString text(units, Qt::Uninitialized);
    const char* in = bytes.constData() + offset;
    for (qsizetype i = 0; i < units; ++i) {
        const char* p = in + 2 * i;
        text[i] = QChar(bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p));
    }
    return text;
}

} // namespace

QString DecodeAnsi(const QByteArray& bytes) {
    // Plain ASCII, the common case, needs no decoder.
    if (std::all_of(bytes.cbegin(), bytes.cend(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

QString DecodeTextFile(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE"))
        return DecodeUtf16(bytes, 2, false);
    if (bytes.startsWith("\xFE\xFF"))
        return DecodeUtf16(bytes, 2, true);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return DecodeAnsi(bytes.mid(3));
    // UTF-16LE without a mark: ASCII text shows as every second byte zero.
    if (bytes.size() >= 4 && bytes[0] != 0 && bytes[1] == 0 && bytes[2] != 0 && bytes[3] == 0)
        return DecodeUtf16(bytes, 0, false);
    return DecodeAnsi(bytes);
}
