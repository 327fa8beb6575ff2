#include "controls/ColorValue.h"

#include <QApplication>
#include <QPalette>

QColor TranslateColor(quint32 value) {
    if (!(value & 0x80000000u))
        return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
    const QPalette palette = QApplication::palette();
    switch (value & 0xff) {
    case 0x0F:
        return palette.color(QPalette::Button);
    case 0x12:
        return palette.color(QPalette::ButtonText);
    case 0x08:
        return palette.color(QPalette::WindowText);
    case 0x10:
        return palette.color(QPalette::Dark);
    case 0x0D:
        return palette.color(QPalette::Highlight);
    case 0x0E:
        return palette.color(QPalette::HighlightedText);
    case 0x05:
        return palette.color(QPalette::Base);
    default:
        return palette.color(QPalette::Window);
    }
}

quint32 ColorValue(const QColor& color) {
    return static_cast<quint32>(color.red()) | (static_cast<quint32>(color.green()) << 8) |
           (static_cast<quint32>(color.blue()) << 16);
}
