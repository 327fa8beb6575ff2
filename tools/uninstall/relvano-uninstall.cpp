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
    QApplication app(argc, argv);
    // The program's name, so that the default store is the program's own.
    QApplication::setApplicationName(QStringLiteral("Relvano"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Removes a program of this machine listed by Relvano.\n"
                       "Kinds: deb, flatpak, snap, appimage."));
    parser.addHelpOption();
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
    if (!parser.parse(QApplication::arguments())) {
        std::cerr << "relvano-uninstall: " << parser.errorText().toStdString() << "\n";
        return UninstallUsageExit;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::cout << parser.helpText().toStdString();
        return 0;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        std::cerr << "relvano-uninstall: usage: relvano-uninstall [--root DIR] [--store FILE] "
                     "<kind> [--] <id>\n";
        return UninstallUsageExit;
    }

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
