// The installed-programs report as text and as a web page: the header and
// footer builders, the four writers, and the value lookup they share. The
// writers stream the report line by line and put the file in place only
// when it was written whole.
#pragma once

#include "core/WholeFile.h"
#include "dialogs/MainWindowHost.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <functional>

class UninstallEntries;

// The nine report items, in the order both formats write them (the indices
// of the wizard's item boxes).
struct ReportItem {
    QString caption;   // the item box's caption
    QString valueName; // the value read; empty for the registry name (the key)
    QString label;     // written before the value
};
const std::array<ReportItem, 9>& ReportItems();
inline constexpr int RegistryNameItem = 0;
inline constexpr int PublisherUrlItem = 7;
inline constexpr int SupportUrlItem = 8;

// The text of a named value of the program at report number n (1-based) of
// the listed programs; "N/A" when it is missing or empty.
QString ReadReportValue(UninstallEntries& entries, const QList<ListedProgram>& programs,
                        qsizetype n, const QString& valueName);

// What a report is written from.
struct ReportInput {
    QString computerName;
    QString userName;
    QList<ListedProgram> programs; // the wizard's list, in list order
    QList<bool> chosen;            // per position of programs
    std::array<bool, 9> items{};   // the checked item boxes (selective reports)
    // ReadReportValue for number n (1-based) and a value name.
    std::function<QString(qsizetype n, const QString& valueName)> readValue;
    // The time the footer shows, asked for when the footer is written.
    std::function<QDateTime()> now = [] {
        return QDateTime::currentDateTime();
    };
    // Called after each program block, with the blocks written so far.
    std::function<void(qsizetype written)> progress;

    qsizetype chosenCount() const;
};

// The general date form: short date, a space and long time; the date alone
// at exactly midnight.
QString GeneralDateText(const QDateTime& when);

// The text report's header (ending in CR LF) and its five footer lines
// (joined by CR LF, none at the end).
QString TextHeader(const QString& computerName, const QString& userName, qsizetype programs,
                   qsizetype chosen);
QString TextFooter(const QDateTime& when);

// "&", "<", ">" and the double quote as HTML entities.
QString HtmlEscape(const QString& text);
// Whether a value is written as a link: an address whose scheme is http,
// https, ftp or mailto. Anything else (javascript:, a bare word) is text.
bool IsLinkAddress(const QString& value);
// The web page's header lines and footer lines, joined by CR LF, none at the end.
QString HtmlHeader(const QString& computerName, const QString& userName, qsizetype programs,
                   qsizetype chosen);
QString HtmlFooter(const QDateTime& when);

// The writers: the full reports (all nine items) and the selective ones
// (the checked items).
WriteResult WriteTextFull(const QString& path, const ReportInput& input);
WriteResult WriteTextSelected(const QString& path, const ReportInput& input);
WriteResult WriteHtmlFull(const QString& path, const ReportInput& input);
WriteResult WriteHtmlSelected(const QString& path, const ReportInput& input);

// The writer for the file type picked in the save dialog (1 text, anything
// else a web page) and "Show Full Report".
using ReportWriterFunction = WriteResult (*)(const QString&, const ReportInput&);
ReportWriterFunction ChooseReportWriter(int filterIndex, bool fullReport);
