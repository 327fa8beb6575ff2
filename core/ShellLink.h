// Shell link files (.lnk): a link to a folder or file with a description, in
// the layout the Windows shell reads (header, link info naming the target by
// its local path, the description string, the terminal block).
//
// The link names its target by path only (no item-ID list): the shell and
// other readers resolve the link from the local base path.
#pragma once

#include "core/WholeFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct ShellLink {
    QString targetPath;  // as given: "C:\Program Files\Tool" or "/opt/tool"
    QString description; // shown as the link's comment; none when empty
    bool targetIsFolder = true;
    // The target's times, kept in the header; an invalid time is "not set".
    QDateTime creationTime;
    QDateTime accessTime;
    QDateTime writeTime;
    quint32 fileSize = 0; // of a file target (low 32 bits); 0 for a folder
    quint32 driveSerialNumber = 0;
};

// The bytes of the link file.
QByteArray ShellLinkBytes(const ShellLink& link);

// Writes the link file whole or not at all.
WriteResult WriteShellLink(const QString& file, const ShellLink& link);
