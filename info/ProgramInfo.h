// What the program information window shows of one entry, without the
// window: its ten rows and which of them can be opened.
#pragma once

#include "core/Addresses.h"

#include <QList>
#include <QString>

class UninstallEntries;

struct InfoRow {
    QString property;
    QString value;
};

inline const QString NotAvailable = QStringLiteral("N/A");

// The ten rows of an entry in their order, "N/A" in place of every empty
// value. The "Program Size" row (the second) shows sizeText, which the
// window fills in once the install folder has been measured.
QList<InfoRow> ProgramInfoRows(UninstallEntries& entries, const QString& key,
                               const QString& sizeText);

// The entry's install folder, the folder the "Program Size" row measures.
QString InstallLocationOf(UninstallEntries& entries, const QString& key);

// Whether the row (counted from 1) offers the open button: a source, a
// location or one of the two addresses (rows 3, 4, 9, 10) whose value is not
// "N/A" and is longer than two characters.
bool RowOpens(int row, const QString& value);

// A value with "@" after its first character (and no scheme) is a mail
// address: IsMailAddress of core/Addresses.h.