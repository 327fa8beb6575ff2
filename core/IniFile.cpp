#include "core/IniFile.h"

#include "core/TextCodec.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

bool IsTrimByte(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

QByteArray TrimBytes(const QByteArray& bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && IsTrimByte(bytes[begin]))
        ++begin;
    while (end > begin && IsTrimByte(bytes[end - 1]))
        --end;
    return bytes.mid(begin, end - begin);
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// One line of text for the file: line breaks inside would split it.
QByteArray LineText(QString text) {
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    return text.toUtf8();
}

QString TrimmedName(const QString& name) {
    return DecodeAnsi(TrimBytes(LineText(name)));
}

} // namespace

IniDocument::Line IniDocument::parseLine(QByteArray raw, QByteArray ending) {
    Line line;
    line.raw = std::move(raw);
    line.ending = std::move(ending);
    const QByteArray text = TrimBytes(line.raw);
    if (text.isEmpty())
        return line;
    if (text.startsWith('[')) {
        const qsizetype close = text.lastIndexOf(']');
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = DecodeAnsi(TrimBytes(text.mid(1, close - 1)));
            return line;
        }
    }
    if (text.startsWith(';')) {
        line.kind = Kind::Comment;
        return line;
    }
    line.kind = Kind::Entry;
    const qsizetype eq = text.indexOf('=');
    if (eq < 0) {
        line.name = DecodeAnsi(text);
        return line;
    }
    line.hasEquals = true;
    line.name = DecodeAnsi(TrimBytes(text.left(eq)));
    line.value = TrimBytes(text.mid(eq + 1));
    return line;
}

IniDocument IniDocument::parse(const QByteArray& bytes) {
    IniDocument doc;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        const qsizetype endLen =
            (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        doc.lines_.append(parseLine(bytes.mid(start, i - start), bytes.mid(i, endLen)));
        i += endLen - 1;
        start = i + 1;
    }
    if (start < bytes.size())
        doc.lines_.append(parseLine(bytes.mid(start), QByteArray()));
    return doc;
}

std::optional<IniDocument> IniDocument::load(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(in.readAll());
}

std::optional<qsizetype> IniDocument::findSection(const QString& section) const {
    const QString name = section.trimmed();
    if (name.isEmpty())
        return -1;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Section && SameName(lines_[i].name, name))
            return i;
    }
    return std::nullopt;
}

qsizetype IniDocument::sectionEnd(qsizetype header) const {
    qsizetype i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section)
        ++i;
    return i;
}

qsizetype IniDocument::findKey(qsizetype header, const QString& key) const {
    const QString name = key.trimmed();
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Entry && SameName(lines_[i].name, name))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const auto header = findSection(section);
    if (!header)
        return std::nullopt;
    const qsizetype at = findKey(*header, key);
    if (at < 0 || !lines_[at].hasEquals)
        return std::nullopt;
    QByteArray v = lines_[at].value;
    // One pair of matching quotes round the value is removed.
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return DecodeAnsi(v);
}

QList<QString> IniDocument::keys(const QString& section) const {
    QList<QString> result;
    const auto header = findSection(section);
    if (!header)
        return result;
    const qsizetype end = sectionEnd(*header);
    for (qsizetype i = *header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Entry && lines_[i].hasEquals)
            result.append(lines_[i].name);
    }
    return result;
}

void IniDocument::insertLine(qsizetype at, Line line) {
    // The line before the new one must end, or the two would run together.
    if (at > 0 && lines_[at - 1].ending.isEmpty())
        lines_[at - 1].ending = "\r\n";
    lines_.insert(at, std::move(line));
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString sectionName = TrimmedName(section);
    const QString keyName = TrimmedName(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return;
    // The value is written as given: a leading space stays ("Ul= 2").
    const QByteArray entry = LineText(keyName) + '=' + LineText(value);
    const auto header = findSection(sectionName);
    if (!header) {
        insertLine(lines_.size(), parseLine('[' + LineText(sectionName) + ']', "\r\n"));
        insertLine(lines_.size(), parseLine(entry, "\r\n"));
        return;
    }
    const qsizetype at = findKey(*header, keyName);
    if (at >= 0) {
        const QByteArray ending =
            lines_[at].ending.isEmpty() ? QByteArray("\r\n") : lines_[at].ending;
        lines_[at] = parseLine(entry, ending);
        return;
    }
    // A new key goes after the section's last non-blank line.
    qsizetype insertAt = sectionEnd(*header);
    while (insertAt > *header + 1 && lines_[insertAt - 1].kind == Kind::Blank)
        --insertAt;
    insertLine(insertAt, parseLine(entry, "\r\n"));
}

void IniDocument::removeKey(const QString& section, const QString& key) {
    const auto header = findSection(section);
    if (!header)
        return;
    const qsizetype at = findKey(*header, key);
    if (at >= 0)
        lines_.remove(at);
}

void IniDocument::removeSection(const QString& section) {
    const auto header = findSection(section);
    if (!header || *header < 0)
        return;
    lines_.remove(*header, sectionEnd(*header) - *header);
}

QByteArray IniDocument::bytes() const {
    QByteArray out;
    for (const Line& line : lines_)
        out += line.raw + line.ending;
    return out;
}

WriteResult IniDocument::save(const QString& file) const {
    return WriteWholeFile(file, bytes());
}

// ---------------------------------------------------------------------------

QString ReadIni(const QString& file, const QString& section, const QString& key,
                const QString& defaultText) {
    std::optional<QString> found;
    if (const auto doc = IniDocument::load(file))
        found = doc->value(section, key);
    QString text;
    if (found) {
        text = *found;
    } else {
        text = defaultText;
        while (!text.isEmpty() && text.back() == u' ')
            text.chop(1);
    }
    text.truncate(IniReadLimit);
    return text;
}

namespace {
template <typename Change> WriteResult EditIni(const QString& file, Change&& change) {
    IniDocument doc;
    if (QFileInfo::exists(file)) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly)) // never replace what could not be read
            return {QStringLiteral("cannot write %1: it cannot be read first (%2)")
                        .arg(file, in.errorString())};
        doc = IniDocument::parse(in.readAll());
    }
    change(doc);
    return doc.save(file);
}
} // namespace

WriteResult WriteIni(const QString& file, const QString& section, const QString& key,
                     const QString& value) {
    return EditIni(file, [&](IniDocument& doc) { doc.setValue(section, key, value); });
}

WriteResult DeleteIniKey(const QString& file, const QString& section, const QString& key) {
    if (!QFileInfo::exists(file))
        return {};
    return EditIni(file, [&](IniDocument& doc) { doc.removeKey(section, key); });
}

WriteResult DeleteIniSection(const QString& file, const QString& section) {
    if (!QFileInfo::exists(file))
        return {};
    return EditIni(file, [&](IniDocument& doc) { doc.removeSection(section); });
}

// ---------------------------------------------------------------------------

namespace {
QString FoldedName(const QString& name) {
    const QString trimmed = name.trimmed();
    // ASCII names (nearly all) fold by lowering their letters.
    if (std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
        QString folded = trimmed;
        for (QChar& c : folded) {
            if (c >= u'A' && c <= u'Z')
                c = QChar(c.unicode() + 32);
        }
        return folded;
    }
    return trimmed.toCaseFolded();
}

QByteArrayView TrimView(QByteArrayView bytes) {
    while (!bytes.isEmpty() && IsTrimByte(bytes.front()))
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && IsTrimByte(bytes.back()))
        bytes.chop(1);
    return bytes;
}

QString DecodeView(QByteArrayView bytes) {
    if (std::all_of(bytes.cbegin(), bytes.cend(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    return DecodeAnsi(bytes.toByteArray());
}

// The default as ReadIni gives it: trailing blanks removed.
QString TrimmedDefault(QString text) {
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}
} // namespace

IniIndex::IniIndex(QByteArrayView bytes) {
    // One pass over the bytes, with the line rules of IniDocument: blanks and
    // control characters trimmed, "[name]" a section, ';' a comment, the rest
    // an entry. Lines before the first header belong to the nameless section,
    // which ReadIni never looks up by name; they are skipped.
    QHash<QString, std::optional<QString>>* section = nullptr;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArrayView text = TrimView(bytes.sliced(pos, end - pos));
        pos =
            end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
        if (text.isEmpty() || text.front() == ';')
            continue;
        if (text.front() == '[') {
            const qsizetype close = text.lastIndexOf(']');
            if (close > 0) {
                const QString name = FoldedName(DecodeView(TrimView(text.sliced(1, close - 1))));
                // The first section of a name is the one ReadIni reads.
                section = sections_.contains(name) ? nullptr : &sections_[name];
                continue;
            }
        }
        if (!section)
            continue;
        const qsizetype eq = text.indexOf('=');
        const QString key = FoldedName(DecodeView(eq < 0 ? text : TrimView(text.first(eq))));
        if (section->contains(key))
            continue;
        if (eq < 0) { // a key without '=' has no value but hides later ones
            section->insert(key, std::nullopt);
            continue;
        }
        QByteArrayView v = TrimView(text.sliced(eq + 1));
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.sliced(1, v.size() - 2);
        QString value = DecodeView(v);
        value.truncate(IniReadLimit);
        section->insert(key, value);
    }
}

IniIndex IniIndex::load(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return IniIndex();
    return IniIndex(in.readAll());
}

bool IniIndex::hasSection(const QString& section) const {
    return sections_.contains(FoldedName(section));
}

QString IniIndex::read(const QString& section, const QString& key,
                       const QString& defaultText) const {
    const auto s = sections_.constFind(FoldedName(section));
    if (s == sections_.cend())
        return TrimmedDefault(defaultText).left(IniReadLimit);
    const auto k = s->constFind(FoldedName(key));
    if (k == s->cend() || !k->has_value())
        return TrimmedDefault(defaultText).left(IniReadLimit);
    return **k;
}
