#include "controls/Lbl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

Lbl::Lbl(QWidget* parent) : QWidget(parent) {}

void Lbl::setText(const QString& text) {
    text_ = text;
    updateGeometry();
    update();
}

void Lbl::setPicture(const QPixmap& picture) {
    picture_ = picture;
    updateGeometry();
    update();
}

QRect Lbl::textRect() const {
    const QFontMetrics metrics(font());
    const QSize size = metrics.size(0, text_);
    if (LabelStyle == 0)
        return QRect(QPoint(TextLeft, 0), size);
    const int x = picture_.width() + TextLeft;
    return QRect(QPoint(x, (height() - size.height()) / 2), size);
}

QSize Lbl::sizeHint() const {
    const QFontMetrics metrics(font());
    const QSize text = metrics.size(0, text_);
    if (LabelStyle == 0)
        return QSize(TextLeft + text.width(), text.height());
    return QSize(picture_.width() + TextLeft + text.width(),
                 std::max(picture_.height(), text.height()));
}

void Lbl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), TranslateColor(BackColor));
    if (LabelStyle != 0 && !picture_.isNull()) {
        const QPixmap shown =
            isEnabled() ? picture_
                        : style()->generatedIconPixmap(QIcon::Disabled, picture_, nullptr);
        painter.drawPixmap(0, (height() - picture_.height()) / 2, shown);
    }
    painter.setPen(isEnabled() ? TranslateColor(ForeColor)
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textRect(), Qt::AlignLeft | Qt::AlignTop, text_);
}

void Lbl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked();
}
