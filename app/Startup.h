// Start-up: refuse a second copy before any window opens, show the splash,
// load the main window on the splash's first 20 ms tick, hand over, and
// release the instance lock when the main window unloads.
#pragma once

#include "app/SingleInstance.h"

#include <QObject>

#include <memory>

class AppContext;
class FrmMain;
class FrmSpl;
class WindowOpener;

class Startup : public QObject {
    Q_OBJECT
public:
    // windows: the openers of every window; lockFolder: where the instance
    // lock lives (empty: the user's runtime folder).
    Startup(AppContext& context, const WindowOpener& windows,
            const QString& lockFolder = QString());
    ~Startup() override;

    // False (after telling the user) when another copy runs; nothing else
    // happens then. Otherwise the splash is up and the main window follows.
    bool start();
    FrmMain* mainWindow() const { return main_.get(); }
    FrmSpl* splash() const { return splash_.get(); }

signals:
    // The main window is shown.
    void ready(FrmMain* main);
    // The main window unloaded and the instance lock is released: the program ends.
    void finished();

private:
    void loadMainWindow();

    AppContext& context_;
    const WindowOpener& windows_;
    SingleInstance instance_;
    std::unique_ptr<FrmSpl> splash_;
    std::unique_ptr<FrmMain> main_;
};
