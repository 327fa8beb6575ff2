#include "app/TrayController.h"

#include <QMenu>
#include <QWidget>

TrayController::TrayController(QWidget* window, QMenu* trayMenu)
    : QObject(window), window_(window), menu_(trayMenu) {}

void TrayController::minimizeToTray() {
    removeIcon();
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        icon_ = new QSystemTrayIcon(window_->windowIcon(), this);
        icon_->setToolTip(QStringLiteral("Relvano"));
        icon_->setContextMenu(menu_);
        connect(icon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        leftClick();
                });
        icon_->show();
        window_->hide();
    } else {
        window_->showMinimized();
    }
    trayMode_ = true;
}

void TrayController::leftClick() {
    if (window_->isMinimized())
        trayMode_ = false;
    restoring_ = true;
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
    restoring_ = false;
    trayMode_ = true;
}

void TrayController::openFromTray() {
    trayMode_ = false;
    removeIcon();
    window_->showNormal();
    window_->raise();
}

void TrayController::removeIcon() {
    if (icon_) {
        icon_->hide();
        icon_->deleteLater();
        icon_ = nullptr;
    }
}

void TrayController::windowResized() {
    if (trayMode_ && !restoring_ && window_->isMinimized())
        minimizeToTray();
}
