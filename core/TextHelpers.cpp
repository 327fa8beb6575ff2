#include "core/TextHelpers.h"

#include <QLocale>

#include <cmath>

namespace {
constexpr QStringView kInvalidNameChars = u"\\/:*?<>|\"";
}

QString DecimalText(double value) {
    // nearbyint rounds half to even in the default rounding mode.
    const double rounded = std::nearbyint(value * 100.0) / 100.0;
    QString text = QString::number(rounded, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    if (text == u"-0")
        text = QStringLiteral("0");
    return text.replace(u'.', QLocale().decimalPoint());
}

QString SizeText(double bytes) {
    constexpr double KB = 1024.0;
    constexpr double MB = KB * 1024.0;
    constexpr double GB = MB * 1024.0;
    constexpr double TB = GB * 1024.0;
    if (bytes < KB)
        return DecimalText(bytes) + QStringLiteral(" Byte");
    if (bytes < MB)
        return DecimalText(bytes / KB) + QStringLiteral(" KB");
    if (bytes < GB)
        return DecimalText(bytes / MB) + QStringLiteral(" MB");
    if (bytes < TB)
        return DecimalText(bytes / GB) + QStringLiteral(" GB");
    return QString();
}

QString TimeText(double seconds) {
    const double x = seconds + 1.0;
    if (x < 60.0)
        return DecimalText(x) + QStringLiteral(" Second");
    if (x < 3600.0)
        return DecimalText(x / 60.0) + QStringLiteral(" Minute");
    return QString();
}

QString SafeFileName(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (kInvalidNameChars.contains(c))
            c = u'-';
    }
    return out;
}

int CountInvalidNameChars(const QString& text) {
    int count = 0;
    for (QChar c : text) {
        if (kInvalidNameChars.contains(c))
            ++count;
    }
    return count;
}

bool HasNonSpace(const QString& text) {
    for (QChar c : text) {
        if (c != u' ')
            return true;
    }
    return false;
}

QString ExtractIconPath(const QString& text) {
    if (text.isEmpty())
        return QString();
    // The path begins at the first drive path ("C:\") or the first POSIX path
    // ("/" at the start or after a blank or quote), whichever comes first, so
    // that a DisplayIcon of /opt/a/app.ico before "wine C:\x\un.exe" is found.
    qsizetype start = -1;
    const qsizetype drive = text.indexOf(u":\\");
    if (drive >= 1)
        start = drive - 1;
    for (qsizetype i = 0; i < text.size() && (start < 0 || i < start); ++i) {
        if (text[i] == u'/' &&
            (i == 0 || text[i - 1] == u' ' || text[i - 1] == u'"' || text[i - 1] == u'\'')) {
            start = i;
            break;
        }
    }
    if (start < 0)
        return QString();
    // An icon file anywhere (.ico, or the images a Linux program uses for its
    // icon) wins over an earlier program file (.exe).
    const QString lower = text.toLower();
    qsizetype ext = -1;
    for (const QLatin1StringView image : {QLatin1StringView(".ico"), QLatin1StringView(".png"),
                                          QLatin1StringView(".svg"), QLatin1StringView(".xpm")}) {
        const qsizetype at = lower.indexOf(image, start);
        if (at >= 0 && (ext < 0 || at < ext))
            ext = at;
    }
    if (ext < 0)
        ext = lower.indexOf(u".exe", start);
    if (ext < 0)
        return QString();
    const QString path = text.mid(start, ext + 4 - start);
    return path.size() < 4 ? QString() : path;
}

double LeadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
        ++i;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
            ++i;
    }
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}
