// Lbl: a label drawn by the program, optionally with a picture before the
// text; greyed when disabled.
#pragma once

#include "controls/ColorValue.h"

#include <QPixmap>
#include <QWidget>

class Lbl : public QWidget {
    Q_OBJECT
public:
    explicit Lbl(QWidget* parent = nullptr);

    quint32 BackColor = SysColor::ButtonFace;
    quint32 ForeColor = SysColor::ButtonText;
    int LabelStyle = 0; // 0 text only; otherwise the picture, then the text
    short TextLeft = 0; // pixels between the picture (or the edge) and the text

    QString Text() const { return text_; }
    void setText(const QString& text);
    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& picture);
    void Refresh() { update(); }
    // Where the text is drawn, for the current style.
    QRect textRect() const;

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString text_;
    QPixmap picture_;
};
