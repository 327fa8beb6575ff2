// The quick tour's fades: wall time and processor time of the title, the
// background and a page fading in, and the processor time while the tour sits
// idle on a page.
//   QT_QPA_PLATFORM=offscreen build/bin/quick_tour_bench
#include "prefs/FrmStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>
#include <ctime>

namespace {

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FrmStart tour;
    QElapsedTimer wall;
    const double cpu0 = CpuMs();
    wall.start();
    tour.show();
    while (tour.fading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const double introWall = wall.nsecsElapsed() / 1e6;
    const double introCpu = CpuMs() - cpu0;
    std::printf("title + background + first page: %d + %d + %d ticks, %.0f ms wall, %.0f ms "
                "processor (%.0f%% of one core)\n",
                tour.titleFade().ticks(), tour.backgroundFade().ticks(), tour.pageFade().ticks(),
                introWall, introCpu, 100 * introCpu / introWall);

    const double cpu1 = CpuMs();
    wall.restart();
    for (int i = 0; i < 7; ++i) {
        tour.nextTip();
        while (tour.fading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    const double pageWall = wall.nsecsElapsed() / 1e6 / 7;
    const double pageCpu = (CpuMs() - cpu1) / 7;
    std::printf("one page fade: %.0f ms wall, %.0f ms processor (%.0f%% of one core)\n", pageWall,
                pageCpu, 100 * pageCpu / pageWall);

    const double cpu2 = CpuMs();
    QTest::qWait(1000);
    std::printf("idle on a page for 1 s: %.1f ms processor\n", CpuMs() - cpu2);
    return 0;
}
