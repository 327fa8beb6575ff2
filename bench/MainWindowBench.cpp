// The main window over 10,000 entries: from process start to the window
// shown, ResetList, resident memory, and memory across reloads.
//   QT_QPA_PLATFORM=offscreen build/bin/main_window_bench
#include "app/FrmMain.h"
#include "app/ProgramListView.h"
#include "app/Startup.h"
#include "app/Windows.h"
#include "core/RegFile.h"
#include "core/SqliteStore.h"
#include "dialogs/QtServices.h"
#include "dialogs/WindowOpener.h"

#include <QApplication>
#include <QBuffer>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

// Seconds since the process started, from /proc.
double SecondsSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    stat.open(QIODevice::ReadOnly);
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    QFile uptime(QStringLiteral("/proc/uptime"));
    uptime.open(QIODevice::ReadOnly);
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return up - startTicks / sysconf(_SC_CLK_TCK);
}

long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// An icon file that claims 65,535 images of one small picture (1 MB).
void WriteHostileIcon(const QString& file) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    constexpr int count = 65535;
    QByteArray ico;
    QDataStream out(&ico, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(count);
    for (int i = 0; i < count; ++i)
        out << quint8(16) << quint8(16) << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(png.size()) << quint32(6 + 16 * count);
    ico += png;
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(ico);
}

void FillStore(const QString& folder) {
    // 10,000 entries; every tenth has an icon file, 50 files shared among
    // them; every hundredth names an icon file claiming 65,535 images.
    WriteHostileIcon(folder + QStringLiteral("/hostile.ico"));
    QList<RegExportKey> keys;
    for (int f = 0; f < 50; ++f) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(QColor::fromHsv(f * 7, 200, 200));
        image.save(folder + QStringLiteral("/icon%1.ico").arg(f), "ICO");
    }
    for (int i = 0; i < 10000; ++i) {
        RegExportKey key{AppContext::UninstallKeyFullPath +
                             QStringLiteral("Entry%1").arg(i, 5, 10, QChar('0')),
                         {}};
        key.values = {
            MakeStringValue("DisplayName", QStringLiteral("Program %1").arg(i)),
            MakeStringValue("UninstallString", QStringLiteral("/opt/p%1/uninstall").arg(i)),
            MakeStringValue("Publisher", QStringLiteral("Publisher %1").arg(i % 40))};
        if (i % 100 == 5)
            key.values.append(
                MakeStringValue("DisplayIcon", folder + QStringLiteral("/hostile.ico")));
        else if (i % 10 == 0)
            key.values.append(MakeStringValue(
                "DisplayIcon", folder + QStringLiteral("/icon%1.ico").arg(i / 10 % 50)));
        keys.append(key);
    }
    SqliteStore store(folder + QStringLiteral("/Registry.db"));
    store.importBytes(FormatRegFile(keys), nullptr);
}

} // namespace

int main(int argc, char** argv) {
    // The store is built by a first run of this program, so that the timed
    // run starts from a fresh process like the real program.
    if (argc > 1 && QByteArray(argv[1]) == "--run") {
        const QString folder = QString::fromLocal8Bit(argv[2]);
        QApplication app(argc, argv);
        QtServices services;
        AppContext context(folder);
        context.setServices(services.all());
        WindowOpener windows;
        RegisterAllWindows(windows);
        Startup startup(context, windows, folder);
        double shownAfter = 0;
        QObject::connect(&startup, &Startup::ready, &app, [&](FrmMain* main) {
            QApplication::processEvents();
            shownAfter = SecondsSinceProcessStart();
            std::printf("process start to main window shown: %.0f ms\n", shownAfter * 1000);
            std::printf("resident memory after the first load: %ld MB\n", ResidentKb() / 1024);
            QList<double> resets;
            long before = 0;
            for (int round = 0; round < 8; ++round) {
                QElapsedTimer t;
                t.start();
                main->ResetList();
                resets.append(t.nsecsElapsed() / 1e6);
                if (round == 2)
                    before = ResidentKb();
            }
            std::sort(resets.begin(), resets.end());
            std::printf("ResetList: %.0f ms (median of 8), %d items\n", resets[4],
                        main->list()->count());
            std::printf("resident memory after 5 more reloads: %+ld MB\n",
                        (ResidentKb() - before) / 1024);
            QElapsedTimer icons;
            icons.start();
            while (main->iconCache().pending() > 0)
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            std::printf("icon files read: %d (50 distinct files and one claiming 65,535 images; "
                        "1,100 entries with icons), all in place %.0f ms after the last reload\n",
                        main->iconCache().filesRead(), icons.nsecsElapsed() / 1e6);
            main->close();
            app.quit();
        });
        if (!startup.start())
            return 1;
        return app.exec();
    }
    QCoreApplication core(argc, argv);
    QTemporaryDir dir;
    FillStore(dir.path());
    return std::system(qPrintable(QStringLiteral("\"%1\" --run \"%2\"")
                                      .arg(QCoreApplication::applicationFilePath(), dir.path())));
}
