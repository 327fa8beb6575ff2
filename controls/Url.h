// Url: a hyperlink label. The caption takes OverColor (and an underline)
// while the pointer is over it; a left click raises clicked(). OpenPath and
// SendEmail hand web addresses, files, folders and mail addresses to the shell.
#pragma once

#include "controls/ColorValue.h"

#include <QWidget>

class ShellService;

class Url : public QWidget {
    Q_OBJECT
public:
    explicit Url(QWidget* parent = nullptr);

    void setShellService(ShellService* shell) { shell_ = shell; }

    quint32 BackColor = SysColor::ButtonFace;
    quint32 ForeColor = SysColor::ButtonText;
    quint32 OverColor = 0;
    bool OverUnderline = true;

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    QString TipText() const { return toolTip(); }
    void setTipText(const QString& text) { setToolTip(text); }

    // The shell's answer to the last call (true: it opened).
    bool OpenPath(const QString& path, int showCommand = 1);
    bool SendEmail(const QString& address);
    bool lastResult() const { return lastResult_; }
    bool isHovered() const { return hovered_; }

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setHovered(bool hovered);

    ShellService* shell_ = nullptr;
    QString caption_;
    bool hovered_ = false;
    bool lastResult_ = false;
};
