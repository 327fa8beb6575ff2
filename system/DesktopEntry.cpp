#include "system/DesktopEntry.h"

namespace {

QString Unescape(const QByteArray& raw) {
    const QString text = QString::fromUtf8(raw);
    if (!text.contains(u'\\'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[++i];
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default: // not an escape of strings (\; in lists): kept as written
            out += c;
            out += next;
        }
    }
    return out;
}

// Locale names to try, most specific first: lang_COUNTRY@MODIFIER,
// lang_COUNTRY, lang@MODIFIER, lang.
QStringList LocaleCandidates(const QString& locale) {
    QString name = locale;
    QString modifier;
    if (const qsizetype at = name.indexOf(u'@'); at >= 0) {
        modifier = name.mid(at + 1);
        name.truncate(at);
    }
    if (const qsizetype dot = name.indexOf(u'.'); dot >= 0)
        name.truncate(dot);
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return {};
    QString lang = name;
    QString country;
    if (const qsizetype us = name.indexOf(u'_'); us >= 0) {
        lang = name.left(us);
        country = name.mid(us + 1);
    }
    QStringList out;
    if (!country.isEmpty() && !modifier.isEmpty())
        out.append(lang + u'_' + country + u'@' + modifier);
    if (!country.isEmpty())
        out.append(lang + u'_' + country);
    if (!modifier.isEmpty())
        out.append(lang + u'@' + modifier);
    out.append(lang);
    return out;
}

QByteArray TrimTrailing(QByteArray bytes) {
    while (!bytes.isEmpty() && (bytes.back() == ' ' || bytes.back() == '\t'))
        bytes.chop(1);
    return bytes;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray& bytes) {
    DesktopEntry entry;
    bool inGroup = false;
    bool seenGroup = false;
    qsizetype pos = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        pos = 3;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(pos, end - pos);
        pos = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        qsizetype start = 0;
        while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
            ++start;
        if (start == line.size() || line[start] == '#')
            continue;
        if (line[start] == '[') {
            if (inGroup)
                break; // only the first [Desktop Entry] group counts
            inGroup = TrimTrailing(line.mid(start)) == "[Desktop Entry]";
            seenGroup = seenGroup || inGroup;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype eq = line.indexOf('=', start);
        if (eq < 0)
            continue;
        const QString key = QString::fromUtf8(TrimTrailing(line.mid(start, eq - start)));
        qsizetype valueStart = eq + 1;
        while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t'))
            ++valueStart;
        if (!key.isEmpty() && !entry.raw_.contains(key))
            entry.raw_.insert(key, line.mid(valueStart));
    }
    if (!seenGroup)
        return std::nullopt;
    return entry;
}

QString DesktopEntry::value(const QString& key) const {
    const auto it = raw_.constFind(key);
    return it == raw_.constEnd() ? QString() : Unescape(*it);
}

bool DesktopEntry::flag(const QString& key) const {
    const auto it = raw_.constFind(key);
    if (it == raw_.constEnd())
        return false;
    const QByteArray v = TrimTrailing(*it);
    return v == "true" || v == "1";
}

QString DesktopEntry::localized(const QString& key, const QString& locale) const {
    for (const QString& candidate : LocaleCandidates(locale)) {
        const auto it = raw_.constFind(key + u'[' + candidate + u']');
        if (it != raw_.constEnd() && !it->isEmpty())
            return Unescape(*it);
    }
    return value(key);
}

QStringList DesktopEntry::splitExec(const QString& exec) {
    QStringList args;
    QString current;
    bool inArg = false;
    bool onlyFieldCode = false; // the argument so far is a field code and nothing else
    enum class Quote { None, Double, Single } quote = Quote::None;
    auto finish = [&] {
        if (inArg && !(onlyFieldCode && current.isEmpty()))
            args.append(current);
        current.clear();
        inArg = false;
        onlyFieldCode = false;
    };
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quote == Quote::Double) {
            if (c == u'"') {
                quote = Quote::None;
            } else if (c == u'\\' && i + 1 < exec.size() &&
                       QStringView(u"\"`$\\").contains(exec[i + 1])) {
                current += exec[++i];
            } else {
                current += c;
            }
            continue;
        }
        if (quote == Quote::Single) {
            if (c == u'\'')
                quote = Quote::None;
            else
                current += c;
            continue;
        }
        if (c == u' ' || c == u'\t' || c == u'\n') {
            finish();
            continue;
        }
        if (!inArg) {
            inArg = true;
            onlyFieldCode = true;
        }
        if (c == u'"') {
            quote = Quote::Double;
            onlyFieldCode = false;
        } else if (c == u'\'') {
            quote = Quote::Single;
            onlyFieldCode = false;
        } else if (c == u'%' && i + 1 < exec.size()) {
            const QChar code = exec[++i];
            if (code == u'%') {
                current += u'%';
                onlyFieldCode = false;
            }
            // Any other field code expands to nothing here.
        } else {
            current += c;
            onlyFieldCode = false;
        }
    }
    finish();
    return args;
}
