#include "prefs/TourPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>

namespace {

// A wave across the picture from the left edge to the right, closed along
// the bottom.
QPainterPath Wave(const QSizeF& size, double baseline, double amplitude, double phase) {
    QPainterPath path(QPointF(0, size.height()));
    path.lineTo(0, baseline);
    const double w = size.width();
    path.cubicTo(w * (0.25 + phase), baseline - amplitude, w * (0.45 + phase), baseline + amplitude,
                 w * 0.7, baseline);
    path.cubicTo(w * 0.82, baseline - amplitude * 0.6, w * 0.92, baseline - amplitude * 0.2, w,
                 baseline - amplitude * 0.4);
    path.lineTo(w, size.height());
    path.closeSubpath();
    return path;
}

} // namespace

QImage TourBackground(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(65, 108, 211));
    sky.setColorAt(0.55, QColor(160, 190, 240));
    sky.setColorAt(1.0, QColor(232, 240, 252));
    painter.fillRect(image.rect(), sky);

    // Circles of light: centre (fractions of the picture), radius (fraction
    // of its height), strength.
    struct Glow {
        double x, y, r;
        int alpha;
    };
    constexpr std::array<Glow, 9> glows{{{0.12, 0.22, 0.30, 70},
                                         {0.30, 0.08, 0.16, 60},
                                         {0.52, 0.30, 0.38, 45},
                                         {0.78, 0.16, 0.22, 70},
                                         {0.92, 0.42, 0.28, 50},
                                         {0.08, 0.62, 0.18, 40},
                                         {0.40, 0.55, 0.12, 55},
                                         {0.66, 0.58, 0.20, 35},
                                         {0.86, 0.72, 0.10, 60}}};
    painter.setPen(Qt::NoPen);
    for (const Glow& g : glows) {
        const QPointF centre(g.x * w, g.y * h);
        const double radius = g.r * h;
        QRadialGradient light(centre, radius);
        light.setColorAt(0.0, QColor(255, 255, 255, g.alpha));
        light.setColorAt(0.7, QColor(255, 255, 255, g.alpha / 3));
        light.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.setBrush(light);
        painter.drawEllipse(centre, radius, radius);
    }

    // Two waves along the bottom, the front one lighter.
    painter.setBrush(QColor(90, 130, 220, 110));
    painter.drawPath(Wave(QSizeF(w, h), h * 0.80, h * 0.08, 0.0));
    painter.setBrush(QColor(213, 227, 249, 200));
    painter.drawPath(Wave(QSizeF(w, h), h * 0.88, h * 0.05, 0.08));
    return image;
}
