#include "tools/RegTool.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The same name as the program's, so that both find the same store.
    QCoreApplication::setApplicationName(QStringLiteral("Relvano"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return RunRegTool(args, std::cout, std::cerr);
}
