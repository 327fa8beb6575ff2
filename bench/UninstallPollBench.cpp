// The uninstall dialog's two 50 ms watches while an uninstaller runs, on a
// store of 10,000 entries: processor time used per second of waiting.
//   QT_QPA_PLATFORM=offscreen build/bin/uninstall_poll_bench
#include "core/AppContext.h"
#include "core/RegFile.h"
#include "core/SqliteStore.h"
#include "lifecycle/FrmUn.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace {
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    {
        QList<RegExportKey> keys;
        for (int i = 0; i < 10000; ++i)
            keys.append({AppContext::UninstallKeyFullPath + QStringLiteral("Entry%1").arg(i),
                         {MakeStringValue("DisplayName", QStringLiteral("Program %1").arg(i)),
                          MakeStringValue("UninstallString", QStringLiteral("sleep 60"))}});
        SqliteStore store(dir.filePath("Registry.db"));
        store.importBytes(FormatRegFile(keys), nullptr);
    }
    SystemProcessService processes;
    AppContext context(dir.path());
    context.setServices({.processes = &processes});
    FrmUn dialog(context, QStringLiteral("Entry5000"), QStringLiteral("Program 5000"), {});
    dialog.show();
    dialog.findChild<QPushButton*>("Cmd_Yes")->click();
    // Let the launch happen, then measure ten seconds of waiting.
    auto runFor = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    runFor(1000);
    const double cpu = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(10000);
    const double used = CpuSeconds() - cpu;
    std::printf("waiting with the uninstaller running (pid %lld): %.2f%% of one core over %.1f s\n",
                static_cast<long long>(dialog.processId()),
                100.0 * used / (wall.elapsed() / 1000.0), wall.elapsed() / 1000.0);
    if (dialog.processId() > 0)
        kill(static_cast<pid_t>(dialog.processId()), SIGKILL);
    return 0;
}
