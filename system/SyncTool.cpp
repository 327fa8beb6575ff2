#include "system/SyncTool.h"

#include "core/AppContext.h"
#include "system/SystemSyncService.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>

#include <ostream>

namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

} // namespace

int RunSyncTool(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists the applications installed on this machine (Debian packages, Flatpaks, Snaps, "
        "AppImages) as entries of the Uninstall key, adding, updating and deleting only the "
        "entries it made."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption root(QStringLiteral("root"),
                                  QStringLiteral("Reads the machine below DIR instead of /."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption store(
        QStringLiteral("store"),
        QStringLiteral("The store to write (default: the program's own Registry.db)."),
        QStringLiteral("FILE"));
    const QCommandLineOption list(QStringLiteral("list"),
                                  QStringLiteral("Prints the applications found; writes nothing."));
    parser.addOption(help);
    parser.addOption(root);
    parser.addOption(store);
    parser.addOption(list);
    if (!parser.parse(QStringList{QStringLiteral("relvano-sync")} + args)) {
        err << "relvano-sync: " << Utf8(parser.errorText()) << "\n";
        return 2;
    }
    if (parser.isSet(help)) {
        out << Utf8(parser.helpText());
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << "relvano-sync: unexpected argument " << Utf8(parser.positionalArguments().first())
            << "\n";
        return 2;
    }
    const QString rootDir = parser.isSet(root) ? parser.value(root) : QStringLiteral("/");
    if (!QFileInfo(rootDir).isDir()) {
        err << "relvano-sync: " << Utf8(rootDir) << " is not a folder\n";
        return 2;
    }
    const SystemLayout layout =
        SystemLayout::FromEnvironment(QFileInfo(rootDir).absoluteFilePath());

    if (parser.isSet(list)) {
        SystemSource source(layout);
        const auto scan = source.scan();
        if (!scan.ok) {
            err << "relvano-sync: " << Utf8(scan.error) << "\n";
            return 1;
        }
        for (const SystemApp& app : scan.apps)
            out << Utf8(app.key) << "\t" << Utf8(app.displayName) << "\t"
                << Utf8(app.displayVersion) << "\n";
        return 0;
    }

    const QString storeFile = parser.isSet(store)
                                  ? QFileInfo(parser.value(store)).absoluteFilePath()
                                  : JoinPath(DefaultProgramFolder(), StoreFileName);
    // The setting lives in the Config.Ini beside the store.
    const QString configIni =
        JoinPath(QFileInfo(storeFile).absolutePath(), QStringLiteral("Config.Ini"));
    const bool enabled = SystemSyncService::SourceEnabled(configIni);

    QElapsedTimer timer;
    timer.start();
    SystemSync sync(layout, storeFile);
    const SyncResult result = enabled ? sync.run() : sync.clear();
    if (!result.ok) {
        err << "relvano-sync: " << Utf8(result.error) << "\n";
        return 1;
    }
    if (!enabled)
        out << "The system source is turned off (Sys=0 in section Options of " << Utf8(configIni)
            << "); its entries were removed.\n";
    out << "added " << result.added << ", updated " << result.updated << ", removed "
        << result.removed;
    if (result.skipped)
        out << ", skipped " << result.skipped << " (names taken by other entries)";
    out << " in " << timer.elapsed() << " ms\n";
    return 0;
}
