// Colours as 32-bit values: 0x00BBGGRR, or a system colour when the top bit
// is set (0x80000000 plus the index: 0x8000000F button face, 0x80000012
// button text, 0x80000008 window text, 0x80000010 button shadow, 0x8000000D
// highlight, 0x8000000E highlight text).
#pragma once

#include <QColor>

namespace SysColor {
constexpr quint32 ButtonFace = 0x8000000F;
constexpr quint32 ButtonText = 0x80000012;
constexpr quint32 WindowText = 0x80000008;
constexpr quint32 ButtonShadow = 0x80000010;
constexpr quint32 Highlight = 0x8000000D;
constexpr quint32 HighlightText = 0x8000000E;
} // namespace SysColor

QColor TranslateColor(quint32 value);
quint32 ColorValue(const QColor& color);
