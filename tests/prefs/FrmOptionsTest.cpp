// The options window: its controls and their defaults, what "Ok", "Default",
// "Cancel" and Esc store, and what the main window does with the options
// (the real main window: hidden programs, grid lines, double click).
#include "prefs/FrmOptions.h"
#include "app/FrmMain.h"
#include "app/ProgramListView.h"
#include "controls/Url.h"
#include "core/IniFile.h"
#include "core/Options.h"
#include "prefs/PrefsWindows.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/ModalAnswer.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

class FrmOptionsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    std::unique_ptr<FakeHost> host;

    QByteArray config() { return ReadFileBytes(app->context.ConfigIniPath); }
    static QCheckBox* check(FrmOptions& w, const char* name) {
        return w.findChild<QCheckBox*>(name);
    }
    static QComboBox* sw(FrmOptions& w) { return w.findChild<QComboBox*>("Sw"); }
    // Clicks a check box on its box, as the user does.
    static void toggle(FrmOptions& w, const char* name) {
        QCheckBox* box = check(w, name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    static void press(FrmOptions& w, const char* name) {
        QTest::mouseClick(w.findChild<QPushButton*>(name), Qt::LeftButton);
    }

private slots:
    void init() {
        app = std::make_unique<FakeApp>();
        host = std::make_unique<FakeHost>(app->context);
    }
    void cleanup() {
        host.reset();
        app.reset();
    }

    void withoutConfigTheDefaultsAreShown() {
        FrmOptions w(*host);
        QCOMPARE(w.windowTitle(), QString("Options"));
        auto* ts = w.findChild<QTabWidget*>("Ts");
        QCOMPARE(ts->count(), 2);
        QCOMPARE(ts->tabText(0), QString(" General "));
        QCOMPARE(ts->tabText(1), QString(" Interface "));
        QCOMPARE(ts->tabBar()->tabData(1).toString(), QString("Tab_Display"));
        QCOMPARE(ts->currentWidget()->objectName(), QString("Pic_General"));
        struct Box {
            const char* name;
            const char* caption;
            bool checked;
        };
        const Box boxes[] = {
            {"Ch_Hid", "Show hidden programs", false},
            {"Ch_Dbl", "Show This Dialog When Press Double Click on a Program : ", true},
            {"Ch_Con", "Display Delete Confirmation Dialog", true},
            {"Ch_FullRow", "Full Row Select", true},
            {"Ch_Auto", "Auto Resize the List View Column Headers", true},
            {"Ch_Grid", "Show grids", false},
            {"Ch_Xy", "Save Window Position", false},
        };
        for (const Box& box : boxes) {
            QCOMPARE(check(w, box.name)->text(), QString(box.caption));
            QCOMPARE(check(w, box.name)->isChecked(), box.checked);
        }
        QCOMPARE(sw(w)->currentText(), QString("Uninstall Dialog"));
        QCOMPARE(sw(w)->itemText(1), QString("Information Dialog"));
        QCOMPARE(sw(w)->itemText(2), QString("Edit Dialog"));
        QVERIFY(sw(w)->isEnabled());
        QCOMPARE(w.findChild<Url*>("Def")->Caption(), QString("Default"));
        QCOMPARE(w.findChild<QPushButton*>("Cmd_ok")->text(), QString("Ok"));
        QCOMPARE(w.findChild<QPushButton*>("Cmd_Cancel")->text(), QString("Cancel"));
    }

    void okStoresTheEightKeysInOrder() {
        FrmOptions w(*host);
        w.show();
        // Unchecking the double click disables its choice.
        toggle(w, "Ch_Dbl");
        QVERIFY(!sw(w)->isEnabled());
        check(w, "Ch_Grid")->setChecked(true);
        press(w, "Cmd_ok");
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(config(), QByteArray("[Options]\r\nConf=1\r\nChDbl=0\r\nSw=0\r\nAuto=1\r\n"
                                      "FullRow=1\r\nGrids=1\r\nXy=0\r\nHi=0\r\n"));
        // The grid lines are applied at once; the list is not reloaded.
        QCOMPARE(host->optionsApplied, 1);
        QCOMPARE(host->reloads, 0);
        QVERIFY(!Options(app->context.ConfigIniPath).doubleClickAction());
    }

    void hiddenProgramsReloadTheListOnlyWhenChanged() {
        for (bool change : {false, true, true}) {
            FrmOptions w(*host);
            w.show();
            if (change)
                toggle(w, "Ch_Hid");
            const int before = host->reloads;
            press(w, "Cmd_ok");
            QCOMPARE(host->reloads - before, change ? 1 : 0);
        }
        QVERIFY(!Options(app->context.ConfigIniPath).showHidden()); // on, then off again
    }

    void defaultAndCancelStoreNothing() {
        OptionSettings stored;
        stored.showHidden = true;
        stored.doubleClickRuns = false;
        stored.doubleClickAction = DoubleClickAction::Edit;
        stored.gridLines = true;
        stored.confirmDelete = false;
        QVERIFY(SaveOptionSettings(app->context.ConfigIniPath, stored));
        const QByteArray before = config();
        for (int how = 0; how < 2; ++how) {
            FrmOptions w(*host);
            w.show();
            QVERIFY(check(w, "Ch_Hid")->isChecked() && !sw(w)->isEnabled());
            QCOMPARE(sw(w)->currentIndex(), 2);
            QTest::mouseClick(w.findChild<Url*>("Def"), Qt::LeftButton);
            // The controls show the defaults...
            QVERIFY(!check(w, "Ch_Hid")->isChecked() && check(w, "Ch_Con")->isChecked());
            QVERIFY(check(w, "Ch_Dbl")->isChecked() && sw(w)->isEnabled());
            QCOMPARE(sw(w)->currentIndex(), 0);
            QVERIFY(!check(w, "Ch_Grid")->isChecked());
            // ...and nothing is stored: "Cancel", then Esc.
            if (how == 0)
                press(w, "Cmd_Cancel");
            else
                QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(!w.isVisible());
            QCOMPARE(w.result(), int(QDialog::Rejected));
            QCOMPARE(config(), before);
        }
        QCOMPARE(host->optionsApplied, 0);
        QCOMPARE(host->reloads, 0);
    }

    void aConfigThatCannotBeWrittenIsReported() {
        // Config.Ini is a folder: nothing can be stored there.
        QVERIFY(QDir().mkpath(app->context.ConfigIniPath));
        FrmOptions w(*host);
        w.show();
        toggle(w, "Ch_Hid");
        press(w, "Cmd_ok");
        QCOMPARE(app->fakes.messages.calls.size(), 1);
        QVERIFY2(app->fakes.messages.calls[0].text.startsWith("cannot write " +
                                                              app->context.ConfigIniPath),
                 qPrintable(app->fakes.messages.calls[0].text));
        QCOMPARE(app->fakes.messages.calls[0].icon, MsgIcon::Critical);
        // The dialog stays for another try or "Cancel"; nothing was applied.
        QVERIFY(w.isVisible());
        QVERIFY(w.findChild<QPushButton*>("Cmd_ok")->isEnabled());
        QVERIFY(w.findChild<QPushButton*>("Cmd_Cancel")->isEnabled());
        QCOMPARE(host->optionsApplied, 0);
        QCOMPARE(host->reloads, 0);
    }

    // The main window as the user sees it: options changed in the window take
    // effect on the list.
    void theMainWindowFollowsTheOptions() {
        UninstallEntries& entries = app->context.entries();
        entries.setValue("a", "DisplayName", "Alpha");
        entries.setValue("a", "UninstallString", "/opt/a/uninstall");
        const QString longName = "Hidden Tool With A Name Much Longer Than The Column";
        entries.setValue("h", "DisplayName", longName);
        QList<AppWindow> opened;
        WindowOpener windows;
        for (AppWindow window :
             {AppWindow::Uninstall, AppWindow::ProgramInfo, AppWindow::EditEntry})
            windows.add(window, [&opened, window](MainWindowHost&, const QString&) {
                opened.append(window);
                return 0;
            });
        RegisterPrefsWindows(windows);
        FrmMain main(app->context, windows);
        main.load();
        main.SetView(ListViewKind::Details);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QTableView* table = main.list()->detailsView();
        QCOMPARE(main.list()->count(), 1);
        QVERIFY(!table->showGrid());

        // Options through the window, as the user sets them.
        auto setOptions = [&](const std::function<void(FrmOptions&)>& change) {
            ModalAnswer answer([&](QWidget* dialog) {
                auto* w = qobject_cast<FrmOptions*>(dialog);
                QVERIFY(w);
                change(*w);
                w->findChild<QPushButton*>("Cmd_ok")->click();
            });
            main.openWindow(AppWindow::Options);
            QVERIFY2(answer.answered(), qPrintable(answer.failure()));
        };
        setOptions([](FrmOptions& w) {
            w.findChild<QCheckBox*>("Ch_Hid")->setChecked(true);
            w.findChild<QCheckBox*>("Ch_Grid")->setChecked(true);
        });
        QCOMPARE(main.list()->count(), 2); // reloaded with the hidden program
        QVERIFY(table->showGrid());
        // "Auto Resize" (on by default) fits the name column to the names.
        const int nameWidth = table->fontMetrics().horizontalAdvance(longName);
        QVERIFY2(table->columnWidth(0) > nameWidth, qPrintable(QString::number(nameWidth)));

        const QPoint onItem = table->visualRect(main.list()->model()->index(0, 0)).center();
        auto doubleClick = [&] {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, onItem);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, onItem);
        };
        const struct {
            int sw;
            bool on;
            QList<AppWindow> opened;
        } cases[] = {
            {1, true, {AppWindow::ProgramInfo}},
            {2, true, {AppWindow::EditEntry}},
            {0, true, {AppWindow::Uninstall}},
            {1, false, {}},
        };
        for (const auto& c : cases) {
            setOptions([&](FrmOptions& w) {
                w.findChild<QCheckBox*>("Ch_Dbl")->setChecked(c.on);
                w.findChild<QComboBox*>("Sw")->setCurrentIndex(c.sw);
            });
            opened.clear();
            doubleClick();
            QCOMPARE(opened, c.opened);
        }

        // Without "Auto Resize" a new main window keeps its name column's width.
        setOptions([](FrmOptions& w) { w.findChild<QCheckBox*>("Ch_Auto")->setChecked(false); });
        FrmMain fixed(app->context, windows);
        fixed.load();
        QVERIFY(fixed.list()->detailsView()->columnWidth(0) < nameWidth);
    }
};

QTEST_MAIN(FrmOptionsTest)
#include "FrmOptionsTest.moc"
