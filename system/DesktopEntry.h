// The desktop entry format (.desktop files): the keys of the [Desktop Entry]
// group, localised keys, escape sequences and the quoting of Exec.
//
// QSettings cannot read these files: it takes ',' as a list separator, ';'
// and '#' inside values as comments, and it rewrites backslashes.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

class DesktopEntry {
public:
    // The [Desktop Entry] group of the file; nothing when it has none.
    static std::optional<DesktopEntry> parse(const QByteArray& bytes);

    // A string value with its escape sequences (\s \n \t \r \\) resolved;
    // empty when the key is missing.
    QString value(const QString& key) const;
    bool has(const QString& key) const { return raw_.contains(key); }
    // A boolean value: "true" (or "1") is true, anything else false.
    bool flag(const QString& key) const;
    // Key[locale] for the locale ("lang_COUNTRY.ENCODING@MODIFIER"), trying
    // lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER and lang in that
    // order, then the key itself.
    QString localized(const QString& key, const QString& locale) const;

    // The arguments of an Exec value (escape sequences already resolved):
    // blanks separate them, double quotes group them (with \" \` \$ \\ inside),
    // single quotes too (tolerated, as many files use them); field codes
    // (%f %U ...) are removed and %% gives %.
    static QStringList splitExec(const QString& exec);

private:
    QHash<QString, QByteArray> raw_; // key as written (with [locale]) -> value bytes
};
