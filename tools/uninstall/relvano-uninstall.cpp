// relvano-uninstall <kind> <id>: removes one of the machine's programs that
// the system source listed, asking the person first. Exit status: 0 removed,
// 1 failed, 2 cancelled, 3 refused by the safety check, 64 wrong usage.
#include "core/AppContext.h"
#include "tools/uninstall/UninstallWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <iostream>

int main(int argc, char** argv) {
    // The arguments are read before the window system is reached, so that
    // --help and wrong usage work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Removes a program of this machine listed by Relvano.\n"
                       "Kinds: deb, flatpak, snap, appimage."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    const QCommandLineOption root(QStringLiteral("root"),
                                  QStringLiteral("Reads the machine below DIR instead of /."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption store(
        QStringLiteral("store"),
        QStringLiteral("The store to update (default: the program's own Registry.db)."),
        QStringLiteral("FILE"));
    parser.addOption(root);
    parser.addOption(store);
    parser.addPositionalArgument(QStringLiteral("kind"),
                                 QStringLiteral("deb, flatpak, snap or appimage"));
    parser.addPositionalArgument(QStringLiteral("id"), QStringLiteral("the program's id"));
    if (!parser.parse(arguments)) {
        std::cerr << "relvano-uninstall: " << parser.errorText().toStdString() << "\n";
        return UninstallUsageExit;
    }
    if (parser.isSet(help)) {
        // Without an application object the parser does not know its name.
        std::cout << parser.helpText()
                         .replace(QStringLiteral("<executable_name>"),
                                  QStringLiteral("relvano-uninstall"))
                         .toStdString();
        return 0;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        std::cerr << "relvano-uninstall: usage: relvano-uninstall [--root DIR] [--store FILE] "
                     "<kind> [--] <id>\n";
        return UninstallUsageExit;
    }

    QApplication app(argc, argv);
    // The program's name, so that the default store is the program's own.
    QApplication::setApplicationName(QStringLiteral("Relvano"));
    Uninstaller::Config config;
    config.layout = SystemLayout::FromEnvironment(
        parser.isSet(root) ? QFileInfo(parser.value(root)).absoluteFilePath()
                           : QStringLiteral("/"));
    config.storeFile = parser.isSet(store) ? QFileInfo(parser.value(store)).absoluteFilePath()
                                           : JoinPath(DefaultProgramFolder(), StoreFileName);
    config.configIni =
        JoinPath(QFileInfo(config.storeFile).absolutePath(), QStringLiteral("Config.Ini"));
    SystemProcessService processes;
    config.processes = &processes;

    UninstallWindow window;
    Uninstaller uninstaller(config, window);
    const UninstallOutcome outcome = uninstaller.run(args[0], args[1]);
    if (outcome != UninstallOutcome::Success)
        std::cerr << "relvano-uninstall: " << uninstaller.message().toStdString() << "\n";
    return static_cast<int>(outcome);
}
