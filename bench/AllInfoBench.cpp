// All programs information on a programs folder of 50 subfolders and 200,000
// files: how long the Program Files page takes to fill, against `du -sb` on
// the same folder in the same run; how long the window keeps the GUI thread
// from answering meanwhile (the longest gap between ticks of a 10 ms timer,
// and the longest repaint); how long closing it in the middle of the walk
// takes.
//   QT_QPA_PLATFORM=offscreen build/bin/all_info_bench [files]
#include "core/AppContext.h"
#include "core/Settings.h"
#include "info/FrmAllInfo.h"
#include "tests/support/FakeHost.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

double Percentile(QList<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[static_cast<qsizetype>(p * (values.size() - 1))];
}

double LoadAverage() {
    QFile load(QStringLiteral("/proc/loadavg"));
    return load.open(QIODevice::ReadOnly) ? load.readAll().split(' ').value(0).toDouble() : -1;
}

// 50 subfolders, each with folders of 500 files of 0 to 299 bytes.
void MakePrograms(const QString& root, int files) {
    const QByteArray bytes(300, 'x');
    for (int i = 0; i < files; ++i) {
        const QString folder = QStringLiteral("%1/program%2/part%3")
                                   .arg(root)
                                   .arg(i % 50, 2, 10, QChar(u'0'))
                                   .arg(i / 50 / 500);
        if (i / 50 % 500 == 0)
            QDir().mkpath(folder);
        const QByteArray name = QFile::encodeName(folder + QStringLiteral("/f%1").arg(i));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0) {
            if (::write(fd, bytes.constData(), static_cast<size_t>(i % 300)) < 0)
                std::perror("write");
            ::close(fd);
        }
    }
}

double DuMs(const QString& folder) {
    QElapsedTimer t;
    t.start();
    QProcess du;
    du.start(QStringLiteral("du"), {QStringLiteral("-sb"), folder});
    du.waitForFinished(-1);
    return t.nsecsElapsed() / 1e6;
}

struct Fill {
    double ms = 0;      // until the list shows every folder
    QList<double> gaps; // between ticks of a 10 ms timer, once the page shows
    QList<double> repaints;
};

// Opens the window on the Program Files page and waits until it is filled.
Fill FillPage(FakeHost& host, const QString& programs) {
    SavePageSetting(host.context().ConfigIniPath, PageSetting::AllProgramsInfo, 2);
    Fill fill;
    QElapsedTimer t;
    t.start();
    FrmAllInfo w(host, programs);
    w.show();
    QElapsedTimer gap;
    gap.start();
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        // From the first page on: the window's first showing is not the walk.
        if (w.currentPage() != 0)
            fill.gaps.append(gap.nsecsElapsed() / 1e6);
        gap.restart();
        QElapsedTimer paint;
        paint.start();
        w.repaint();
        if (w.currentPage() != 0)
            fill.repaints.append(paint.nsecsElapsed() / 1e6);
    });
    ticker.start();
    while (w.currentPage() == 0 || w.measuring())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    fill.ms = t.nsecsElapsed() / 1e6;
    return fill;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 200000;
    QTemporaryDir dir;
    const QString programs = dir.filePath(QStringLiteral("opt"));
    MakePrograms(programs, files);
    AppContext context(dir.filePath(QStringLiteral("relvano")));
    QDir().mkpath(context.programFolder());
    FakeHost host(context);

    DuMs(programs); // both start from a warm cache
    QList<double> du;
    QList<double> page;
    QList<double> gaps;
    QList<double> repaints;
    for (int round = 0; round < 7; ++round) {
        du.append(DuMs(programs));
        const Fill fill = FillPage(host, programs);
        std::printf("round %d: du -sb %.0f ms, page %.0f ms\n", round + 1, du.last(), fill.ms);
        page.append(fill.ms);
        gaps += fill.gaps;
        repaints += fill.repaints;
    }

    // Closing in the middle of the walk.
    QList<double> close;
    for (int round = 0; round < 5; ++round) {
        SavePageSetting(context.ConfigIniPath, PageSetting::AllProgramsInfo, 2);
        auto w = std::make_unique<FrmAllInfo>(host, programs);
        w->show();
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 40 + 20 * round)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        t.restart();
        w->reject();
        w.reset();
        close.append(t.nsecsElapsed() / 1e6);
    }

    std::printf("programs folder: 50 subfolders, %d files; load average %.2f on %d processors\n",
                files, LoadAverage(), QThread::idealThreadCount());
    std::printf("du -sb:                  %.1f ms (median of 7)\n", Median(du));
    std::printf("Program Files page:      %.1f ms (median of 7), %.2f x du\n", Median(page),
                Median(page) / Median(du));
    std::printf("gaps between 10 ms ticks while filling: median %.1f, 99%% %.1f, longest %.1f ms\n",
                Median(gaps), Percentile(gaps, 0.99), Percentile(gaps, 1));
    std::printf("repaints while filling:                 median %.1f, 99%% %.1f, longest %.1f ms\n",
                Median(repaints), Percentile(repaints, 0.99), Percentile(repaints, 1));
    std::printf("closing during the walk: %.2f ms (longest of 5)\n",
                *std::max_element(close.begin(), close.end()));
    return 0;
}
