#include "app/FrmMain.h"
#include "app/Startup.h"
#include "core/AppContext.h"
#include "dialogs/QtServices.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Relvano"));
    QtServices services;
    AppContext context(DefaultProgramFolder());
    context.services = services.all();
    Startup startup(context);
    if (!startup.start())
        return 1;
    return app.exec();
}
