// The composition root: every window that exists has an opener, and each
// opens over the main window and closes again.
#include "app/Windows.h"
#include "dialogs/WindowOpener.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/ModalAnswer.h"

#include <QDialog>
#include <QtTest>

class WindowsTest : public QObject {
    Q_OBJECT

    // Windows whose folder has no code yet; an opener for one of them means
    // the list is out of date.
    const QList<AppWindow> notBuiltYet{
        AppWindow::AddEntry, AppWindow::EditEntry,   AppWindow::ChangeIcon,
        AppWindow::Shortcut, AppWindow::ProgramInfo, AppWindow::AllProgramsInfo,
        AppWindow::Options,  AppWindow::QuickTour,
    };

private slots:
    void everyWindowIsRegisteredAndOpens() {
        FakeApp app;
        app.context.entries().setValue("tool", "DisplayName", "Tool");
        app.context.entries().setValue("tool", "UninstallString", "/opt/tool/uninstall");
        FakeHost host(app.context);
        host.listEntries();
        host.select("tool");
        WindowOpener windows;
        RegisterAllWindows(windows);
        for (int w = 0; w < AppWindowCount; ++w) {
            const auto window = static_cast<AppWindow>(w);
            const QByteArray name = QByteArray::number(w);
            QCOMPARE(windows.has(window), !notBuiltYet.contains(window));
            if (!windows.has(window))
                continue;
            const qsizetype messages = app.fakes.messages.calls.size();
            // Every window closes on Esc.
            ModalAnswer answer([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
            windows.open(window, host, QStringLiteral("Tool"));
            // A window shown as a message box goes through the message service.
            const QByteArray why = name + ": " + answer.failure().toUtf8();
            QVERIFY2(answer.answered() || app.fakes.messages.calls.size() > messages,
                     why.constData());
        }
    }
};

QTEST_MAIN(WindowsTest)
#include "WindowsTest.moc"
