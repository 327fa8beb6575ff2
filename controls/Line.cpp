#include "controls/Line.h"

#include "controls/ColorValue.h"

#include <QPainter>

Line::Line(QWidget* parent, int lineType) : QWidget(parent) {
    setLineType(lineType);
}

void Line::setLineType(int lineType) {
    lineType_ = lineType;
    // 40 twips are two pixels, one for each line.
    if (lineType_ == 0) {
        setFixedHeight(2);
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
    } else {
        setFixedWidth(2);
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
    }
    update();
}

void Line::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor shadow = TranslateColor(SysColor::ButtonShadow);
    const QColor light = TranslateColor(SysColor::HighlightText);
    if (lineType_ == 0) {
        painter.setPen(shadow);
        painter.drawLine(0, 0, width(), 0);
        painter.setPen(light);
        painter.drawLine(0, 1, width(), 1);
    } else {
        painter.setPen(shadow);
        painter.drawLine(0, 0, 0, height());
        painter.setPen(light);
        painter.drawLine(1, 0, 1, height());
    }
}
