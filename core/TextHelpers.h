// Small text helpers shared by the windows: sizes, durations, file names,
// icon paths.
#pragma once

#include <QString>

// A byte count as "1023 Byte", "1.5 KB", "5 GB": powers of 1024, two decimals
// at most (rounded half to even, trailing zeros dropped), the user's decimal
// separator. Exactly 1024 is "1 KB", 1048576 "1 MB", 1073741824 "1 GB";
// 1 TB and more give empty text.
QString SizeText(double bytes);

// Elapsed seconds s as x = s + 1: "x Second" below 60, "x/60 Minute" (two
// decimals) from 60 up to 3599, empty text from 3600.
QString TimeText(double seconds);

// The text with \ / : * ? < > | and " each replaced by "-".
QString SafeFileName(const QString& text);
// How many characters of the text are one of those nine.
int CountInvalidNameChars(const QString& text);
// True when the text holds a character other than a space.
bool HasNonSpace(const QString& text);

// The icon file named in a registry value (or two joined): from the start of
// the first path (the drive letter before ":\", or a "/" that begins a word)
// through the first icon file extension after it (".ico", or the ".png",
// ".svg", ".xpm" of Linux icons), or when there is none the first ".exe".
// Quotes, an icon index and arguments fall outside.
QString ExtractIconPath(const QString& text);

// A number with at most two decimals, rounded half to even, trailing zeros
// dropped, with the user's decimal separator.
QString DecimalText(double value);

// The leading number of a text ("12abc" is 12, " 2" is 2, "abc" is 0), as the
// readers of flags and numbers in the settings take it.
double LeadingNumber(const QString& text);
