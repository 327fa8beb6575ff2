#include "system/SyncTool.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The program's name, so that the default store is the program's own.
    QCoreApplication::setApplicationName(QStringLiteral("Relvano"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return RunSyncTool(args, std::cout, std::cerr);
}
