// The about box: the name and version, and where the program keeps its data.
#include "info/FrmAbout.h"
#include "controls/Url.h"
#include "dialogs/WindowOpener.h"
#include "info/InfoWindows.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/ModalAnswer.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class FrmAboutTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheProgramFolderAndTheStore() {
        FakeApp app;
        app.context.entries().setValue("a", "DisplayName", "A");
        FrmAbout w(app.context);
        QCOMPARE(w.windowTitle(), QString("About Relvano"));
        QCOMPARE(w.findChild<QLabel*>("LbName")->text(), QString("Relvano 4.1"));
        QCOMPARE(w.findChild<QLabel*>("LbStore")->text(), app.folder.storePath());
        const QString size = w.findChild<QLabel*>("LbStoreSize")->text();
        QVERIFY2(size.endsWith(" KB"), qPrintable(size));
        auto* folder = w.findChild<Url*>("LbFolder");
        QCOMPARE(folder->Caption(), app.folder.path());
        w.show();
        QTest::mouseClick(folder, Qt::LeftButton);
        QCOMPARE(app.fakes.shell.opened, QStringList{app.folder.path()});
    }

    void opensAsAWindowAndClosesWithOk() {
        FakeApp app;
        FakeHost host(app.context);
        WindowOpener windows;
        RegisterInfoWindows(windows);
        ModalAnswer answer([](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QString("FrmAbout"));
            dialog->findChild<QPushButton*>("Cmd_ok")->click();
        });
        QCOMPARE(windows.open(AppWindow::About, host), int(QDialog::Accepted));
        QVERIFY2(answer.answered(), qPrintable(answer.failure()));
        QVERIFY(app.fakes.messages.calls.isEmpty());
    }
};

QTEST_MAIN(FrmAboutTest)
#include "FrmAboutTest.moc"
