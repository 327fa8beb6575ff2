// Line: an etched separator, two adjacent one-pixel lines in the shadow and
// highlight colours; horizontal (LineType 0) or vertical.
#pragma once

#include <QWidget>

class Line : public QWidget {
    Q_OBJECT
public:
    explicit Line(QWidget* parent = nullptr, int lineType = 0);

    int LineType() const { return lineType_; }
    void setLineType(int lineType);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int lineType_ = 0;
};
