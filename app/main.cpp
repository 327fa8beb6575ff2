// The composition root: the real services, the shared context, every
// window's opener, and the start-up.
#include "app/FrmMain.h"
#include "app/Startup.h"
#include "app/SystemSync.h"
#include "app/Windows.h"
#include "core/AppContext.h"
#include "dialogs/QtServices.h"
#include "dialogs/WindowOpener.h"
#include "system/SystemSyncService.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Relvano"));
    // Ties the windows to the desktop entry (its icon and name in the panel).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.relvano.Relvano"));
    QtServices services;
    AppContext context(DefaultProgramFolder());
    context.executableFolder = QCoreApplication::applicationDirPath();
    context.setServices(services.all());
    WindowOpener windows;
    RegisterAllWindows(windows);
    Startup startup(context, windows);
    QObject::connect(&startup, &Startup::finished, &app, &QApplication::quit);
    // The machine's own applications join the list in the background once
    // the window shows what the store holds.
    std::unique_ptr<SystemSyncService> sync;
    QObject::connect(&startup, &Startup::ready, &app, [&](FrmMain* main) {
        SystemSyncService::Settings settings;
        settings.storeFile = JoinPath(context.programFolder(), StoreFileName);
        settings.configIni = context.ConfigIniPath;
        sync = std::make_unique<SystemSyncService>(settings);
        ConnectSystemSync(*main, *sync);
        sync->start();
    });
    if (!startup.start())
        return 1;
    return app.exec();
}
