// FrmStart, "Relvano Quick Tour": seven pages that introduce the program.
// The title fades in, then the background picture over the window, then
// each page of text as it is shown; "Next Tip" goes on to the next page
// (after the last, the first again) and "Close" ends the tour.
//
// Every fade blends an off-screen image onto a visible one at a constant
// alpha that rises tick by tick (Fade). The three timers tick every
// millisecond, only one of them at a time, and all stop once a page has faded
// in, so the tour is idle until the next "Next Tip".
#pragma once

#include "prefs/QuickTour.h"

#include <QDialog>
#include <QImage>

class FadeBox;
class QTimer;
class Url;

class FrmStart : public QDialog {
    Q_OBJECT
public:
    explicit FrmStart(QWidget* parent = nullptr);

    // "Next Tip": the next page fades in (a page still fading is replaced).
    void nextTip();

    // The page "Next Tip" shows next, 0 to 6 (7 after the last page).
    int pageIndex() const { return pageIndex_; }
    const Fade& titleFade() const { return titleFade_; }
    const Fade& backgroundFade() const { return backgroundFade_; }
    const Fade& pageFade() const { return pageFade_; }
    // The text of the page on show (empty before the first).
    const QString& pageText() const { return pageText_; }
    // A fade is running.
    bool fading() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int r) override;

private:
    void tickTitle();
    void tickBackground();
    void tickPage();
    QImage printedPage(const QString& text) const;

    Fade titleFade_;
    Fade backgroundFade_;
    Fade pageFade_;
    int pageIndex_ = 0;
    QString pageText_;
    QStringList pages_;

    QImage img_; // the background picture, as large as the window
    FadeBox* stPic_;
    FadeBox* pic_;
    QWidget* pUp_;
    QWidget* pUp2_;
    QWidget* pDawn_;
    Url* nxt2_;
    Url* urlClose_;
    QTimer* st_;
    QTimer* tm_;
    QTimer* tim_;
};
