// The composition root: every window that exists has an opener, and each
// opens over the main window and closes again.
#include "app/Windows.h"
#include "app/FrmMain.h"
#include "app/ProgramListView.h"
#include "app/SystemSync.h"
#include "dialogs/WindowOpener.h"
#include "system/SystemSyncService.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/ModalAnswer.h"
#include "tests/system/FakeRoot.h"

#include <QDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

class WindowsTest : public QObject {
    Q_OBJECT

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
            // Every window the main window can open has its opener.
            QVERIFY2(windows.has(window), name.constData());
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

// The machine's applications: the background sync reloads the list when it
// wrote, and "Refresh" and the uninstall dialog ask for a sync.
class SystemSyncWiringTest : public QObject {
    Q_OBJECT
private slots:
    void theListFollowsTheSync() {
        FakeApp app;
        FakeRoot root;
        SystemSyncService::Settings settings;
        settings.layout = root.layout();
        settings.storeFile = app.folder.storePath();
        settings.configIni = app.context.ConfigIniPath;
        settings.quietMs = 10;
        SystemSyncService sync(settings);
        QSignalSpy synced(&sync, &SystemSyncService::syncFinished);
        WindowOpener windows;
        windows.add(AppWindow::Uninstall, [](MainWindowHost&, const QString&) { return 0; });
        FrmMain main(app.context, windows);
        main.load();
        ConnectSystemSync(main, sync);
        sync.start();
        QVERIFY(synced.wait(10000));

        app.context.entries().setValue("tool", "DisplayName", "Tool");
        app.context.entries().setValue("tool", "UninstallString", "un");
        emit sync.storeChanged();
        QCOMPARE(main.statusPanel1()->text(), QString("Installed Programs : 1"));

        main.actions().viewRefresh->trigger();
        QVERIFY(synced.wait(10000));
        main.list()->selectRow(0);
        main.actions().fileUninstall->trigger();
        QVERIFY(synced.wait(10000));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    WindowsTest windows;
    SystemSyncWiringTest wiring;
    return QTest::qExec(&windows, argc, argv) | QTest::qExec(&wiring, argc, argv);
}
#include "WindowsTest.moc"
