// Tray mode of the main window: "Minimize To Tray" hides the window behind a
// tray icon (tip "Relvano"); a left click brings it back and keeps the icon,
// so that minimising sends it straight back; a right click opens the tray
// menu ("Open Tiv 4.0", "Exit"). Without a system tray the window is
// minimised instead.
#pragma once

#include <QObject>
#include <QSystemTrayIcon>

class QMenu;
class QWidget;

class TrayController : public QObject {
    Q_OBJECT
public:
    TrayController(QWidget* window, QMenu* trayMenu);

    bool trayMode() const { return trayMode_; }
    bool iconShown() const { return icon_ != nullptr; }

    void minimizeToTray();
    void leftClick();    // the icon was clicked
    void openFromTray(); // "Open Tiv 4.0"
    void removeIcon();
    // The window was resized (minimised included).
    void windowResized();

signals:
    void exitRequested();

private:
    QWidget* window_;
    QMenu* menu_;
    QSystemTrayIcon* icon_ = nullptr;
    bool trayMode_ = false;
    bool restoring_ = false;
};
