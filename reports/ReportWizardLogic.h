// The report wizard's rules that need no widgets: the default extension of
// the typed name, the name a browse gives, the checks of the file name and
// the summary text.
#pragma once

#include <QString>

// The folder part of a path and its last component: the text before and
// after the last "/" ("/" itself for a name directly under the root; an
// empty folder for a bare name).
QString ParentFolderName(const QString& path);
QString LastPathComponent(const QString& path);
// Whether the path names an existing folder (an empty path does not).
bool FolderExists(const QString& path);

// The name when focus leaves the file-name box: ".txt" appended unless it
// ends in ".txt", ".htm" or ".html" (any case); unchanged when it names a
// folder or its folder does not exist.
QString WithDefaultReportExtension(const QString& text);

// The name a completed browse puts into the box: filter index 1 (text) ends
// it in ".txt", any other (web page) in ".htm" or ".html".
QString BrowsedReportName(const QString& chosen, int filterIndex);

// The verdict on the file name when "Next" leaves the file page.
struct ReportNameCheck {
    enum Kind { Ok, InvalidCharacters, IsFolder, MissingFolder } kind = Ok;
    QString message;            // what the user is told; empty when Ok
    qsizetype selectLength = 0; // MissingFolder: the length of the folder to select
};
ReportNameCheck CheckReportFileName(const QString& text);

// The step 4 summary: the programs of the list and the chosen ones.
QString ReportSummaryText(qsizetype total, qsizetype chosen);
