// ProgBar: a progress bar whose bar is a colour gradient from StartColor at
// its left edge to EndColor at its right edge, inset BarSize from a frame.
#pragma once

#include "controls/ColorValue.h"

#include <QWidget>

class MessageService;

class ProgBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgBar(QWidget* parent = nullptr);

    // Where the out-of-range warning goes; without one it is not shown.
    void setMessageService(MessageService* messages) { messages_ = messages; }

    quint32 BackColor = SysColor::ButtonFace;
    quint32 StartColor = 0;
    quint32 EndColor = 0;
    quint32 FrameColor = SysColor::WindowText;
    short BarSize = 2;

    short Max() const { return max_; }
    void setMax(short max);
    short Value() const { return value_; }
    // A value below 0 or above Max is refused with a warning and becomes 0.
    void setValue(int value);
    // The bar's rectangle for the current value; empty when Value is 0.
    QRect barRect() const;
    void Refresh() { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MessageService* messages_ = nullptr;
    short max_ = 100;
    short value_ = 0;
};
