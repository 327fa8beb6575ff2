// FrmSpl: the translucent splash window shown during the first list load,
// with its progress bar P and the label "Loading Programs List...".
#pragma once

#include <QWidget>

class ProgBar;

class FrmSpl : public QWidget {
    Q_OBJECT
public:
    explicit FrmSpl(QWidget* parent = nullptr);
    ProgBar* bar() const { return bar_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProgBar* bar_;
};
