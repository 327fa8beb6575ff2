#include "controls/Url.h"

#include "core/Addresses.h"
#include "core/Services.h"

#include <QMouseEvent>
#include <QPainter>

Url::Url(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void Url::setCaption(const QString& caption) {
    caption_ = caption;
    updateGeometry();
    update();
}

bool Url::OpenPath(const QString& path, int) {
    lastResult_ = shell_ && shell_->ShellOpen(path);
    return lastResult_;
}

bool Url::SendEmail(const QString& address) {
    lastResult_ = shell_ && shell_->ShellOpen(MailUrlText(address));
    return lastResult_;
}

QSize Url::sizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(caption_) + 6, metrics.height() + 4);
}

void Url::setHovered(bool hovered) {
    if (hovered_ == hovered)
        return;
    hovered_ = hovered;
    update();
}

void Url::enterEvent(QEnterEvent*) {
    setHovered(true);
}

void Url::leaveEvent(QEvent*) {
    setHovered(false);
}

void Url::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

void Url::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    // The normal colour is back before the click is handled (a window it
    // opens takes the pointer away).
    setHovered(false);
    emit clicked();
}

void Url::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), TranslateColor(BackColor));
    QFont f = font();
    QColor colour = TranslateColor(ForeColor);
    if (!isEnabled()) {
        colour = TranslateColor(SysColor::ButtonShadow);
    } else if (hovered_) {
        colour = TranslateColor(OverColor);
        f.setUnderline(OverUnderline);
    }
    painter.setFont(f);
    painter.setPen(colour);
    const QFontMetrics metrics(f);
    painter.drawText(3, (height() - metrics.height()) / 2 + metrics.ascent(), caption_);
}
