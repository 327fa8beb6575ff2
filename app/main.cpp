#include "core/AppContext.h"
#include "dialogs/QtServices.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Relvano"));
    QtServices services;
    AppContext context(DefaultProgramFolder());
    context.services = services.all();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Relvano"));
    window.show();
    return app.exec();
}
