#include "core/RegFile.h"

#include "core/TextCodec.h"

#include <QtEndian>

#include <optional>
#include <variant>

// ---------------------------------------------------------------------------
// Writing

namespace {

const QString kHeader5 = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kHeader4 = QStringLiteral("REGEDIT4");
constexpr QStringView kCrLf = u"\r\n";

QString EscapeQuoted(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += u"\\\\";
            break;
        case '"':
            out += u"\\\"";
            break;
        case '\r':
            out += u"\\r";
            break;
        case '\n':
            out += u"\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A REG_SZ is written as a quoted string when that string gives back the same
// bytes on import: text without NUL, CR or LF, followed by one NUL. Anything
// else is written as hex(1), which imports byte for byte.
std::optional<QString> PlainString(const QByteArray& data) {
    if (data.size() < 2 || data.size() % 2 != 0)
        return std::nullopt;
    const QString text = TextFromUtf16Bytes(data);
    if (text.back() != QChar(0))
        return std::nullopt;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == 0 || c == '\r' || c == '\n')
            return std::nullopt;
    }
    return text.left(text.size() - 1);
}

void AppendHex(QString& out, QString prefix, const QByteArray& data) {
    static const char digits[] = "0123456789abcdef";
    out += prefix;
    qsizetype col = prefix.size();
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out += QLatin1Char(digits[byte >> 4]);
        out += QLatin1Char(digits[byte & 15]);
        if (i + 1 == data.size())
            break;
        out += u',';
        col += 3;
        if (col >= 77) {
            out += u"\\\r\n  ";
            col = 2;
        }
    }
}

void AppendValue(QString& out, const RegValue& value) {
    QString prefix =
        value.name.isEmpty() ? QStringLiteral("@=") : u'"' + EscapeQuoted(value.name) + u"\"=";
    if (value.type == RegType::Sz) {
        if (const auto text = PlainString(value.data)) {
            out += prefix + u'"' + EscapeQuoted(*text) + u'"';
            out += kCrLf;
            return;
        }
    }
    if (value.type == RegType::Dword && value.data.size() == 4) {
        out += prefix +
               QStringLiteral("dword:%1")
                   .arg(qFromLittleEndian<quint32>(value.data.constData()), 8, 16, QChar(u'0'));
        out += kCrLf;
        return;
    }
    if (value.type == RegType::Binary)
        prefix += u"hex:";
    else
        prefix += QStringLiteral("hex(%1):").arg(value.type, 0, 16);
    AppendHex(out, prefix, value.data);
    out += kCrLf;
}

} // namespace

QByteArray FormatRegFile(const QList<RegExportKey>& keys) {
    QString text;
    text += QChar(0xFEFF);
    text += kHeader5;
    text += kCrLf;
    for (const RegExportKey& key : keys) {
        text += kCrLf;
        text += u'[' + key.path + u']';
        text += kCrLf;
        for (const RegValue& value : key.values)
            AppendValue(text, value);
    }
    text += kCrLf;
    return Utf16Bytes(text, false);
}

// ---------------------------------------------------------------------------
// Reading

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

qsizetype SkipBlanks(const QString& s, qsizetype p) {
    while (p < s.size() && IsBlank(s[p]))
        ++p;
    return p;
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// What may follow a complete value: blanks and an optional ";comment".
bool OnlyCommentFollows(const QString& s, qsizetype p) {
    p = SkipBlanks(s, p);
    return p == s.size() || s[p] == u';';
}

struct ParseError {
    QString reason;
};

struct SetOp {
    RegValue value;
};
struct DeleteOp {
    QString name;
};
using ValueOp = std::variant<SetOp, DeleteOp, ParseError>;

class RegReader {
public:
    RegReader(const QStringList& lines, bool unicode, RegImportSink& sink)
        : lines_(lines), unicode_(unicode), sink_(sink) {}

    ImportReport run();

private:
    enum class State { NoKey, Key, Skipping };

    void keyLine(const QString& s, int lineNo);
    void valueLine(const QString& s, qsizetype start, int lineNo);
    ValueOp parseValue(const QString& s, qsizetype p);
    std::optional<QString> parseQuoted(const QString& s, qsizetype& p, QString& error);
    ValueOp parseHex(const QString& s, qsizetype p, const QString& name, quint32 type);
    bool fail(int lineNo, const QString& reason) {
        report_.issues.append({lineNo, reason});
        return false;
    }

    const QStringList& lines_;
    const bool unicode_;
    RegImportSink& sink_;
    ImportReport report_;
    State state_ = State::NoKey;
    QString skipReason_;
    KeyPath key_;
    qsizetype index_ = 0; // the line being read; continuation lines advance it
    bool storeFailed_ = false;
};

ImportReport RegReader::run() {
    report_.imported = true;
    for (index_ = 1; index_ < lines_.size() && !storeFailed_; ++index_) {
        const QString& line = lines_[index_];
        const qsizetype p = SkipBlanks(line, 0);
        if (p == line.size())
            continue;
        const int lineNo = static_cast<int>(index_) + 1;
        const QChar c = line[p];
        if (c == u'[')
            keyLine(line.mid(p), lineNo);
        else if (c == u'@' || c == u'"')
            valueLine(line, p, lineNo);
        // Any other first character makes a comment line (";" or "#").
    }
    if (storeFailed_) {
        report_.imported = false;
        report_.error = QStringLiteral("the store could not be written; nothing was imported");
    }
    return report_;
}

void RegReader::keyLine(const QString& s, int lineNo) {
    state_ = State::Skipping;
    skipReason_ = QStringLiteral("it follows a key line that was not taken");
    QString rest = s.mid(1);
    const bool deleting = rest.startsWith(u'-');
    if (deleting)
        rest.remove(0, 1);
    if (rest.isEmpty() || IsBlank(rest[0])) {
        fail(lineNo,
             QStringLiteral("blank after '%1': key line ignored").arg(deleting ? u'-' : u'['));
        return;
    }
    const qsizetype close = rest.lastIndexOf(u']');
    if (close < 0) {
        fail(lineNo, QStringLiteral("missing closing bracket ']'"));
        return;
    }
    const QString path = rest.left(close);
    const qsizetype slash = path.indexOf(u'\\');
    const QString rootText = slash < 0 ? path : path.left(slash);
    std::optional<RootKey> root;
    if (rootText.compare(u"HKEY_LOCAL_MACHINE", Qt::CaseInsensitive) == 0)
        root = RootKey::LocalMachine;
    else if (rootText.compare(u"HKEY_CURRENT_USER", Qt::CaseInsensitive) == 0)
        root = RootKey::CurrentUser;
    if (!root) {
        static const QStringList otherRoots = {u"HKEY_CLASSES_ROOT"_qs, u"HKEY_USERS"_qs,
 u"HKEY_CURRENT_CONFIG"_qs, u"HKEY_DYN_DATA"_qs};
        if (otherRoots.contains(rootText, Qt::CaseInsensitive))
            fail(lineNo, QStringLiteral("root key %1 is not kept in this store; only "
                                        "HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER are")
                             .arg(rootText.toUpper()));
        else
            fail(lineNo, QStringLiteral("unknown root key '%1'").arg(rootText));
        return;
    }
    const auto names = SplitKeyPath(slash < 0 ? QString() : path.mid(slash + 1));
    if (!names) {
        fail(lineNo, QStringLiteral("invalid key name (an empty name, or a name longer than "
                                    "%1 characters)")
                         .arg(MaxKeyNameLength));
        return;
    }
    const KeyPath key{*root, *names};
    if (deleting) {
        if (names->isEmpty()) {
            fail(lineNo, QStringLiteral("a whole root key cannot be deleted"));
            return;
        }
        if (!sink_.deleteKey(key))
            storeFailed_ = true;
        skipReason_ = QStringLiteral("it follows the deletion of its key");
        return;
    }
    if (!sink_.createKey(key)) {
        storeFailed_ = true;
        return;
    }
    key_ = key;
    state_ = State::Key;
}

void RegReader::valueLine(const QString& s, qsizetype start, int lineNo) {
    const ValueOp op = parseValue(s, start);
    if (const auto* error = std::get_if<ParseError>(&op)) {
        fail(lineNo, error->reason);
        return;
    }
    if (state_ == State::NoKey) {
        fail(lineNo, QStringLiteral("value line ignored: it comes before any key line"));
        return;
    }
    if (state_ == State::Skipping) {
        fail(lineNo, QStringLiteral("value line ignored: ") + skipReason_);
        return;
    }
    bool ok = true;
    if (const auto* set = std::get_if<SetOp>(&op))
        ok = sink_.setValue(key_, set->value);
    else
        ok = sink_.deleteValue(key_, std::get<DeleteOp>(op).name);
    if (!ok)
        storeFailed_ = true;
}

std::optional<QString> RegReader::parseQuoted(const QString& s, qsizetype& p, QString& error) {
    // s[p] is the opening quote.
    QString out;
    for (++p; p < s.size(); ++p) {
        const QChar c = s[p];
        if (c == u'"') {
            ++p;
            return out;
        }
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++p == s.size())
            break;
        switch (s[p].unicode()) {
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case '0':
            error = QStringLiteral("'\\0' is not allowed inside quotes");
            return std::nullopt;
        default:
            out += s[p];
        }
    }
    error = QStringLiteral("missing closing quote");
    return std::nullopt;
}

ValueOp RegReader::parseValue(const QString& s, qsizetype p) {
    QString name;
    QString error;
    if (s[p] == u'@') {
        ++p;
    } else {
        const auto quoted = parseQuoted(s, p, error);
        if (!quoted)
            return ParseError{error + QStringLiteral(" in the value name")};
        name = *quoted;
    }
    p = SkipBlanks(s, p);
    if (p == s.size() || s[p] != u'=')
        return ParseError{QStringLiteral("'=' expected after the value name")};
    p = SkipBlanks(s, p + 1);
    if (p == s.size())
        return ParseError{QStringLiteral("no data after '='")};

    if (s[p] == u'-') {
        if (!OnlyCommentFollows(s, p + 1))
            return ParseError{QStringLiteral("unexpected text after '-'")};
        return DeleteOp{name};
    }
    if (s[p] == u'"') {
        const auto text = parseQuoted(s, p, error);
        if (!text)
            return ParseError{error + QStringLiteral(" in the string data")};
        if (!OnlyCommentFollows(s, p))
            return ParseError{QStringLiteral("unexpected text after the string data")};
        return SetOp{MakeStringValue(name, *text)};
    }
    const QStringView rest = QStringView(s).mid(p);
    if (rest.startsWith(u"dword:")) {
        qsizetype q = p + 6;
        quint32 number = 0;
        int digits = 0;
        for (; q < s.size() && HexDigit(s[q]) >= 0; ++q, ++digits)
            number = (number << 4) | static_cast<quint32>(HexDigit(s[q]));
        if (digits == 0 || digits > 8)
            return ParseError{QStringLiteral("dword data needs 1 to 8 hex digits")};
        if (!OnlyCommentFollows(s, q))
            return ParseError{QStringLiteral("unexpected text after the dword data")};
        return SetOp{MakeDwordValue(name, number)};
    }
    if (rest.startsWith(u"hex:"))
        return parseHex(s, p + 4, name, RegType::Binary);
    if (rest.startsWith(u"hex(")) {
        qsizetype q = p + 4;
        quint64 type = 0;
        int digits = 0;
        for (; q < s.size() && HexDigit(s[q]) >= 0; ++q, ++digits)
            type = (type << 4) | static_cast<quint64>(HexDigit(s[q]));
        if (digits == 0 || digits > 8 || !QStringView(s).mid(q).startsWith(u"):"))
            return ParseError{QStringLiteral("invalid type in hex(...)")};
        return parseHex(s, q + 2, name, static_cast<quint32>(type));
    }
    return ParseError{QStringLiteral("unknown data type")};
}

ValueOp RegReader::parseHex(const QString& first, qsizetype p, const QString& name, quint32 type) {
    QByteArray bytes;
    const QString* s = &first;
    bool afterComma = false; // the last token was a comma
    for (;;) {
        p = SkipBlanks(*s, p);
        if (p == s->size() || (*s)[p] == u';')
            break;
        const QChar c = (*s)[p];
        if (c == u'\\') {
            if (!afterComma)
                return ParseError{QStringLiteral("'\\' must follow a comma")};
            if (!OnlyCommentFollows(*s, p + 1))
                return ParseError{QStringLiteral("unexpected text after '\\'")};
            // Continue on the next line that is neither blank nor a ';' comment.
            for (;;) {
                if (index_ + 1 >= lines_.size())
                    goto done; // end of file straight after '\' keeps the data
                ++index_;
                const QString& next = lines_[index_];
                const qsizetype q = SkipBlanks(next, 0);
                if (q == next.size() || next[q] == u';')
                    continue;
                if (next[q] == u'#')
                    return ParseError{QStringLiteral("a '#' line inside continued hex data")};
                s = &next;
                p = q;
                break;
            }
            continue;
        }
        if (c == u',') {
            if (afterComma || bytes.isEmpty())
                return ParseError{QStringLiteral("a comma without a byte before it")};
            afterComma = true;
            ++p;
            continue;
        }
        if (!bytes.isEmpty() && !afterComma)
            return ParseError{QStringLiteral("',' expected between bytes")};
        int value = 0;
        int digits = 0;
        while (p < s->size() && HexDigit((*s)[p]) >= 0) {
            value = value * 16 + HexDigit((*s)[p]);
            ++digits;
            ++p;
        }
        if (digits == 0)
            return ParseError{QStringLiteral("'%1' is not a hex byte").arg(c)};
        if (digits > 2)
            return ParseError{QStringLiteral("a byte has more than two hex digits")};
        bytes.append(static_cast<char>(value));
        afterComma = false;
    }
done:
    const bool textType =
        type == RegType::Sz || type == RegType::ExpandSz || type == RegType::MultiSz;
    if (textType && !unicode_) {
        // REGEDIT4 files hold these as 8-bit characters.
        bytes = Utf16Bytes(DecodeAnsi(bytes), false);
    }
    // A missing terminator is added; data that already ends in one is kept as
    // it is, so that an export of it reads back byte for byte.
    if ((type == RegType::ExpandSz || type == RegType::MultiSz) && !bytes.isEmpty() &&
        !bytes.endsWith(QByteArray(2, '\0')))
        bytes.append(QByteArray(2, '\0'));
    return SetOp{RegValue{name, type, bytes}};
}

} // namespace

ImportReport ParseRegFile(const QByteArray& bytes, RegImportSink& sink) {
    const QString text = DecodeTextFile(bytes);
    // Lines end in CR LF, LF or CR alone.
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start));

    ImportReport report;
    const QString header = lines.isEmpty() ? QString() : lines[0].trimmed();
    bool unicode = true;
    if (header == kHeader5) {
        unicode = true;
    } else if (header == kHeader4) {
        unicode = false;
    } else if (header.startsWith(u"REGEDIT")) {
        report.error = QStringLiteral("unsupported registry file version \"%1\"").arg(header);
        return report;
    } else {
        report.error = QStringLiteral("not a registry file: the first line must be \"%1\" or "
                                      "\"%2\"")
                           .arg(kHeader5, kHeader4);
        return report;
    }
    return RegReader(lines, unicode, sink).run();
}
