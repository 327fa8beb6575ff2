// The install wizard: pages, the program-info and space-info lists, and a
// real installer script that adds its entry with relvano-reg.
#include "lifecycle/FrmAddNew.h"
#include "core/HistoryLog.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestEnv.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QtTest>

class FrmAddNewTest : public QObject {
    Q_OBJECT

    static QStringList column(QTreeWidget* list, int c) {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts.append(list->topLevelItem(i)->text(c));
        return texts;
    }

private slots:
    void installsARealProgramAndRecordsIt() {
        FakeApp app;
        auto& [folder, context, fakes] = app;
        SystemProcessService processes;
        context.setServices({.processes = &processes});
        // What the main list would show after a reload: the entries' names.
        QStringList listed;
        auto reload = [&listed, &context] {
            listed.clear();
            for (const QString& key : context.entries().keys())
                listed.append(context.entries().value(key, "DisplayName"));
        };
        reload();
        QCOMPARE(listed.size(), 0);

        QDir().mkpath(folder.file("setup"));
        const QString installer = WriteScript(
            folder.file("setup/install.sh"),
            QString("R='%1 --store %2'\nK='%3New Tool'\n"
                    "$R add \"$K\" --value DisplayName --data 'New Tool'\n"
                    "$R add \"$K\" --value UninstallString --data '/opt/newtool/uninstall'")
                .arg(RelvanoRegPath(), folder.storePath(), UninstallEntries::FullKeyPath));

        FrmAddNew wizard(context, reload);
        wizard.show();
        auto* next = wizard.findChild<QPushButton*>("Nxt");
        auto* txt = wizard.findChild<QLineEdit*>("Txt");
        auto* lv = wizard.findChild<QTreeWidget*>("Lv");
        QCOMPARE(wizard.findChild<QLabel*>("Tip")->text(),
                 QString("Preparing For Program Installation"));
        QVERIFY(!wizard.findChild<QPushButton*>("Bak")->isEnabled());
        QCOMPARE(column(lv, 0), QStringList{" No Programs Selected"});
        next->click();
        QCOMPARE(wizard.page(), 1);
        QCOMPARE(next->text(), QString("Finish"));
        QVERIFY(!next->isEnabled());
        QCOMPARE(wizard.findChild<QLabel*>("Tip")->text(), QString("Run Installation Program"));
        txt->setText(folder.file("setup/missing.sh"));
        QVERIFY(!next->isEnabled());
        QCOMPARE(column(lv, 0), QStringList{" Path Not Exists"});
        // The browse dialog fills the path.
        fakes.dialogs.fileAnswers.enqueue({true, installer, 1});
        wizard.findChild<QPushButton*>("Command4")->click();
        QCOMPARE(txt->text(), installer);
        QVERIFY(next->isEnabled());
        QCOMPARE(column(lv, 0), (QStringList{" Program Name", " Program Path", " Program Size",
                                             " Program Folder Size", " Program Created",
                                             " Program Modified", " Program Accessed"}));
        QCOMPARE(lv->topLevelItem(0)->text(1), QString("install.sh"));
        QCOMPARE(lv->topLevelItem(1)->text(1), folder.file("setup"));
        QCOMPARE(fakes.dialogs.fileRequests[0].filters.size(), 3);
        // The space page lists the fixed drives.
        wizard.findChild<QTabBar*>("Ts")->setCurrentIndex(1);
        auto* lv2 = wizard.findChild<QTreeWidget*>("Lv2");
        QVERIFY(lv2->topLevelItemCount() >= 1);
        QVERIFY(lv2->topLevelItem(0)->text(1).contains(QRegularExpression(" (Byte|KB|MB|GB)$")) ||
                lv2->topLevelItem(0)->text(1).isEmpty());

        next->click();
        QVERIFY(wizard.launched());
        QCOMPARE(wizard.findChild<QLabel*>("Lb_Tip")->text(),
                 QString("The Program \"install.sh\" Was Successfully Opened.\r\n\r\nPress \"Ok\" "
                         "when the program installation completed"));
        auto* ok = wizard.findChild<QPushButton*>("Cmd_Cont");
        QVERIFY(ok->isVisible() && ok->isEnabled());
        QVERIFY(!next->isVisible());
        // The installer adds its entry; "Ok" reloads the list.
        QTRY_VERIFY_WITH_TIMEOUT(!context.entries().value("New Tool", "UninstallString").isEmpty(),
                                 10000);
        ok->click();
        QCOMPARE(listed, QStringList{"New Tool"});
        const HistoryLog log = context.history();
        QCOMPARE(log.RecordCount(HistoryLog::File::Install), 1);
        QCOMPARE(log.RecordField(HistoryLog::File::Install, 1, "ProgName"), QString("install.sh"));
    }

    // The installer's path is the program, quotes and all; it runs in the
    // program folder.
    void theInstallerPathIsStartedAsItIs() {
        FakeApp app;
        auto& [folder, context, fakes] = app;
        QDir().mkpath(folder.file("odd \"name"));
        const QString installer = WriteScript(folder.file("odd \"name/setup \"x\".sh"), "exit 0");
        FrmAddNew wizard(context, {});
        wizard.show();
        wizard.findChild<QPushButton*>("Nxt")->click();
        wizard.findChild<QLineEdit*>("Txt")->setText(installer);
        wizard.findChild<QPushButton*>("Nxt")->click();
        QVERIFY(wizard.launched());
        QCOMPARE(fakes.processes.programs.size(), 1);
        QCOMPARE(fakes.processes.programs[0].program, installer);
        QVERIFY(fakes.processes.programs[0].arguments.isEmpty());
        QCOMPARE(fakes.processes.programs[0].workingFolder, folder.path());
        wizard.reject();
    }

    void aFailedLaunchIsToldAndNotRecorded() {
        FakeApp app;
        auto& [folder, context, fakes] = app;
        fakes.shell.result = false;
        const QString package = folder.file("tool.deb");
        WriteFileBytes(package, "not really a package");
        FrmAddNew wizard(context, {});
        wizard.show();
        wizard.findChild<QPushButton*>("Nxt")->click();
        wizard.findChild<QLineEdit*>("Txt")->setText(package);
        wizard.findChild<QPushButton*>("Nxt")->click();
        QCOMPARE(fakes.shell.opened, QStringList{package});
        QVERIFY(!wizard.launched());
        QVERIFY(wizard.findChild<QLabel*>("Lb_Tip")->text().contains("could not be opened"));
        QTest::keyClick(&wizard, Qt::Key_Escape);
        QVERIFY(!QFile::exists(context.InlogIniPath));
    }

    void escapeAfterALaunchRecordsWithoutReload() {
        FakeApp app;
        auto& [folder, context, fakes] = app;
        const QString package = folder.file("tool.msi");
        WriteFileBytes(package, "msi");
        int reloads = 0;
        FrmAddNew wizard(context, [&reloads] { ++reloads; });
        wizard.show();
        wizard.findChild<QPushButton*>("Nxt")->click();
        wizard.findChild<QLineEdit*>("Txt")->setText(package);
        wizard.findChild<QPushButton*>("Nxt")->click();
        QVERIFY(wizard.launched());
        QTest::keyClick(&wizard, Qt::Key_Escape);
        QCOMPARE(reloads, 0);
        const HistoryLog log = context.history();
        QCOMPARE(log.RecordCount(HistoryLog::File::Install), 1);
        QCOMPARE(log.RecordField(HistoryLog::File::Install, 1, "ProgName"), QString("tool.msi"));
    }
};

QTEST_MAIN(FrmAddNewTest)
#include "FrmAddNewTest.moc"
