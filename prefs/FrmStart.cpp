#include "prefs/FrmStart.h"

#include "controls/ColorValue.h"
#include "controls/Url.h"
#include "controls/WindowHelpers.h"
#include "prefs/TourPicture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {

constexpr QSize WindowSize(560, 360);
const QColor PageColour(250, 252, 255);
const QColor DawnColour(213, 227, 249);
const QColor TextColour(20, 45, 120);

QFont Verdana(double points, bool bold = false) {
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace

// A visible box that shows its source image blended at the fade's alpha
// over its background colour, as the last tick left it.
class FadeBox : public QWidget {
public:
    FadeBox(const QColor& background, QWidget* parent) : QWidget(parent), background_(background) {}
    void setSource(const QImage& source) { source_ = source; }
    const QImage& source() const { return source_; }
    void setAlpha(int alpha) {
        alpha_ = alpha;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), background_);
        painter.setOpacity(alpha_ / 255.0);
        painter.drawImage(0, 0, source_);
    }

private:
    QColor background_;
    QImage source_;
    int alpha_ = 0;
};

FrmStart::FrmStart(QWidget* parent) : QDialog(parent), pages_(TourPages()) {
    setObjectName(QStringLiteral("FrmStart"));
    setWindowTitle(QStringLiteral("Relvano Quick Tour"));
    setFixedSize(WindowSize);

    // The banners and the page area stay hidden until the background is in.
    pUp_ = new GradientStrip(QColor(217, 231, 251), QColor(65, 108, 211), this);
    pUp_->setObjectName(QStringLiteral("P_Up"));
    pUp_->setGeometry(0, 0, width(), 46);
    auto* label1 = new QLabel(QStringLiteral("Relvano"), pUp_);
    label1->setObjectName(QStringLiteral("Label1"));
    QFont times(QStringLiteral("Times New Roman"));
    times.setStyleHint(QFont::Serif);
    times.setPointSize(20);
    times.setBold(true);
    times.setItalic(true);
    label1->setFont(times);
    label1->setStyleSheet(QStringLiteral("color: rgb(20, 45, 120); background: transparent;"));
    label1->setGeometry(14, 0, 200, 46);
    pUp2_ = new GradientStrip(QColor(65, 108, 211), QColor(213, 227, 249), this);
    pUp2_->setObjectName(QStringLiteral("P_Up2"));
    pUp2_->setGeometry(0, 46, width(), 4);

    pic_ = new FadeBox(PageColour, this);
    pic_->setObjectName(QStringLiteral("Pic"));
    pic_->setGeometry(50, 78, width() - 100, 190);

    pDawn_ = new QWidget(this);
    pDawn_->setObjectName(QStringLiteral("P_Dawn"));
    pDawn_->setGeometry(0, height() - 40, width(), 40);
    pDawn_->setAutoFillBackground(true);
    QPalette dawn = pDawn_->palette();
    dawn.setColor(QPalette::Window, DawnColour);
    pDawn_->setPalette(dawn);
    auto link = [this](const char* name, const QString& caption) {
        auto* url = new Url(pDawn_);
        url->setObjectName(QLatin1String(name));
        url->setCaption(caption);
        url->BackColor = ColorValue(DawnColour);
        url->ForeColor = ColorValue(TextColour);
        url->OverColor = ColorValue(QColor(0, 0, 255));
        url->setFont(Verdana(9, true));
        url->resize(url->sizeHint());
        return url;
    };
    nxt2_ = link("Nxt2", QStringLiteral("Next Tip"));
    urlClose_ = link("UrlClose", QStringLiteral("Close"));
    urlClose_->move(width() - urlClose_->width() - 16, (40 - urlClose_->height()) / 2);
    nxt2_->move(urlClose_->x() - nxt2_->width() - 18, urlClose_->y());
    connect(nxt2_, &Url::clicked, this, &FrmStart::nextTip);
    connect(urlClose_, &Url::clicked, this, &QWidget::close);
    for (QWidget* w : {pUp_, pUp2_, static_cast<QWidget*>(pic_), pDawn_})
        w->hide();

    // The title, printed on a white image, fades into a white box in the
    // middle of the window.
    stPic_ = new FadeBox(Qt::white, this);
    stPic_->setObjectName(QStringLiteral("StPic"));
    stPic_->resize(260, 110);
    stPic_->move(width() / 2 - stPic_->width() / 2, height() / 2 - stPic_->height() / 2);
    QImage title(stPic_->size(), QImage::Format_RGB32);
    title.fill(Qt::white);
    {
        QPainter painter(&title);
        painter.setPen(TextColour);
        painter.setFont(Verdana(13, true));
        painter.drawText(title.rect(), Qt::AlignCenter,
                         TourTitle().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    stPic_->setSource(title);
    pic_->stackUnder(pUp_);
    stPic_->stackUnder(pic_);

    img_ = TourBackground(size());

    auto timer = [this](const char* name, void (FrmStart::*tick)()) {
        auto* t = new QTimer(this);
        t->setObjectName(QLatin1String(name));
        t->setInterval(1);
        t->setTimerType(Qt::PreciseTimer);
        connect(t, &QTimer::timeout, this, tick);
        return t;
    };
    st_ = timer("St", &FrmStart::tickTitle);
    tm_ = timer("Tm", &FrmStart::tickBackground);
    tim_ = timer("Tim", &FrmStart::tickPage);

    titleFade_.start(Fade::TitleStep);
    pageIndex_ = 0;
    st_->start();
}

bool FrmStart::fading() const {
    return st_->isActive() || tm_->isActive() || tim_->isActive();
}

void FrmStart::tickTitle() {
    stPic_->setAlpha(titleFade_.tick());
    if (titleFade_.belowFour()) {
        backgroundFade_.start(Fade::BackgroundStep);
        tm_->start();
        st_->stop();
    }
}

void FrmStart::tickBackground() {
    backgroundFade_.tick();
    update();
    if (backgroundFade_.belowFour()) {
        for (QWidget* w : {pUp_, pUp2_, static_cast<QWidget*>(pic_), pDawn_})
            w->show();
        nextTip();
        tm_->stop();
    }
}

void FrmStart::tickPage() {
    pic_->setAlpha(pageFade_.tick());
    if (pageFade_.refused())
        tim_->stop();
}

void FrmStart::nextTip() {
    if (pageIndex_ > 6)
        pageIndex_ = 0;
    pageFade_.start(Fade::PageStep);
    pageText_ = pages_[pageIndex_];
    pic_->setSource(printedPage(pageText_));
    pic_->setAlpha(0);
    tim_->start();
    ++pageIndex_;
}

QImage FrmStart::printedPage(const QString& text) const {
    QImage page(pic_->size(), QImage::Format_RGB32);
    page.fill(PageColour);
    QPainter painter(&page);
    painter.setPen(TextColour);
    painter.setFont(Verdana(9.5));
    const QFontMetrics metrics(painter.font());
    int y = 18 + metrics.ascent();
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        painter.drawText(18, y, line);
        y += metrics.lineSpacing() + 2;
    }
    return page;
}

void FrmStart::paintEvent(QPaintEvent*) {
    // The window's own surface: its colour, and the background picture
    // blended over it at the background fade's alpha.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setOpacity(backgroundFade_.alpha() / 255.0);
    painter.drawImage(0, 0, img_);
}

void FrmStart::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

void FrmStart::done(int r) {
    // A closed tour does no more work, even before it is destroyed.
    st_->stop();
    tm_->stop();
    tim_->stop();
    QDialog::done(r);
}
