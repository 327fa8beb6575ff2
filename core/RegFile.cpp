#include "core/RegFile.h"

#include "core/TextCodec.h"
#include "core/WholeFile.h"

#include <QBuffer>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <variant>

// ---------------------------------------------------------------------------
// Writing

namespace {

const QString kHeader5 = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kHeader4 = QStringLiteral("REGEDIT4");
constexpr QStringView kCrLf = u"\r\n";
// Characters gathered before they are handed to the sink.
constexpr qsizetype kChunkChars = 32 * 1024;

void AppendEscaped(QString& out, QStringView text) {
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
}

// A REG_SZ is written as a quoted string when that string gives back the same
// bytes on import: text without NUL, CR or LF, followed by one NUL. Anything
// else is written as hex(1), which imports byte for byte. Appends the quoted
// string and returns true, or appends nothing and returns false.
bool AppendPlainString(QString& out, const QByteArray& data) {
    const qsizetype units = data.size() / 2;
    if (units < 1 || data.size() % 2 != 0)
        return false;
    const char* bytes = data.constData();
    if (qFromLittleEndian<quint16>(bytes + 2 * (units - 1)) != 0)
        return false;
    for (qsizetype i = 0; i + 1 < units; ++i) {
        const quint16 c = qFromLittleEndian<quint16>(bytes + 2 * i);
        if (c == 0 || c == '\r' || c == '\n')
            return false;
    }
    out += u'"';
    for (qsizetype i = 0; i + 1 < units; ++i) {
        const QChar c(qFromLittleEndian<quint16>(bytes + 2 * i));
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    out += u'"';
    return true;
}

// Bytes as "aa,bb,...", wrapped as the registry editor wraps them: after a
// byte's comma, once the line has reached 77 columns, "\" and a new line
// indented by two spaces.
void AppendHex(QString& out, qsizetype col, const QByteArray& data) {
    static const char digits[] = "0123456789abcdef";
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
    const qsizetype start = out.size();
    if (value.name.isEmpty()) {
        out += u"@=";
    } else {
        out += u'"';
        AppendEscaped(out, value.name);
        out += u"\"=";
    }
    if (value.type == RegType::Sz && AppendPlainString(out, value.data)) {
        out += kCrLf;
        return;
    }
    if (value.type == RegType::Dword && value.data.size() == 4) {
        out += QStringLiteral("dword:%1")
                   .arg(qFromLittleEndian<quint32>(value.data.constData()), 8, 16, QChar(u'0'));
        out += kCrLf;
        return;
    }
    if (value.type == RegType::Binary)
        out += u"hex:";
    else
        out += QStringLiteral("hex(%1):").arg(value.type, 0, 16);
    AppendHex(out, out.size() - start, value.data);
    out += kCrLf;
}

} // namespace

RegFileWriter::RegFileWriter(Sink sink) : sink_(std::move(sink)) {
    buffer_.reserve(kChunkChars + 1024);
    buffer_ += QChar(0xFEFF);
    buffer_ += kHeader5;
    buffer_ += kCrLf;
}

RegFileWriter::RegFileWriter(WholeFileWriter& file)
    : RegFileWriter([&file](QByteArrayView bytes) { return file.write(bytes); }) {}

bool RegFileWriter::beginKey(const QString& fullPath) {
    if (failed_)
        return false;
    buffer_ += kCrLf;
    buffer_ += u'[';
    buffer_ += fullPath;
    buffer_ += u']';
    buffer_ += kCrLf;
    return flushIfFull();
}

bool RegFileWriter::writeValue(const RegValue& value) {
    if (failed_)
        return false;
    AppendValue(buffer_, value);
    return flushIfFull();
}

bool RegFileWriter::finish() {
    if (failed_)
        return false;
    buffer_ += kCrLf;
    return flush();
}

bool RegFileWriter::flushIfFull() {
    return buffer_.size() < kChunkChars || flush();
}

bool RegFileWriter::flush() {
    if (failed_)
        return false;
    if (buffer_.isEmpty())
        return true;
    bool written = false;
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        written = sink_(
            QByteArrayView(reinterpret_cast<const char*>(buffer_.utf16()), buffer_.size() * 2));
    } else {
        written = sink_(Utf16Bytes(buffer_, false));
    }
    buffer_.clear();
    failed_ = !written;
    return written;
}

QByteArray FormatRegFile(const QList<RegExportKey>& keys) {
    QByteArray bytes;
    RegFileWriter out([&bytes](QByteArrayView chunk) {
        bytes.append(chunk);
        return true;
    });
    for (const RegExportKey& key : keys) {
        out.beginKey(key.path);
        for (const RegValue& value : key.values)
            out.writeValue(value);
    }
    out.finish();
    return bytes;
}

// ---------------------------------------------------------------------------
// Reading lines

namespace {

// Reads a text file line by line (lines end in CR LF, LF or CR alone),
// decoding as it goes: UTF-16 when the file starts with a byte-order mark or
// looks like UTF-16LE without one; otherwise each line as UTF-8 when it is
// valid UTF-8 and as Windows-1252 when not.
class LineReader {
public:
    explicit LineReader(QIODevice& in) : in_(in) {}

    // The next line; false at the end of the file or when a read failed.
    bool next(QString& line);
    // The line just read is given again by the next call to next().
    void unread() { unread_ = true; }
    // The number of the line just read, from 1.
    int lineNumber() const { return number_; }
    bool failed() const { return failed_; }
    QString errorString() const { return in_.errorString(); }

private:
    enum class Encoding { Unknown, Utf16LE, Utf16BE, EightBit };
    static constexpr qint64 kChunk = 256 * 1024;

    void detectEncoding();
    bool fill(); // appends more bytes; false at the end or on an error
    bool nextUtf16(QString& line);
    bool nextEightBit(QString& line);
    // The line of this many UTF-16 units at the read position.
    void takeUnits(QString& line, qsizetype units) const;

    QIODevice& in_;
    QByteArray bytes_;
    qsizetype pos_ = 0;
    Encoding encoding_ = Encoding::Unknown;
    bool atEnd_ = false;
    bool failed_ = false;
    QString last_;
    bool unread_ = false;
    int number_ = 0;
};

bool LineReader::fill() {
    if (atEnd_)
        return false;
    if (pos_ > 0) {
        bytes_.remove(0, pos_);
        pos_ = 0;
    }
    // Small files (and the rest of a large one) are read in one piece that
    // fits them; large ones in chunks.
    const qint64 want = std::clamp<qint64>(in_.bytesAvailable(), 4096, kChunk);
    const qsizetype had = bytes_.size();
    bytes_.resize(had + want);
    const qint64 got = in_.read(bytes_.data() + had, want);
    if (got <= 0) {
        bytes_.resize(had);
        atEnd_ = true;
        failed_ = got < 0;
        return false;
    }
    bytes_.resize(had + got);
    return true;
}

void LineReader::detectEncoding() {
    while (bytes_.size() < 4 && fill()) {
    }
    if (bytes_.startsWith("\xFF\xFE")) {
        encoding_ = Encoding::Utf16LE;
        pos_ = 2;
    } else if (bytes_.startsWith("\xFE\xFF")) {
        encoding_ = Encoding::Utf16BE;
        pos_ = 2;
    } else if (bytes_.startsWith("\xEF\xBB\xBF")) {
        encoding_ = Encoding::EightBit;
        pos_ = 3;
    } else if (bytes_.size() >= 4 && bytes_[0] != 0 && bytes_[1] == 0 && bytes_[2] != 0 &&
               bytes_[3] == 0) {
        // UTF-16LE without a mark: ASCII text shows as every second byte zero.
        encoding_ = Encoding::Utf16LE;
    } else {
        encoding_ = Encoding::EightBit;
    }
}

bool LineReader::next(QString& line) {
    if (unread_) {
        unread_ = false;
        line = last_;
        return true;
    }
    if (encoding_ == Encoding::Unknown)
        detectEncoding();
    const bool got = encoding_ == Encoding::EightBit ? nextEightBit(line) : nextUtf16(line);
    if (got) {
        ++number_;
        last_ = line;
    }
    return got;
}

bool LineReader::nextUtf16(QString& line) {
    const bool big = encoding_ == Encoding::Utf16BE;
    auto unitAt = [&](qsizetype i) {
        const char* p = bytes_.constData() + i;
        return big ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    };
    qsizetype scan = pos_;
    for (;;) {
        for (; scan + 1 < bytes_.size(); scan += 2) {
            const quint16 u = unitAt(scan);
            if (u != '\r' && u != '\n')
                continue;
            // A CR at the end of what was read may be the first half of CR LF.
            if (u == '\r' && scan + 3 >= bytes_.size() && !atEnd_) {
                const qsizetype offset = scan - pos_;
                fill();
                scan = pos_ + offset;
            }
            takeUnits(line, (scan - pos_) / 2);
            qsizetype end = scan + 2;
            if (u == '\r' && end + 1 < bytes_.size() && unitAt(end) == '\n')
                end += 2;
            pos_ = end;
            return true;
        }
        const qsizetype offset = scan - pos_;
        if (!fill())
            break;
        scan = pos_ + offset;
    }
    // The last line, without a line end; an odd byte at the end is dropped.
    const qsizetype units = (bytes_.size() - pos_) / 2;
    if (units == 0)
        return false;
    takeUnits(line, units);
    pos_ = bytes_.size();
    return true;
}

void LineReader::takeUnits(QString& line, qsizetype units) const {
    line.resize(units);
    char16_t* out = reinterpret_cast<char16_t*>(line.data());
    const char* in = bytes_.constData() + pos_;
    const bool big = encoding_ == Encoding::Utf16BE;
    for (qsizetype i = 0; i < units; ++i)
        out[i] = big ? qFromBigEndian<quint16>(in + 2 * i) : qFromLittleEndian<quint16>(in + 2 * i);
}

QString DecodeLine(QByteArrayView bytes) {
    bool ascii = true;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    return ascii ? QString::fromLatin1(bytes) : DecodeAnsi(bytes.toByteArray());
}

bool LineReader::nextEightBit(QString& line) {
    qsizetype scan = pos_;
    for (;;) {
        const char* data = bytes_.constData();
        for (; scan < bytes_.size(); ++scan) {
            const char c = data[scan];
            if (c != '\r' && c != '\n')
                continue;
            if (c == '\r' && scan + 1 >= bytes_.size() && !atEnd_) {
                const qsizetype offset = scan - pos_;
                fill();
                scan = pos_ + offset;
            }
            line = DecodeLine(QByteArrayView(bytes_).sliced(pos_, scan - pos_));
            qsizetype end = scan + 1;
            if (c == '\r' && end < bytes_.size() && bytes_.at(end) == '\n')
                ++end;
            pos_ = end;
            return true;
        }
        const qsizetype offset = scan - pos_;
        if (!fill())
            break;
        scan = pos_ + offset;
    }
    if (pos_ >= bytes_.size())
        return false;
    line = DecodeLine(QByteArrayView(bytes_).sliced(pos_));
    pos_ = bytes_.size();
    return true;
}

// ---------------------------------------------------------------------------
// Reading the format

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

bool StartsWithTag(const QString& s, qsizetype p, QStringView tag) {
    return QStringView(s).mid(p).startsWith(tag, Qt::CaseInsensitive);
}

QString Quoted(QChar c) {
    return QStringLiteral("'%1'").arg(c);
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
    RegReader(LineReader& lines, bool unicode, RegImportSink& sink)
        : lines_(lines), unicode_(unicode), sink_(sink) {}

    ImportReport run();

private:
    enum class State { NoKey, Key, Skipping };
    // What came before an unreadable line that looks like hex data.
    enum class Orphans {
        None,
        OfBrokenValue, // the value they belonged to was reported already
        AfterCut,      // the value before ended at a ',' (and a comment), and was stored
        Reported,      // the first of them was reported
    };

    void keyLine(const QString& s, qsizetype p, int lineNo);
    void valueLine(const QString& s, qsizetype p, int lineNo);
    void otherLine(const QString& s, qsizetype p, int lineNo);
    ValueOp parseValue(const QString& s, qsizetype p);
    ValueOp parseHex(const QString& s, qsizetype p, const QString& name, quint32 type);
    std::optional<QString> parseQuoted(const QString& s, qsizetype& p, QString& error);
    void issue(int lineNo, const QString& reason) { report_.issues.append({lineNo, reason}); }
    // Applies the sink's answer: an Invalid one is the line's issue, any other
    // failure stops the import.
    bool apply(const StoreResult& result, int lineNo);

    LineReader& lines_;
    const bool unicode_;
    RegImportSink& sink_;
    ImportReport report_;
    State state_ = State::NoKey;
    QString skipReason_;
    Orphans orphans_ = Orphans::None;
    int cutLine_ = 0;       // where the hex data of a stored value ended at a ','
    bool hexValue_ = false; // the value line being read holds hex data
    StoreResult storeFailure_;
};

ImportReport RegReader::run() {
    report_.imported = true;
    QString line;
    while (storeFailure_.ok() && lines_.next(line)) {
        const int lineNo = lines_.lineNumber();
        const qsizetype p = SkipBlanks(line, 0);
        if (p == line.size())
            continue;
        const QChar c = line[p];
        if (c == u';' || c == u'#')
            continue; // a comment line
        if (c == u'[') {
            orphans_ = Orphans::None;
            keyLine(line, p, lineNo);
        } else if (c == u'@' || c == u'"') {
            orphans_ = Orphans::None;
            valueLine(line, p, lineNo);
        } else {
            otherLine(line, p, lineNo);
        }
    }
    if (!storeFailure_.ok()) {
        report_.imported = false;
        report_.error = storeFailure_.message + QStringLiteral("; nothing was imported");
    } else if (lines_.failed()) {
        report_.imported = false;
        report_.error = QStringLiteral("the file could not be read to its end (%1); nothing was "
                                       "imported")
                            .arg(lines_.errorString());
    }
    return report_;
}

bool RegReader::apply(const StoreResult& result, int lineNo) {
    if (result.ok())
        return true;
    if (result.status == StoreStatus::Invalid)
        issue(lineNo, result.message);
    else
        storeFailure_ = result;
    return false;
}

void RegReader::keyLine(const QString& s, qsizetype p, int lineNo) {
    state_ = State::Skipping;
    skipReason_ = QStringLiteral("it follows a key line that was not taken");
    QString rest = s.mid(p + 1);
    const bool deleting = rest.startsWith(u'-');
    if (deleting)
        rest.remove(0, 1);
    if (rest.isEmpty() || IsBlank(rest[0])) {
        issue(lineNo, QStringLiteral("blank after %1: key line ignored")
                          .arg(Quoted(deleting ? QChar(u'-') : QChar(u'['))));
        return;
    }
    const qsizetype close = rest.lastIndexOf(u']');
    if (close < 0) {
        issue(lineNo, QStringLiteral("missing closing bracket ']'"));
        return;
    }
    QString path = rest.left(close);
    // Empty names at the end are dropped: "[...\Key\\]" is the key "...\Key".
    while (path.endsWith(u'\\'))
        path.chop(1);
    const qsizetype slash = path.indexOf(u'\\');
    const QString rootText = slash < 0 ? path : path.left(slash);
    const auto root = ParseRootName(rootText, false);
    if (!root) {
        if (rootText.compare(u"HKEY_DYN_DATA", Qt::CaseInsensitive) == 0)
            issue(lineNo, QStringLiteral("root key HKEY_DYN_DATA is not kept in this store"));
        else
            issue(lineNo, QStringLiteral("unknown root key '%1'").arg(rootText));
        return;
    }
    KeyPath key{*root, {}};
    if (slash >= 0)
        key.names = path.mid(slash + 1).split(u'\\');
    for (const QString& name : std::as_const(key.names)) {
        if (const QString problem = KeyNameProblem(name); !problem.isEmpty()) {
            issue(lineNo, QStringLiteral("invalid key name: ") + problem);
            return;
        }
    }
    if (deleting) {
        if (key.names.isEmpty()) {
            issue(lineNo, QStringLiteral("a whole root key cannot be deleted"));
            return;
        }
        apply(sink_.deleteKey(key), lineNo);
        skipReason_ = QStringLiteral("it follows the deletion of its key");
        return;
    }
    if (apply(sink_.openKey(key), lineNo))
        state_ = State::Key;
}

void RegReader::valueLine(const QString& s, qsizetype p, int lineNo) {
    const ValueOp op = parseValue(s, p);
    if (const auto* error = std::get_if<ParseError>(&op)) {
        issue(lineNo, error->reason);
        // Hex lines after a broken hex value belong to it: reported with it.
        orphans_ = hexValue_ ? Orphans::OfBrokenValue : Orphans::None;
        return;
    }
    if (state_ == State::NoKey) {
        issue(lineNo, QStringLiteral("value line ignored: it comes before any key line"));
        return;
    }
    if (state_ == State::Skipping) {
        issue(lineNo, QStringLiteral("value line ignored: ") + skipReason_);
        return;
    }
    if (const auto* set = std::get_if<SetOp>(&op))
        apply(sink_.setValue(set->value), lineNo);
    else
        apply(sink_.deleteValue(std::get<DeleteOp>(op).name), lineNo);
    if (cutLine_ > 0)
        orphans_ = Orphans::AfterCut;
}

void RegReader::otherLine(const QString& s, qsizetype p, int lineNo) {
    const QChar c = s[p];
    if (HexDigit(c) >= 0 && orphans_ != Orphans::None) {
        // Hex data that belongs to no value.
        if (orphans_ == Orphans::AfterCut)
            issue(lineNo, QStringLiteral("hex data not imported: the value before it ends on "
                                         "line %1 at a ',' with no '\\' after it (a comment or "
                                         "the end of the line cuts the data there), so it was "
                                         "stored without this line and the hex lines after it")
                              .arg(cutLine_));
        if (orphans_ != Orphans::OfBrokenValue)
            orphans_ = Orphans::Reported;
        return;
    }
    orphans_ = Orphans::None;
    QString reason;
    const char16_t u = c.unicode();
    if (u == 0x201C || u == 0x201D || u == 0x201E || u == 0x00AB || u == 0x00BB)
        reason = QStringLiteral("a value name must be in straight double quotes (\"), not "
                                "typographic quotes");
    else if (u == '\'' || u == 0x2018 || u == 0x2019)
        reason = QStringLiteral("a value name must be in double quotes (\"), not single quotes");
    else if (QStringView(s).mid(p).startsWith(u"HKEY_", Qt::CaseInsensitive))
        reason = QStringLiteral("a key path must be in square brackets: [HKEY_...]");
    else if (s.indexOf(u'=', p) > p)
        reason = QStringLiteral("a value name must be in double quotes (\"), or @ for the default "
                                "value");
    else if (HexDigit(c) >= 0)
        reason = QStringLiteral("hex data outside any value");
    else
        reason = QStringLiteral("not a key, value or comment line");
    issue(lineNo, QStringLiteral("line ignored: ") + reason);
}

std::optional<QString> RegReader::parseQuoted(const QString& s, qsizetype& p, QString& error) {
    // s[p] is the opening quote. Most strings hold no escape: taken whole.
    const qsizetype start = p + 1;
    qsizetype end = start;
    while (end < s.size() && s[end] != u'"' && s[end] != u'\\')
        ++end;
    if (end < s.size() && s[end] == u'"') {
        p = end + 1;
        return s.mid(start, end - start);
    }
    QString out = s.mid(start, end - start);
    for (p = end; p < s.size(); ++p) {
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
    cutLine_ = 0;
    hexValue_ = false;
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

    ValueOp op;
    if (s[p] == u'-') {
        if (!OnlyCommentFollows(s, p + 1))
            return ParseError{QStringLiteral("unexpected text after '-'")};
        op = DeleteOp{name};
    } else if (s[p] == u'"') {
        const auto text = parseQuoted(s, p, error);
        if (!text)
            return ParseError{error + QStringLiteral(" in the string data")};
        if (!OnlyCommentFollows(s, p))
            return ParseError{QStringLiteral("unexpected text after the string data")};
        op = SetOp{MakeStringValue(name, *text)};
    } else if (StartsWithTag(s, p, u"dword:")) {
        qsizetype q = SkipBlanks(s, p + 6);
        quint32 number = 0;
        int digits = 0;
        for (; q < s.size() && HexDigit(s[q]) >= 0; ++q, ++digits)
            number = (number << 4) | static_cast<quint32>(HexDigit(s[q]));
        if (digits == 0 || digits > 8)
            return ParseError{QStringLiteral("dword data needs 1 to 8 hex digits")};
        if (!OnlyCommentFollows(s, q))
            return ParseError{QStringLiteral("unexpected text after the dword data")};
        op = SetOp{MakeDwordValue(name, number)};
    } else if (StartsWithTag(s, p, u"hex:")) {
        hexValue_ = true;
        op = parseHex(s, p + 4, name, RegType::Binary);
    } else if (StartsWithTag(s, p, u"hex(")) {
        qsizetype q = p + 4;
        quint64 type = 0;
        int digits = 0;
        for (; q < s.size() && HexDigit(s[q]) >= 0; ++q, ++digits)
            type = (type << 4) | static_cast<quint64>(HexDigit(s[q]));
        if (digits == 0 || digits > 8 || !QStringView(s).mid(q).startsWith(u"):"))
            return ParseError{QStringLiteral("invalid type in hex(...)")};
        hexValue_ = true;
        op = parseHex(s, q + 2, name, static_cast<quint32>(type));
    } else {
        return ParseError{QStringLiteral("unknown data type")};
    }
    // Checked last, so that a refused name's continued data is still read.
    if (!std::holds_alternative<ParseError>(op)) {
        if (const QString problem = ValueNameProblem(name); !problem.isEmpty())
            return ParseError{QStringLiteral("invalid value name: ") + problem};
    }
    return op;
}

ValueOp RegReader::parseHex(const QString& first, qsizetype p, const QString& name, quint32 type) {
    QByteArray bytes;
    const QString* s = &first;
    QString next;
    bool afterComma = false; // the last token was a comma
    for (;;) {
        p = SkipBlanks(*s, p);
        if (p == s->size() || (*s)[p] == u';') {
            if (afterComma)
                cutLine_ = lines_.lineNumber();
            break;
        }
        const QChar c = (*s)[p];
        if (c == u'\\') {
            // "\" continues the data on the next line; it follows a comma, or
            // stands alone before the first byte ("hex(2):\").
            if (!afterComma && !bytes.isEmpty())
                return ParseError{QStringLiteral("'\\' must follow a comma")};
            if (!OnlyCommentFollows(*s, p + 1))
                return ParseError{QStringLiteral("unexpected text after '\\'")};
            // The next line that is neither blank nor a ';' comment must
            // begin with a hex byte; any other line breaks the value, which
            // is then not stored, and a key or value line is read as one.
            bool more = false;
            while (lines_.next(next)) {
                const qsizetype q = SkipBlanks(next, 0);
                if (q == next.size() || next[q] == u';')
                    continue;
                if (HexDigit(next[q]) >= 0) {
                    more = true;
                    s = &next;
                    p = q;
                    break;
                }
                const int at = lines_.lineNumber();
                const QChar d = next[q];
                QString what;
                if (d == u'[' || d == u'@' || d == u'"') {
                    lines_.unread();
                    what = QStringLiteral("starts a new key or value");
                } else if (d == u'\\' && OnlyCommentFollows(next, q + 1)) {
                    what = QStringLiteral("holds only '\\'");
                } else if (d == u'#') {
                    what = QStringLiteral("is a '#' comment");
                } else {
                    what = QStringLiteral("is not hex data");
                }
                return ParseError{QStringLiteral("value not imported: its data is continued "
                                                 "with '\\', but line %1 %2")
                                      .arg(at)
                                      .arg(what)};
            }
            if (!more)
                break; // end of file straight after '\' keeps the data
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
            return ParseError{QStringLiteral("%1 is not a hex byte").arg(Quoted(c))};
        if (digits > 2)
            return ParseError{QStringLiteral("a byte has more than two hex digits")};
        bytes.append(static_cast<char>(value));
        afterComma = false;
    }
    // A 5.00 file holds the bytes exactly as the value had them, terminator
    // or not: an export of any value reads back byte for byte. A REGEDIT4
    // file holds strings as 8-bit characters: they become UTF-16, and
    // expandable and multiple strings get their missing terminator.
    const bool textType =
        type == RegType::Sz || type == RegType::ExpandSz || type == RegType::MultiSz;
    if (textType && !unicode_) {
        bytes = Utf16Bytes(DecodeAnsi(bytes), false);
        if (type != RegType::Sz && !bytes.isEmpty() && !bytes.endsWith(QByteArray(2, '\0')))
            bytes.append(QByteArray(2, '\0'));
    }
    return SetOp{RegValue{name, type, bytes}};
}

} // namespace

ImportReport ParseRegFile(QIODevice& in, RegImportSink& sink) {
    LineReader lines(in);
    ImportReport report;
    QString header;
    if (!lines.next(header) && lines.failed()) {
        report.error = QStringLiteral("the file could not be read (%1)").arg(lines.errorString());
        return report;
    }
    header = header.trimmed();
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

ImportReport ParseRegFile(const QByteArray& bytes, RegImportSink& sink) {
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return ParseRegFile(in, sink);
}
