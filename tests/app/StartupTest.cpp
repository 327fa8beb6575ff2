// Start-up: the splash, the hand-over to the main window, and the refusal of
// a second copy before any window opens.
#include "app/Startup.h"
#include "app/FrmMain.h"
#include "app/FrmSpl.h"
#include "app/ProgramListView.h"
#include "app/TrayController.h"
#include "controls/ProgBar.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void splashThenMainWindow() {
        TempProgramFolder folder;
        TempProgramFolder lock;
        AppContext context(folder.path());
        FakeServices fakes;
        context.setServices(fakes.all());
        for (int i = 0; i < 5; ++i)
            context.entries().setValue(QString("E%1").arg(i), "DisplayName",
                                       QString("Program %1").arg(i));
        WindowOpener windows;
        Startup startup(context, windows, lock.path());
        QSignalSpy ready(&startup, &Startup::ready);
        QVERIFY(startup.start());
        FrmSpl* splash = startup.splash();
        QVERIFY(splash && splash->isVisible());
        QCOMPARE(splash->findChild<QLabel*>("Lb")->text(), QString("Loading Programs List..."));
        QVERIFY(splash->findChild<ProgBar*>("P"));
        QVERIFY(qAbs(splash->windowOpacity() - 220.0 / 255.0) < 0.01);
        QVERIFY(ready.wait(5000));
        FrmMain* main = startup.mainWindow();
        QVERIFY(main->isVisible());
        QVERIFY(!startup.splash());
        QVERIFY(main->splashClosed());
        QCOMPARE(main->windowTitle(), QString("Relvano 4.1"));
        // Entries without an uninstall command are hidden.
        QCOMPARE(main->statusPanel1()->text(), QString("Installed Programs : 0"));

        // A second copy is refused and writes nothing.
        TempProgramFolder otherFolder;
        AppContext second(otherFolder.path());
        FakeServices secondFakes;
        second.setServices(secondFakes.all());
        Startup again(second, windows, lock.path());
        QVERIFY(!again.start());
        QVERIFY(!again.splash());
        QCOMPARE(secondFakes.messages.calls.size(), 1);
        QCOMPARE(secondFakes.messages.calls[0].text, QString("Can,t open another copy of Relvano"));
        QCOMPARE(secondFakes.messages.calls[0].title, QString("Relvano"));
        QCOMPARE(secondFakes.messages.calls[0].icon, MsgIcon::Exclamation);
        QVERIFY(!QFile::exists(second.ConfigIniPath));
        QCOMPARE(QDir(otherFolder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());

        // Closing the main window saves the settings; the lock goes with the start-up.
        main->close();
        QVERIFY(QFile::exists(context.ConfigIniPath));
    }

    // "Exit" ends the program wherever the window is: shown, hidden in the
    // tray, or brought back from the tray and hidden again.
    void exitEndsTheProgramFromEveryState_data() {
        QTest::addColumn<int>("state");
        QTest::newRow("window shown") << 0;
        QTest::newRow("hidden in the tray") << 1;
        QTest::newRow("restored and hidden again") << 2;
    }
    void exitEndsTheProgramFromEveryState() {
        QFETCH(int, state);
        TempProgramFolder folder;
        TempProgramFolder lock;
        AppContext context(folder.path());
        FakeServices fakes;
        context.setServices(fakes.all());
        WindowOpener windows;
        Startup startup(context, windows, lock.path());
        QSignalSpy ready(&startup, &Startup::ready);
        QSignalSpy finished(&startup, &Startup::finished);
        QVERIFY(startup.start());
        QVERIFY(ready.wait(5000));
        FrmMain* main = startup.mainWindow();
        // Without a system tray the window is minimised; either way it leaves the screen.
        if (state >= 1)
            main->actions().viewTray->trigger();
        if (state == 2) {
            main->tray()->leftClick();
            main->actions().viewTray->trigger();
        }
        main->actions().trayExit->trigger();
        QCOMPARE(finished.size(), 1);
        QVERIFY(QFile::exists(context.ConfigIniPath));
        SingleInstance next(lock.path());
        QVERIFY(next.acquire());
    }

    void theLockIsFreeAgainAfterExit() {
        TempProgramFolder lock;
        {
            SingleInstance first(lock.path());
            QVERIFY(first.acquire());
            SingleInstance second(lock.path());
            QVERIFY(!second.acquire());
        }
        SingleInstance later(lock.path());
        QVERIFY(later.acquire());
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
