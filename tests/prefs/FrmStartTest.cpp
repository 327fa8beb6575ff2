// The quick tour: the fade arithmetic without a window, the pages' texts,
// and the window's three fades, its page cycle and its idling once a page is in.
#include "prefs/FrmStart.h"
#include "controls/Url.h"
#include "prefs/QuickTour.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

class FrmStartTest : public QObject {
    Q_OBJECT

    static bool anyTimerRunning(FrmStart& w) {
        for (const char* name : {"St", "Tm", "Tim"})
            if (w.findChild<QTimer*>(name)->isActive())
                return true;
        return false;
    }

    // Runs the event loop until no fade runs (QTRY's waits sleep between
    // rounds, which would stretch 1 ms ticks to 10 ms).
    static bool fadedIn(FrmStart& w) {
        QElapsedTimer timer;
        timer.start();
        while (w.fading() && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        return !w.fading();
    }

private slots:
    void fadesEndAtTheirAlphas_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("page"); // ends at a refused lowering, not below 4
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("alpha");
        QTest::addColumn<int>("counter");
        QTest::newRow("title") << int(Fade::TitleStep) << false << 126 << 250 << 3;
        QTest::newRow("background") << int(Fade::BackgroundStep) << false << 84 << 249 << 3;
        QTest::newRow("page") << int(Fade::PageStep) << true << 64 << 252 << 3;
    }
    void fadesEndAtTheirAlphas() {
        QFETCH(int, step);
        QFETCH(bool, page);
        QFETCH(int, ticks);
        QFETCH(int, alpha);
        QFETCH(int, counter);
        Fade fade;
        fade.start(step);
        QList<int> alphas;
        while (!(page ? fade.refused() : fade.belowFour()) && alphas.size() < 1000)
            alphas.append(fade.tick());
        QCOMPARE(fade.ticks(), ticks);
        QCOMPARE(alphas.size(), ticks);
        QCOMPARE(fade.alpha(), alpha);
        QCOMPARE(fade.counter(), counter);
        // The alpha rises by the step from 0, and never beyond the last.
        for (int i = 0; i < alphas.size(); ++i)
            QCOMPARE(alphas[i], i * step);
        // A refused lowering leaves the counter where it is.
        if (page) {
            fade.tick();
            QCOMPARE(fade.counter(), counter);
            QCOMPARE(fade.alpha(), alpha);
        }
        // Starting again starts from nothing.
        fade.start(step);
        QCOMPARE(fade.tick(), 0);
        QVERIFY(!fade.refused());
    }

    void pagesAndTitleTexts() {
        const QStringList pages = TourPages();
        QCOMPARE(pages.size(), 7);
        QCOMPARE(pages[0], QString("Welcome to Relvano\r\n\r\nRelvano is a tool designed to help "
                                   "you\r\nto install or uninstall your programs\r\nit also can "
                                   "be used by the beginners and\r\nprofessional users."));
        QCOMPARE(pages[1].split("\r\n")[3],
                 QString("clicking File menu then click Add New Program "));
        QCOMPARE(pages[2].split("\r\n").first(),
                 QString("Uninsatalling a program from your computer"));
        QCOMPARE(pages[5].split("\r\n")[5],
                 QString("If you want to create a report clcik file menu the click"));
        QCOMPARE(pages[6], QString("Finally you can change the basic mode (Defalut Mode)\r\nto "
                                   "advanced mode if you are a professional user\r\n(this mode "
                                   "for expert users only)"));
        QCOMPARE(TourTitle(), QString("Welcome to : \r\n Relvano\r\n  Quick Tour"));
    }

    void theTourFadesInAndIdles() {
        FrmStart w;
        QCOMPARE(w.windowTitle(), QString("Relvano Quick Tour"));
        w.show();
        QVERIFY(w.findChild<QTimer*>("St")->isActive());
        QCOMPARE(w.findChild<QTimer*>("St")->interval(), 1);
        QVERIFY(!w.findChild<QWidget*>("Pic")->isVisible());
        QVERIFY(!w.findChild<QWidget*>("P_Up")->isVisible());
        QVERIFY(fadedIn(w));
        QCOMPARE(w.titleFade().ticks(), 126);
        QCOMPARE(w.titleFade().alpha(), 250);
        QCOMPARE(w.backgroundFade().ticks(), 84);
        QCOMPARE(w.backgroundFade().alpha(), 249);
        QCOMPARE(w.pageFade().ticks(), 64);
        QCOMPARE(w.pageFade().alpha(), 252);
        QCOMPARE(w.pageText(), TourPages()[0]);
        QCOMPARE(w.pageIndex(), 1);
        for (const char* name : {"P_Up", "P_Up2", "Pic", "P_Dawn", "Nxt2", "UrlClose"})
            QVERIFY2(w.findChild<QWidget*>(name)->isVisible(), name);
        // Idle: no timer runs once the page is in.
        QVERIFY(!anyTimerRunning(w));
        QTest::qWait(30);
        QCOMPARE(w.pageFade().ticks(), 64);
    }

    void nextTipCyclesThroughThePages() {
        FrmStart w;
        w.show();
        QVERIFY(fadedIn(w));
        const QStringList pages = TourPages();
        // Pages 1 to 6, then the first again and on.
        for (int click = 1; click <= 8; ++click) {
            QTest::mouseClick(w.findChild<Url*>("Nxt2"), Qt::LeftButton);
            QCOMPARE(w.pageText(), pages[click % 7]);
            QVERIFY(fadedIn(w));
            QCOMPARE(w.pageFade().alpha(), 252);
        }
        // "Next Tip" during a fade starts the next page's fade afresh.
        w.nextTip();
        while (w.pageFade().ticks() < 5)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        w.nextTip();
        QVERIFY(w.pageFade().ticks() < 5);
        QCOMPARE(w.pageText(), pages[3]);
        QVERIFY(fadedIn(w));
        QCOMPARE(w.pageFade().ticks(), 64);
    }

    void closeAndEscEndTheTour() {
        FrmStart w;
        w.show();
        QVERIFY(fadedIn(w));
        QTest::mouseClick(w.findChild<Url*>("UrlClose"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        FrmStart again;
        again.show();
        QVERIFY(again.fading());
        QTest::keyClick(&again, Qt::Key_Escape); // also while it fades
        QVERIFY(!again.isVisible());
        QVERIFY(!anyTimerRunning(again));
    }
};

QTEST_MAIN(FrmStartTest)
#include "FrmStartTest.moc"
