// The history window opening on a history the program wrote itself, of
// 32,767 uninstall records: time until the list is shown.
//   QT_QPA_PLATFORM=offscreen build/bin/history_window_bench
#include "core/AppContext.h"
#include "core/Settings.h"
#include "lifecycle/FrmLog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    AppContext context(dir.path());
    constexpr int records = 32767;
    {
        // The file as AppendUninstallRecord writes it, made in one go.
        QByteArray file = "[UnNum]\r\nVal=" + QByteArray::number(records) + "\r\n";
        for (int i = 1; i <= records; ++i)
            file += "[Prog" + QByteArray::number(i) + "]\r\nDate=10/12/2026 13:53:42\r\n" +
                    "ProgName=Program " + QByteArray::number(i) +
                    "\r\nSt=Program Uninstallation complete successfully\r\nUnTime=3 Second\r\n";
        QFile out(context.UnlogIniPath);
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
            return 1;
    }
    SavePageSetting(context.ConfigIniPath, PageSetting::History, 2);
    QElapsedTimer timer;
    timer.start();
    FrmLog window(context);
    window.show();
    while (window.view() == 0)
        QApplication::processEvents();
    const double listed = timer.nsecsElapsed() / 1e6;
    timer.restart();
    window.selectEntry(records - 1);
    const double details = timer.nsecsElapsed() / 1e6;
    std::printf("history window, %d records: list shown after %.0f ms (%d rows), "
                "a record's details in %.1f ms\n",
                records, listed, window.findChild<QTreeWidget*>("Tv")->topLevelItemCount(),
                details);
    return 0;
}
