// INI files with the semantics of the Windows private-profile functions:
// sections and keys match without regard to case, values are trimmed, a read
// gives at most 254 characters, and a write changes one line in place and
// keeps every other line (comments, blank lines, unknown sections) as it was.
// Files are UTF-8 text with CR LF line ends and no byte-order mark; a write
// replaces the file whole or not at all (see WholeFile.h), so it is never left
// half-written, and a failed write keeps the old file.
#pragma once

#include "core/WholeFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The longest value ReadIni gives back (a 255-character buffer and its NUL).
constexpr int IniReadLimit = 254;

// The value of key in section, or defaultText (trailing blanks removed) when
// the file, the section or the key is missing. Cut to IniReadLimit characters.
QString ReadIni(const QString& file, const QString& section, const QString& key,
                const QString& defaultText);

// Sets key in section, creating the file and the section when missing. A
// failure (a missing folder, a read-only file, a full disk) changes nothing;
// the result says why, for callers that report it. CR and LF in the value are
// written as spaces, since a line break would split the entry.
WriteResult WriteIni(const QString& file, const QString& section, const QString& key,
                     const QString& value);

// Removes a key (its section header stays) or a whole section with its lines.
WriteResult DeleteIniKey(const QString& file, const QString& section, const QString& key);
WriteResult DeleteIniSection(const QString& file, const QString& section);

// One INI file held in memory, line by line, as its bytes.
class IniDocument {
public:
    static IniDocument parse(const QByteArray& bytes);
    static std::optional<IniDocument> load(const QString& file); // nullopt: unreadable

    // The value as read from the file (quotes stripped, not cut), or nullopt.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Every key of a section that has an '=', in file order.
    QList<QString> keys(const QString& section) const;

    void setValue(const QString& section, const QString& key, const QString& value);
    void removeKey(const QString& section, const QString& key);
    void removeSection(const QString& section);

    QByteArray bytes() const;
    WriteResult save(const QString& file) const;

private:
    enum class Kind { Blank, Section, Entry, Comment };
    struct Line {
        QByteArray raw;    // the line without its ending
        QByteArray ending; // "\r\n", "\n", "\r" or "" for a last line without one
        Kind kind = Kind::Blank;
        QString name; // section name, or entry key
        bool hasEquals = false;
        QByteArray value; // entry value, trimmed
    };
    static Line parseLine(QByteArray raw, QByteArray ending);
    // Index of the first section header with this name. The lines before the
    // first header form the nameless section, whose "header" is at -1.
    std::optional<qsizetype> findSection(const QString& section) const;
    qsizetype sectionEnd(qsizetype header) const;
    qsizetype findKey(qsizetype header, const QString& key) const;
    void insertLine(qsizetype at, Line line);

    QList<Line> lines_;
};

// A whole INI file read once, for many lookups: each one answers as ReadIni
// would (first matching section and key, quotes stripped, cut to
// IniReadLimit), in constant time. For files of thousands of sections, such
// as a long history.
class IniIndex {
public:
    IniIndex() = default;
    explicit IniIndex(QByteArrayView bytes);
    static IniIndex load(const QString& file); // an unreadable file gives an empty index

    bool hasSection(const QString& section) const;
    // The names of the sections, trimmed and case-folded, in no order.
    QStringList foldedSections() const { return sections_.keys(); }
    QString read(const QString& section, const QString& key, const QString& defaultText) const;

private:
    // Sections and keys by their case-folded, trimmed names; a key without
    // '=' has no value but still hides later keys of its name.
    QHash<QString, QHash<QString, std::optional<QString>>> sections_;
};
