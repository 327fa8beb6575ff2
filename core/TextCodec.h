// Decoding of text files whose encoding is not declared: registry editor
// files and INI files written by other programs.
#pragma once

#include <QByteArray>
#include <QString>

// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252.
QString DecodeAnsi(const QByteArray& bytes);

// Honours a byte-order mark (UTF-16LE, UTF-16BE, UTF-8), recognises UTF-16LE
// without one, and otherwise decodes as DecodeAnsi does.
QString DecodeTextFile(const QByteArray& bytes);
