#include "app/FrmSpl.h"

#include "app/IconCache.h"
#include "controls/ProgBar.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

FrmSpl::FrmSpl(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    InitRelvanoResources();
    setObjectName(QStringLiteral("FrmSpl"));
    setWindowOpacity(220.0 / 255.0);
    setFixedSize(360, 150);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(236, 242, 252));
    setPalette(p);

    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(QStringLiteral(":/relvano/relvano.png")));
    auto* title = new QLabel(QStringLiteral("Relvano 4.1"), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title->setFont(big);
    auto* label = new QLabel(QStringLiteral("Loading Programs List..."), this);
    label->setObjectName(QStringLiteral("Lb"));
    bar_ = new ProgBar(this);
    bar_->setObjectName(QStringLiteral("P"));
    bar_->StartColor = 0xB4822F; // blue to light blue
    bar_->EndColor = 0xF5DEB0;
    bar_->setFixedHeight(16);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(title, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addLayout(top);
    layout->addStretch();
    layout->addWidget(label);
    layout->addWidget(bar_);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void FrmSpl::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(0, 0, width() - 1, height() - 1);
}
