#include "controls/ProgBar.h"

#include "controls/WindowHelpers.h"
#include "core/Services.h"

#include <QPainter>

ProgBar::ProgBar(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(8);
}

void ProgBar::setMax(short max) {
    max_ = max;
    update();
}

void ProgBar::setValue(int value) {
    if (value > max_ || value < 0) {
        if (messages_)
            messages_->MsgBox(QStringLiteral("Invalid Value , Bar value can,t be larger than Max "
                                             "value or smaller than Zero"),
                              MsgButtons::Ok, MsgIcon::Exclamation,
                              QStringLiteral("KVT Progress Bar"));
        value = 0;
    }
    value_ = static_cast<short>(value);
    repaint();
}

QRect ProgBar::barRect() const {
    if (value_ <= 0 || max_ <= 0)
        return QRect();
    const int inner = width() - 2 * BarSize;
    return QRect(BarSize, BarSize, inner * value_ / max_, height() - 2 * BarSize);
}

void ProgBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), TranslateColor(BackColor));
    painter.setPen(TranslateColor(FrameColor));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect bar = barRect();
    if (bar.isEmpty())
        return;
    painter.translate(bar.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), bar.size()));
    DrawGradient(painter, bar.width() - 1, bar.height(), TranslateColor(StartColor),
                 TranslateColor(EndColor));
}
