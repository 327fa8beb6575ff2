// The history window: both views, the details rows, clearing and printing.
#include "lifecycle/FrmLog.h"
#include "core/HistoryLog.h"
#include "core/IniFile.h"
#include "core/Settings.h"
#include "dialogs/QtServices.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestEnv.h"

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QTreeWidget>
#include <QtTest>

class FrmLogTest : public QObject {
    Q_OBJECT

    static QStringList rows(FrmLog& w) {
        auto* lv = w.findChild<QTreeWidget*>("Lv");
        QStringList result;
        for (int i = 0; i < lv->topLevelItemCount(); ++i)
            result.append(lv->topLevelItem(i)->text(0) + " = " + lv->topLevelItem(i)->text(1));
        return result;
    }
    static QAction* action(FrmLog& w, const char* name) { return w.findChild<QAction*>(name); }

private slots:
    void showsBothHistoriesAndTheirFields() {
        FakeApp app;
        auto& [folder, context, fakes] = app;
        HistoryLog log = context.history();
        log.AppendUninstallRecord("Removed Tool", false, true, 0);
        log.AppendUninstallRecord("Gone Tool", true, false, 5);
        WriteIni(context.InlogIniPath, "InNum", "Val", "2");
        WriteIni(context.InlogIniPath, "Prog1", "ProgName", "setup.exe");
        SavePageSetting(context.ConfigIniPath, PageSetting::History, 2);

        FrmLog w(context);
        w.show();
        QTRY_COMPARE(w.view(), 2);
        QVERIFY(action(w, "TB_Un")->isChecked() && !action(w, "TB_In")->isChecked());
        auto* tv = w.findChild<QTreeWidget*>("Tv");
        QCOMPARE(tv->headerItem()->text(0), QString("Uninstalled Programs"));
        QCOMPARE(tv->topLevelItemCount(), 2);
        QVERIFY(action(w, "TB_Clear")->isEnabled());
        QVERIFY(!action(w, "TB_Print")->isEnabled());
        w.selectEntry(0);
        QCOMPARE(
            rows(w).mid(2),
            (QStringList{"Uninstallation Status = Program Uninstallation not complete",
                         "Additional Info = The program was removed from the list by Relvano"}));
        w.selectEntry(1);
        QCOMPARE(rows(w).last(), QString("Uninstallation Time = 6 Second"));
        QVERIFY(action(w, "TB_Print")->isEnabled());
        // The view already shown: nothing changes.
        action(w, "TB_Un")->trigger();
        QCOMPARE(rows(w).size(), 4);

        QTest::keyClick(&w, Qt::Key_1, Qt::ShiftModifier);
        QCOMPARE(w.view(), 1);
        // The counter says 2, but only the records in the file are listed.
        QCOMPARE(tv->topLevelItemCount(), 1);
        QCOMPARE(w.findChild<QLabel*>("Sb")->text(), QString("Installed Programs : 1"));
        w.selectEntry(0);
        QCOMPARE(rows(w), (QStringList{"Program Name = setup.exe", "Program Path = N/A",
                                       "Program Version = N/A", "Installation Date = N/A",
                                       "Program Size = N/A", "Program Folder Size = N/A",
                                       "Installation Time = N/A"}));
        w.reject();
        QCOMPARE(ReadIni(context.ConfigIniPath, "Log", "St", ""), QString("1"));
    }

    void aKeyOnTheListShowsTheRecordButFocusAloneDoesNot() {
        FakeApp app;
        auto& [folder, context, fakes] = app;
        context.history().AppendUninstallRecord("One", true, false, 0);
        context.history().AppendUninstallRecord("Two", true, false, 0);
        SavePageSetting(context.ConfigIniPath, PageSetting::History, 2);
        FrmLog w(context);
        w.show();
        QTRY_COMPARE(w.view(), 2);
        auto* tv = w.findChild<QTreeWidget*>("Tv");
        tv->setFocus();
        QVERIFY(rows(w).isEmpty());
        QVERIFY(!action(w, "TB_Print")->isEnabled());
        tv->setCurrentItem(tv->topLevelItem(0));
        QTest::keyClick(tv, Qt::Key_Down);
        QCOMPARE(rows(w).first(), QString("Program Name = Two"));
        QVERIFY(action(w, "TB_Print")->isEnabled());
    }

    void closingBeforeAPageIsShownStoresNoPage() {
        FakeApp app;
        SavePageSetting(app.context.ConfigIniPath, PageSetting::History, 2);
        FrmLog w(app.context);
        w.reject(); // before the first timer tick
        QCOMPARE(LoadPageSetting(app.context.ConfigIniPath, PageSetting::History), 2);
    }

    void aHandEditedCounterListsOnlyTheRecordsThere() {
        FakeApp app;
        auto& context = app.context;
        context.history().AppendUninstallRecord("Only", true, false, 0);
        WriteIni(context.UnlogIniPath, "UnNum", "Val", "100000000000");
        SavePageSetting(context.ConfigIniPath, PageSetting::History, 2);
        FrmLog w(context);
        w.show();
        QTRY_COMPARE(w.view(), 2);
        QCOMPARE(w.findChild<QTreeWidget*>("Tv")->topLevelItemCount(), 1);
    }

    void clearingAsksAndDeletesTheFile() {
        FakeApp app;
        auto& [folder, context, fakes] = app;
        context.history().AppendInstallRecord(folder.file("x.exe"), 0);
        FrmLog w(context);
        w.show();
        QTRY_COMPARE(w.view(), 1);
        fakes.messages.answers.enqueue(MsgAnswer::No);
        action(w, "TB_Clear")->trigger();
        QCOMPARE(fakes.messages.calls[0].text,
                 QString("Are you sure you want to clear the installed programs history ?"));
        QCOMPARE(fakes.messages.calls[0].title, QString("Relvano"));
        QVERIFY(QFile::exists(context.InlogIniPath));
        fakes.messages.answers.enqueue(MsgAnswer::Yes);
        action(w, "TB_Clear")->trigger();
        QVERIFY(!QFile::exists(context.InlogIniPath));
        QCOMPARE(w.findChild<QTreeWidget*>("Tv")->topLevelItemCount(), 0);
        QCOMPARE(w.findChild<QLabel*>("Sb")->text(), QString("Installed Programs : 0"));
        QVERIFY(!action(w, "TB_Clear")->isEnabled());
        QVERIFY(!action(w, "TB_Print")->isEnabled());
    }

    void printsTheRecordThroughThePrintDialog() {
        FakeApp app;
        auto& [folder, context, fakes] = app;
        context.history().AppendUninstallRecord("Tool", true, false, 0);
        SavePageSetting(context.ConfigIniPath, PageSetting::History, 2);
        FrmLog w(context);
        w.show();
        QTRY_COMPARE(w.view(), 2);
        w.selectEntry(0);
        action(w, "TB_Print")->trigger(); // cancelled: nothing printed
        QVERIFY(fakes.printer.jobs.isEmpty());
        fakes.dialogs.printAnswers.enqueue(2);
        action(w, "TB_Print")->trigger();
        QCOMPARE(fakes.printer.jobs.size(), 1);
        QCOMPARE(fakes.printer.jobs[0].copies, 2);
        const QStringList lines = fakes.printer.jobs[0].text.split("\r\n");
        QCOMPARE(
            lines.mid(0, 5),
            (QStringList{"Uninstalled Programs", "", "Program Name : Tool",
                         "Uninstallation Date : " +
                             context.history().RecordField(HistoryLog::File::Uninstall, 1, "Date"),
                         "Uninstallation Status : Program Uninstallation complete successfully"}));
    }

    void theReportReachesAPdfPrinter() {
        TempProgramFolder folder;
        const QString text =
            HistoryReportText(true, {{"Program Name", "setup.exe"}, {"Installation Time", "N/A"}},
                              QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
        QVERIFY(
            text.startsWith("Installed Programs\r\n\r\nProgram Name : setup.exe\r\nInstallation "
                            "Time : N/A\r\n\r\n\r\nHistory Report\r\nCreated In : "));
        QVERIFY(text.endsWith("\r\nCreated By : Relvano"));
        QtPrintService printer(folder.file("history.pdf"));
        QVERIFY(printer.PrintText("History Report", text, 1));
        QProcess pdf;
        pdf.start("pdftotext", {folder.file("history.pdf"), "-"});
        QVERIFY(pdf.waitForFinished());
        const QString printed = QString::fromUtf8(pdf.readAllStandardOutput());
        QVERIFY2(printed.contains("Program Name : setup.exe"), qPrintable(printed));
        QVERIFY(printed.contains("Created By : Relvano"));
    }
};

QTEST_MAIN(FrmLogTest)
#include "FrmLogTest.moc"
