#include "app/FrmMain.h"
#include "app/Startup.h"
#include "core/AppContext.h"
#include "dialogs/QtServices.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Relvano"));
    // Ties the windows to the desktop entry (its icon and name in the panel).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.relvano.Relvano"));
    QtServices services;
    AppContext context(DefaultProgramFolder());
    context.executableFolder = QCoreApplication::applicationDirPath();
    context.services = services.all();
    Startup startup(context);
    if (!startup.start())
        return 1;
    return app.exec();
}
