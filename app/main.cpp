// The composition root: the real services, the shared context, every
// window's opener, and the start-up.
#include "app/Startup.h"
#include "app/Windows.h"
#include "core/AppContext.h"
#include "dialogs/QtServices.h"
#include "dialogs/WindowOpener.h"

#include <QApplication>

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
    if (!startup.start())
        return 1;
    return app.exec();
}
