// The quick tour's texts and its fade arithmetic, without the window.
#pragma once

#include <QStringList>

// One fade: a counter that starts at 255 and is lowered by the fade's step on
// every tick. A tick blends with the alpha 255 minus the counter as it was
// before the lowering; a lowering that would take the counter below 0 is
// refused and leaves it as it is.
//
// The title (step 2) and the background (step 3) end once the counter is
// below 4, after 126 ticks at alpha 250 and 84 ticks at alpha 249; a page
// (step 4) ends at the first refused lowering, after 64 ticks at alpha 252.
class Fade {
public:
    static constexpr int TitleStep = 2;
    static constexpr int BackgroundStep = 3;
    static constexpr int PageStep = 4;

    void start(int step) {
        step_ = step;
        counter_ = 255;
        alpha_ = 0;
        ticks_ = 0;
        refused_ = false;
    }
    // One tick: the alpha to blend with.
    int tick() {
        alpha_ = 255 - counter_;
        if (counter_ >= step_)
            counter_ -= step_;
        else
            refused_ = true;
        ++ticks_;
        return alpha_;
    }
    // The end of the title and the background fades.
    bool belowFour() const { return counter_ < 4; }
    // The end of a page fade: the last lowering was refused.
    bool refused() const { return refused_; }

    int alpha() const { return alpha_; } // of the last tick; 0 before the first
    int counter() const { return counter_; }
    int step() const { return step_; }
    int ticks() const { return ticks_; }

private:
    int step_ = PageStep;
    int counter_ = 255; // 0..255, as the 8-bit counter it stands for
    int alpha_ = 0;
    int ticks_ = 0;
    bool refused_ = false;
};

// The seven pages of the tour, each its lines joined by CR LF.
QStringList TourPages();
// The title printed on the title box, lines joined by CR LF.
QString TourTitle();
