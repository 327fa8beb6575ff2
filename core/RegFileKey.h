// Which key a registry editor file holds, told from its first key line,
// without importing it: what a backup needs to know before it replaces an
// existing file.
#pragma once

#include <QString>

// The key named by the file's first key line ("[HKEY_LOCAL_MACHINE\...]"):
// the text between the "[" and the last "]" of that line. Empty when the
// file cannot be read or has no key line before its first megabyte ends.
// Reads UTF-16 (as exports are written), UTF-8 and 8-bit files.
QString ReadRegFileKey(const QString& file);

// Whether two full key paths name the same key: the same root (written in
// full or short) and the same names, compared without regard to case.
bool SameKeyPath(const QString& a, const QString& b);

// Whether the file's first key is the given key (a full key path).
bool RegFileHoldsKey(const QString& file, const QString& fullKeyPath);
