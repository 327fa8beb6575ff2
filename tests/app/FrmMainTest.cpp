// The main window over a store filled through the store interface, driven
// offscreen through the fakes of the services.
#include "app/FrmMain.h"
#include "app/EntryActions.h"
#include "app/FindPanel.h"
#include "app/ProgramListView.h"
#include "app/TrayController.h"
#include "backup/BackupWindows.h"
#include "backup/FrmRestore.h"
#include "controls/Url.h"
#include "core/IniFile.h"
#include "core/Settings.h"
#include "editing/EditingWindows.h"
#include "lifecycle/LifecycleWindows.h"
#include "tests/support/Fakes.h"
#include "tests/support/FlakyStore.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/TestEnv.h"

#include <QAbstractItemModel>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QToolBar>
#include <QToolTip>
#include <QtTest>

namespace {

constexpr RootKey HKLM = RootKey::LocalMachine;

struct Entry {
    QString key;
    QString name;
    QString uninstall;
    QString publisher;
};

} // namespace

class FrmMainTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    TempProgramFolder* folder = nullptr;
    AppContext* context = nullptr;
    FakeServices* fakes = nullptr;
    std::unique_ptr<WindowOpener> windows;
    std::unique_ptr<FrmMain> main;
    QList<AppWindow> opened;

    void set(const QString& key, const QString& name, const QString& value) {
        context->entries().setValue(key, name, value);
    }
    QString get(const QString& key, const QString& name) {
        return context->entries().value(key, name);
    }
    // Changes options in Config.Ini as the options window saves them.
    void setOptions(const std::function<void(OptionSettings&)>& change) {
        OptionSettings options = LoadOptionSettings(context->ConfigIniPath);
        change(options);
        SaveOptionSettings(context->ConfigIniPath, options);
    }
    void addEntries(const QList<Entry>& entries) {
        for (const Entry& e : entries) {
            if (!e.name.isNull())
                set(e.key, "DisplayName", e.name);
            if (!e.uninstall.isNull())
                set(e.key, "UninstallString", e.uninstall);
            if (!e.publisher.isNull())
                set(e.key, "Publisher", e.publisher);
        }
    }
    // The main window with a recording opener for every window but the rename
    // question, which is the real one.
    void openMain(bool realUninstall = false) {
        windows = std::make_unique<WindowOpener>();
        RegisterEditingWindows(*windows);
        for (int w = 0; w < AppWindowCount; ++w) {
            if (static_cast<AppWindow>(w) == AppWindow::RenameConfirm)
                continue;
            windows->add(static_cast<AppWindow>(w), [this, w](MainWindowHost&, const QString&) {
                opened.append(static_cast<AppWindow>(w));
                return 0;
            });
        }
        if (realUninstall)
            RegisterLifecycleWindows(*windows);
        main = std::make_unique<FrmMain>(*context, *windows);
        main->load();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    ProgramListView* list() { return main->list(); }
    QStringList texts() {
        QStringList result;
        for (int i = 0; i < list()->count(); ++i)
            result.append(list()->text(i));
        return result;
    }
    int rowOf(const QString& text) {
        for (int i = 0; i < list()->count(); ++i)
            if (list()->text(i) == text)
                return i;
        return -1;
    }
    void clickRow(int row) {
        QAbstractItemView* view = list()->currentView();
        const QRect rect = view->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
    QString status() { return main->statusPanel1()->text(); }
    // Renames the row in place as the user does: "Rename", type, Enter.
    void renameTo(int row, const QString& text) {
        list()->selectRow(row);
        main->renameSelected();
        auto* editor = list()->currentView()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(text);
        QPointer<QLineEdit> open(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor commits and closes, then hands the rename over, each queued.
        QTRY_VERIFY(!open);
        QCoreApplication::processEvents();
    }

private slots:
    void init() {
        app = std::make_unique<FakeApp>();
        folder = &app->folder;
        context = &app->context;
        fakes = &app->fakes;
        opened.clear();
    }
    void cleanup() {
        main.reset();
        windows.reset();
        app.reset();
    }

    void listsEntriesByTheListingRules() {
        addEntries({{"a", "Alpha", "un a", {}},
                    {"b", "No Uninstall", {}, {}},
                    {"c", "   ", "un c", {}},
                    {"d", "Empty Uninstall", "", {}},
                    {"e", {}, "un e", {}},
                    {"f", "Beta", "un f", {}}});
        openMain();
        QCOMPARE(texts(), (QStringList{"   ", "Alpha", "Beta"}));
        QCOMPARE(status(), QString("Installed Programs : 3"));
        QCOMPARE(list()->subItem(rowOf("Alpha")), QString("un a"));

        setOptions([](OptionSettings& o) { o.showHidden = true; });
        main->refresh();
        QCOMPARE(texts(), (QStringList{"Alpha", "Beta", "Empty Uninstall", "No Uninstall"}));
        QCOMPARE(list()->subItem(rowOf("No Uninstall")), QString("N/A"));
        QCOMPARE(list()->subItem(rowOf("Empty Uninstall")), QString("N/A"));
        QCOMPARE(status(), QString("Installed Programs : 4"));
        // Image indices follow the enumeration, hidden entries included.
        QCOMPARE(list()->imageIndex(rowOf("Beta")), 5);
    }

    void iconsComeFromTheIconFileOrTheDefault() {
        QImage red(32, 32, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(folder->file("red.ico"), "ICO"));
        QImage green(32, 32, QImage::Format_ARGB32);
        green.fill(Qt::green);
        QVERIFY(green.save(folder->file("uninst.ico"), "ICO"));
        const QString ico = folder->file("red.ico");
        addEntries({{"a", "FromIcon", "un", {}},
                    {"b", "FromUninstaller", "\"" + folder->file("uninst.ico") + "\" /x", {}},
                    {"c", "MissingIcon", "\"" + folder->file("uninst.ico") + "\"", {}},
                    {"d", "SameIcon", "un", {}},
                    {"e", "NoIcon", "un", {}}});
        set("a", "DisplayIcon", ico + ",2");
        set("c", "DisplayIcon", folder->file("missing.ico"));
        set("d", "DisplayIcon", ico);
        openMain();
        // The icons are read in the background and arrive after the list.
        QTRY_COMPARE(main->iconCache().pending(), 0);
        auto colour = [this](const QString& text) {
            return QColor(list()->icon(rowOf(text)).pixmap(32, 32).toImage().pixel(16, 16));
        };
        QCOMPARE(colour("FromIcon"), QColor(Qt::red));
        QCOMPARE(colour("SameIcon"), QColor(Qt::red));
        QCOMPARE(colour("FromUninstaller"), QColor(Qt::green));
        const QImage fallback = IconCache::defaultIcon().pixmap(32, 32).toImage();
        QCOMPARE(list()->icon(rowOf("MissingIcon")).pixmap(32, 32).toImage(), fallback);
        QCOMPARE(list()->icon(rowOf("NoIcon")).pixmap(32, 32).toImage(), fallback);
        // Each file is read once, over reloads too.
        QCOMPARE(main->iconCache().filesRead(), 2);
        main->refresh();
        QCOMPARE(main->iconCache().filesRead(), 2);
    }

    // An icon file that claims 65,535 images: the list is there at once with
    // the default icon, and reading the file stops after a few images.
    void aHostileIconFileDoesNotHoldTheListUp() {
        QImage blue(16, 16, QImage::Format_ARGB32);
        blue.fill(Qt::blue);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        blue.save(&buffer, "PNG");
        constexpr int count = 65535;
        QByteArray ico;
        QDataStream out(&ico, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out << quint16(0) << quint16(1) << quint16(count);
        const quint32 imageAt = 6 + 16 * count;
        for (int i = 0; i < count; ++i)
            out << quint8(16) << quint8(16) << quint8(0) << quint8(0) << quint16(1) << quint16(32)
                << quint32(png.size()) << imageAt;
        ico += png;
        QVERIFY(WriteFileBytes(folder->file("hostile.ico"), ico));
        addEntries({{"a", "Hostile", "un", {}}});
        set("a", "DisplayIcon", folder->file("hostile.ico"));
        openMain();
        QCOMPARE(list()->count(), 1);
        QTRY_COMPARE(main->iconCache().pending(), 0);
        QCOMPARE(QColor(list()->icon(0).pixmap(16, 16).toImage().pixel(8, 8)), QColor(Qt::blue));
    }

    void aStoreThatCannotBeReadIsSaidSo() {
        TempProgramFolder own;
        auto flaky = std::make_unique<FlakyStore>(own.storePath());
        FlakyStore* store = flaky.get();
        AppContext flakyContext(own.path(), std::move(flaky));
        flakyContext.entries().setValue("a", "DisplayName", "Alpha");
        flakyContext.entries().setValue("a", "UninstallString", "un");
        WindowOpener none;
        FrmMain window(flakyContext, none);
        window.load();
        QCOMPARE(window.statusPanel1()->text(), QString("Installed Programs : 1"));
        store->failReads = true;
        window.ResetList();
        QCOMPARE(window.statusPanel1()->text(), QString("Installed Programs : N/A"));
        QVERIFY(window.findChild<QLabel*>("SB2")->text().startsWith(
            "The list of installed programs could not be read: "));
        store->failReads = false;
        window.ResetList();
        QCOMPARE(window.statusPanel1()->text(), QString("Installed Programs : 1"));
        QVERIFY(window.findChild<QLabel*>("SB2")->text().isEmpty());
    }

    void commandsFollowTheSelection() {
        openMain();
        const auto& a = main->actions();
        QVERIFY(!a.fileReport->isEnabled());
        QVERIFY(!a.tbUninstall->isEnabled());
        QCOMPARE(status(), QString("Installed Programs : 0"));

        addEntries({{"a", "Alpha", "un a", {}}, {"b", "Beta", "un b", {}}});
        main->refresh();
        QVERIFY(a.fileReport->isEnabled());
        QVERIFY(a.tbFind->isEnabled());
        QVERIFY(!a.tbUninstall->isEnabled());
        QVERIFY(!a.fileUninstall->isEnabled());
        clickRow(rowOf("Beta"));
        QVERIFY(a.tbUninstall->isEnabled());
        QVERIFY(a.fileUninstall->isEnabled());
        QVERIFY(a.infoInfo->isEnabled());
        QVERIFY(main->itemClicked());
        // A reload drops the selection.
        main->refresh();
        QVERIFY(!a.tbUninstall->isEnabled());
    }

    // However a row came to be selected, "Uninstall" starts that row's own
    // uninstall command.
    void uninstallStartsTheSelectedEntrysCommand_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"click", "arrow key", "find next", "press here, release there",
                                "right click", "reload, then select"})
            QTest::newRow(how) << QString(how);
    }
    void uninstallStartsTheSelectedEntrysCommand() {
        QFETCH(QString, how);
        addEntries(
            {{"a", "Alpha", "un a", {}}, {"b", "Beta", "un b", {}}, {"c", "Gamma", "un c", {}}});
        openMain(true);
        main->SetView(ListViewKind::Details);
        QTableView* table = list()->detailsView();
        auto centre = [&](const QString& text) {
            return table->visualRect(list()->model()->index(rowOf(text), 0)).center();
        };
        clickRow(rowOf("Alpha"));
        if (how == "click") {
            clickRow(rowOf("Beta"));
        } else if (how == "arrow key") {
            QTest::keyClick(table, Qt::Key_Down);
        } else if (how == "find next") {
            main->toggleFindPanel();
            main->findPanel()->findChild<QLineEdit*>("TxtFind")->setText("gamma");
            main->findPanel()->findChild<QPushButton*>("Cmd_Search")->click();
        } else if (how == "press here, release there") {
            QTest::mousePress(table->viewport(), Qt::LeftButton, {}, centre("Beta"));
            QTest::mouseMove(table->viewport(), centre("Gamma"));
            QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, centre("Gamma"));
        } else if (how == "right click") {
            QTest::mouseClick(table->viewport(), Qt::RightButton, {}, centre("Gamma"));
        } else {
            main->refresh();
            list()->selectRow(rowOf("Beta"));
        }
        const QString selected = main->selectedKey();
        QVERIFY(!selected.isEmpty());
        QVERIFY2(how == "click" || how == "arrow key" || selected != "a", qPrintable(selected));
        QStringList started;
        ModalAnswer answer([this, &started](QWidget* dialog) {
            dialog->findChild<QPushButton*>("Cmd_Yes")->click();
            QTRY_VERIFY(!fakes->processes.started.isEmpty());
            started = fakes->processes.started;
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        main->actions().fileUninstall->trigger();
        QVERIFY2(answer.answered(), qPrintable(answer.failure()));
        QCOMPARE(started, QStringList{get(selected, "UninstallString")});
    }

    void quickLinksFollowTheEntry() {
        addEntries({{"a", "Alpha", "un", {}}});
        set("a", "InstallLocation", "C:\\");
        set("a", "HelpLink", "help@example.com");
        openMain();
        clickRow(0);
        const auto& a = main->actions();
        QVERIFY(a.infoQuickLinks->isEnabled());
        QVERIFY(!a.infoLocation->isEnabled());
        QVERIFY(!a.infoPublisher->isEnabled());
        QVERIFY(a.infoSupport->isEnabled());
        a.infoSupport->trigger();
        QCOMPARE(fakes->shell.opened.last(), QString("mailto:help@example.com"));
        set("a", "HelpLink", "@example.com/help");
        a.popSupport->trigger();
        QCOMPARE(fakes->shell.opened.last(), QString("@example.com/help"));
        // An address with a scheme keeps it, an at sign in it or not.
        set("a", "HelpLink", "https://example.com/@team");
        a.popSupport->trigger();
        QCOMPARE(fakes->shell.opened.last(), QString("https://example.com/@team"));
        // Nothing could open it: the user is told.
        QVERIFY(fakes->messages.calls.isEmpty());
        fakes->shell.result = false;
        a.popSupport->trigger();
        QCOMPARE(fakes->messages.calls.size(), 1);
        QVERIFY(fakes->messages.calls[0].text.contains("https://example.com/@team"));
        fakes->shell.result = true;
        set("a", "InstallLocation", "");
        set("a", "HelpLink", "");
        main->UpdateQuickLinks();
        QVERIFY(!a.infoQuickLinks->isEnabled());
        QVERIFY(!a.editShortcut->isEnabled());
        a.toolsProgramFiles->trigger();
        QCOMPARE(fakes->shell.opened.last(), context->programFilesFolder);
    }

    void optionAndHelpButtonsShowNoToolTip() {
        openMain();
        auto* toolBar = main->findChild<QToolBar*>("ToolBar");
        for (QAction* action : {main->actions().tbOptions, main->actions().tbHelp}) {
            QWidget* button = toolBar->widgetForAction(action);
            QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(button, &tip);
            QVERIFY(!QToolTip::isVisible());
        }
        QCOMPARE(main->actions().tbAdd->toolTip(), QString("Add New Program"));
    }

    void viewsOrderAndModes() {
        addEntries({{"a", "bravo", "u", {}}, {"b", "Alpha", "u", {}}, {"c", "charlie", "u", {}}});
        openMain();
        QCOMPARE(texts(), (QStringList{"Alpha", "bravo", "charlie"}));
        const auto& a = main->actions();
        a.viewDescending->trigger();
        QCOMPARE(texts(), (QStringList{"charlie", "bravo", "Alpha"}));
        QVERIFY(a.viewDescending->isChecked() && !a.viewAscending->isChecked());
        QVERIFY(a.pop2Descending->isChecked());
        QCOMPARE(main->order(), SortOrder::Descending);
        // The "Program Name" header turns the order round.
        a.viewDetails->trigger();
        QCOMPARE(list()->currentView(), static_cast<QAbstractItemView*>(list()->detailsView()));
        QVERIFY(a.viewDetails->isChecked() && a.pop2Details->isChecked() &&
                !a.pop2Large->isChecked());
        QCOMPARE(main->view(), ListViewKind::Details);
        emit list()->nameHeaderClicked();
        QCOMPARE(texts(), (QStringList{"Alpha", "bravo", "charlie"}));
        for (ListViewKind v :
             {ListViewKind::LargeIcons, ListViewKind::SmallIcons, ListViewKind::List}) {
            main->SetView(v);
            QCOMPARE(main->view(), v);
            QCOMPARE(list()->currentView(), static_cast<QAbstractItemView*>(list()->iconView()));
        }
        QCOMPARE(list()->iconView()->viewMode(), QListView::ListMode);

        QVERIFY(!a.editRename->isVisible());
        QVERIFY(!a.tbNewEntry->isVisible());
        QVERIFY(a.viewBasic->isChecked());
        a.viewAdvanced->trigger();
        QCOMPARE(main->mode(), ListMode::Advanced);
        for (QAction* shown : {a.editRename, a.tbNewEntry, a.tbSp2, a.fileExport, a.popEdit,
                               a.pop2AddEntry, a.toolsRegedit})
            QVERIFY(shown->isVisible());
        QVERIFY(a.viewAdvanced->isChecked() && !a.viewBasic->isChecked());
    }

    void settingsAreAppliedAndSavedOnClose() {
        addEntries({{"a", "Alpha", "u", {}}, {"b", "Beta", "u", {}}});
        MainWindowSettings saved;
        saved.mode = ListMode::Advanced;
        saved.view = ListViewKind::Details;
        saved.order = SortOrder::Descending;
        saved.geometryTwips = QRect(1500, 1800, 9000, 6000);
        SaveMainWindowSettings(context->ConfigIniPath, saved);
        SaveFindPanelShown(context->ConfigIniPath, true);
        setOptions([](OptionSettings& o) { o.restorePosition = true; });
        openMain();
        QCOMPARE(main->mode(), ListMode::Advanced);
        QCOMPARE(main->view(), ListViewKind::Details);
        QCOMPARE(texts(), (QStringList{"Beta", "Alpha"}));
        QVERIFY(main->findPanel()->isVisible());
        QCOMPARE(main->size(), QSize(600, 400));
        main->SetView(ListViewKind::SmallIcons);
        main->SetMode(ListMode::Basic);
        main->close();
        QCOMPARE(ReadIni(context->ConfigIniPath, "Main", "Ul", ""), QString("1"));
        QCOMPARE(ReadIni(context->ConfigIniPath, "Main", "Viw", ""), QString("2"));
        QCOMPARE(ReadIni(context->ConfigIniPath, "Main", "Ord", ""), QString("2"));
        QVERIFY(ReadFileBytes(context->ConfigIniPath).contains("Ul= 1\r\n"));
        QCOMPARE(ReadIni(context->ConfigIniPath, "Main", "Fw", ""),
                 QString::number(main->width() * 15));
        QCOMPARE(ReadIni(context->ConfigIniPath, "Main", "Ft", ""),
                 QString::number(main->geometry().y() * 15));
    }

    void renameInPlace() {
        addEntries({{"a", "Alpha", "u", {}}, {"b", "Beta", "u", {}}});
        openMain();
        main->SetMode(ListMode::Advanced);
        const int row = rowOf("Alpha");
        renameTo(row, "Gamma");
        QCOMPARE(get("a", "DisplayName"), QString("Gamma"));
        QCOMPARE(list()->text(row), QString("Gamma"));
        QCOMPARE(list()->key(row), QString("a"));

        // Spaces only: the old text comes back and nothing is written.
        renameTo(row, "   ");
        QCOMPARE(list()->text(row), QString("Gamma"));
        QCOMPARE(get("a", "DisplayName"), QString("Gamma"));

        // A name another program has (any case): the question, answered No
        // with "don't ask again" checked.
        QString label;
        ModalAnswer answer([&label](QWidget* dialog) {
            label = dialog->findChild<QLabel*>("Lb")->text();
            dialog->findChild<QCheckBox*>("Chk")->setChecked(true);
            dialog->findChild<QPushButton*>("Cmd_No")->click();
        });
        renameTo(row, "beta");
        QVERIFY2(answer.answered(), qPrintable(answer.failure()));
        QCOMPARE(answer.title(), QString("Confirm Program Rename"));
        QVERIFY(
            label.startsWith("A program with the name 'beta' is already exists.\r\nyou can name"));
        QCOMPARE(list()->text(row), QString("Gamma"));
        QCOMPARE(get("a", "DisplayName"), QString("Gamma"));
        QCOMPARE(ReadIni(context->ConfigIniPath, "Main", "RenDlg", ""), QString("1"));
        // Now the question is off.
        renameTo(row, "beta");
        QCOMPARE(get("a", "DisplayName"), QString("beta"));
        // And in Basic mode there is no rename at all.
        SaveSkipRenameQuestion(context->ConfigIniPath, false);
        main->SetMode(ListMode::Basic);
        emit list()->renameRequested(row, "Delta");
        QCOMPARE(get("a", "DisplayName"), QString("beta"));
    }

    void renamingToItsOwnNameAsks() {
        addEntries({{"a", "Alpha", "u", {}}});
        openMain();
        main->SetMode(ListMode::Advanced);
        ModalAnswer answer(
            [](QWidget* dialog) { dialog->findChild<QPushButton*>("Cmd_Yes")->click(); });
        renameTo(0, "ALPHA");
        QVERIFY2(answer.answered(), qPrintable(answer.failure()));
        QCOMPARE(get("a", "DisplayName"), QString("ALPHA"));
        QCOMPARE(ReadIni(context->ConfigIniPath, "Main", "RenDlg", ""), QString("0"));
    }

    void rightClickChoosesThePopup() {
        addEntries({{"a", "Alpha", "u", {}}});
        openMain();
        main->SetView(ListViewKind::Details);
        QList<QMenu*> popups;
        connect(main.get(), &FrmMain::popupRequested, this,
                [&popups](QMenu* menu) { popups.append(menu); });
        QTableView* table = list()->detailsView();
        const QPoint onItem = table->visualRect(list()->model()->index(0, 0)).center();
        QTest::mousePress(table->viewport(), Qt::RightButton, {}, onItem);
        QTest::mouseRelease(table->viewport(), Qt::RightButton, {}, onItem);
        QCOMPARE(popups.last(), main->itemPopup());
        QCOMPARE(main->itemPopup()->objectName(), QString("Mnu_Pop"));
        // Empty space opens the list's menu, though the item is still selected.
        const QPoint empty(10, table->viewport()->height() - 5);
        QTest::mousePress(table->viewport(), Qt::RightButton, {}, empty);
        QTest::mouseRelease(table->viewport(), Qt::RightButton, {}, empty);
        QCOMPARE(popups.last(), main->listPopup());
        QCOMPARE(main->listPopup()->objectName(), QString("Mnu_Pop2"));
    }

    void doubleClickAndEnterRunTheChosenAction() {
        addEntries({{"a", "Alpha", "u", {}}});
        openMain();
        main->SetView(ListViewKind::Details);
        QTableView* table = list()->detailsView();
        const QPoint onItem = table->visualRect(list()->model()->index(0, 0)).center();
        auto doubleClick = [&] {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, onItem);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, onItem);
        };
        doubleClick();
        QCOMPARE(opened, QList<AppWindow>{AppWindow::Uninstall});
        setOptions([](OptionSettings& o) { o.doubleClickAction = DoubleClickAction::Edit; });
        QTest::keyClick(table, Qt::Key_Return);
        QTRY_COMPARE(opened.size(), 2);
        QCOMPARE(opened.last(), AppWindow::EditEntry);
        setOptions([](OptionSettings& o) {
            o.doubleClickAction = DoubleClickAction::UninstallInformation;
        });
        doubleClick();
        QCOMPARE(opened.last(), AppWindow::ProgramInfo);
        setOptions([](OptionSettings& o) { o.doubleClickRuns = false; });
        doubleClick();
        QCOMPARE(opened.size(), 3);
        // A choice outside the three does nothing.
        setOptions([](OptionSettings& o) {
            o.doubleClickRuns = true;
            o.doubleClickAction = DoubleClickAction::None;
        });
        WriteIni(context->ConfigIniPath, "Options", "Sw", "5");
        doubleClick();
        QCOMPARE(opened.size(), 3);
    }

    void findPanelStepsThroughMatches() {
        addEntries({{"a", "Apple Writer", "u", "Fruit Corp"},
                    {"b", "Banana Draw", "u", {}},
                    {"c", "Pineapple Paint", "u", "fruit corp"},
                    {"d", "Cherry", "u", "Other"}});
        openMain();
        main->actions().tbFind->trigger();
        FindPanel* panel = main->findPanel();
        QVERIFY(panel->isVisible());
        QCOMPARE(ReadIni(context->ConfigIniPath, "Main", "Fv", ""), QString("1"));
        auto* text = panel->findChild<QLineEdit*>("TxtFind");
        auto* next = panel->findChild<QPushButton*>("Cmd_Search");
        text->setText("   ");
        QVERIFY(!next->isEnabled());
        text->setText("APPLE");
        QVERIFY(next->isEnabled());
        panel->findChild<QCheckBox*>("ChkCol")->click();
        fakes->dialogs.colorAnswers.enqueue(0x0000FF); // red
        emit panel->findChild<Url*>("UrlSelColor")->clicked();
        next->click();
        QCOMPARE(main->selectedText(), QString("Apple Writer"));
        QCOMPARE(list()->itemBackground(rowOf("Apple Writer")), QColor(Qt::red));
        QVERIFY(main->actions().editRemoveColors->isVisible());
        next->click();
        QCOMPARE(main->selectedText(), QString("Pineapple Paint"));
        next->click();
        QCOMPARE(fakes->messages.calls.size(), 1);
        QCOMPARE(fakes->messages.calls[0].text,
                 QString("Searching for \"APPLE\" was complete , Press 'Find Next' if you want to "
                         "repeat the search."));
        QCOMPARE(fakes->messages.calls[0].title, QString("Relvano"));
        QCOMPARE(fakes->messages.calls[0].icon, MsgIcon::Information);
        // Match case: the capitals no longer match.
        panel->findChild<QCheckBox*>("ChkLetters")->click();
        next->click();
        QCOMPARE(fakes->messages.calls.size(), 2);
        // By publisher, skipping entries without one.
        panel->findChild<QCheckBox*>("ChkLetters")->click();
        panel->findChild<QComboBox*>("Param")->setCurrentIndex(1);
        text->setText("fruit");
        next->click();
        QCOMPARE(main->selectedText(), QString("Apple Writer"));
        next->click();
        QCOMPARE(main->selectedText(), QString("Pineapple Paint"));
        main->actions().editRemoveColors->trigger();
        QCOMPARE(list()->itemBackground(rowOf("Apple Writer")), QColor(Qt::white));
        QVERIFY(!main->actions().editRemoveColors->isVisible());
        main->actions().editFind->trigger();
        QVERIFY(!panel->isVisible());
        QCOMPARE(ReadIni(context->ConfigIniPath, "Main", "Fv", ""), QString("0"));
    }

    void deleteAsksBacksUpAndDeletes() {
        addEntries({{"tool", "Foo: Bar/Baz?", "u", {}}, {"other", "Other", "u", {}}});
        set("tool", "Extra", "kept in the backup");
        openMain();
        list()->selectRow(rowOf("Foo: Bar/Baz?"));
        fakes->messages.answers.enqueue(MsgAnswer::No);
        main->deleteSelectedEntry();
        QCOMPARE(fakes->messages.calls.size(), 1);
        const MsgBoxCall& ask = fakes->messages.calls[0];
        QCOMPARE(ask.title, QString("Confirm Program Delete"));
        QCOMPARE(ask.buttons, MsgButtons::YesNo);
        QCOMPARE(ask.icon, MsgIcon::Information);
        QCOMPARE(ask.defaultButton, 2);
        QCOMPARE(
            ask.text.split("\r\n"),
            (QStringList{
                "Program Name : Foo: Bar/Baz?", "",
                "This tool will remove the program from the installed programs list",
                "If you don't uninstall this program you must uninstall it before using this tool",
                "You can restore program from File\\Restore", "",
                "Are you sure you want to delete this program ?"}));
        QCOMPARE(get("tool", "DisplayName"), QString("Foo: Bar/Baz?"));
        QVERIFY(!QFile::exists(folder->file("Fbk")));

        fakes->messages.answers.enqueue(MsgAnswer::Yes);
        main->deleteSelectedEntry();
        const QString backup = folder->file("Fbk/Foo- Bar-Baz-.Reg");
        QVERIFY(QFile::exists(backup));
        QCOMPARE(get("tool", "DisplayName"), QString());
        QCOMPARE(texts(), QStringList{"Other"});
        // The backup brings the entry back whole.
        context->store().ImportFile(backup);
        QCOMPARE(get("tool", "Extra"), QString("kept in the backup"));

        // Without confirmation: at once.
        setOptions([](OptionSettings& o) { o.confirmDelete = false; });
        main->refresh();
        list()->selectRow(rowOf("Other"));
        main->deleteSelectedEntry();
        QCOMPARE(fakes->messages.calls.size(), 2);
        QCOMPARE(get("other", "DisplayName"), QString());
    }

    void twoEntriesOfOneNameBothComeBackFromTheirBackups() {
        addEntries({{"rt-x86", "Runtime", "u", {}}, {"rt-x64", "Runtime", "u", {}}});
        set("rt-x86", "Arch", "x86");
        set("rt-x64", "Arch", "x64");
        setOptions([](OptionSettings& o) { o.confirmDelete = false; });
        openMain();
        for (int i = 0; i < 2; ++i) {
            list()->selectRow(0);
            main->deleteSelectedEntry();
        }
        QCOMPARE(list()->count(), 0);
        QCOMPARE(QDir(folder->file("Fbk")).entryList(QDir::Files),
                 (QStringList{"Runtime (2).Reg", "Runtime.Reg"}));
        // The restore window, opened by the main window's command.
        RegisterBackupWindows(*windows);
        ModalAnswer answer([](QWidget* dialog) {
            auto* restore = qobject_cast<FrmRestore*>(dialog);
            restore->loadList();
            restore->selectAll();
            restore->restoreSelected();
            restore->reject();
        });
        main->actions().fileRestore->trigger();
        QVERIFY2(answer.answered(), qPrintable(answer.failure()));
        QCOMPARE(fakes->messages.calls.last().text,
                 QString("Selected files was sucessfully restored to thr registry."));
        QCOMPARE(texts(), (QStringList{"Runtime", "Runtime"}));
        QCOMPARE(get("rt-x86", "Arch"), QString("x86"));
        QCOMPARE(get("rt-x64", "Arch"), QString("x64"));
    }

    void aFailedBackupDeletesNothing() {
        addEntries({{"tool", "Tool", "u", {}}});
        QVERIFY(WriteFileBytes(folder->file("Fbk"), "a file where the folder should be"));
        setOptions([](OptionSettings& o) { o.confirmDelete = false; });
        openMain();
        list()->selectRow(0);
        main->deleteSelectedEntry();
        QCOMPARE(get("tool", "DisplayName"), QString("Tool"));
        QCOMPARE(list()->count(), 1);
        QCOMPARE(fakes->messages.calls.size(), 1);
        QCOMPARE(fakes->messages.calls[0].title, QString("Relvano"));
        QCOMPARE(fakes->messages.calls[0].icon, MsgIcon::Critical);
    }

    void exportNamesTheFile() {
        addEntries({{"tool", "Tool: One", "u", {}}});
        openMain();
        list()->selectRow(0);
        const struct {
            QString chosen;
            QString written;
        } cases[] = {
            {folder->file("plain"), folder->file("plain.reg")},
            {folder->file("upper.REG"), folder->file("upper.REG")},
            {folder->file("text.txt"), folder->file("text.txt.reg")},
        };
        for (const auto& c : cases) {
            fakes->dialogs.fileAnswers.enqueue({true, c.chosen, 1});
            main->exportSelectedEntry();
            QVERIFY2(QFile::exists(c.written), qPrintable(c.written));
            QVERIFY(ReadFileBytes(c.written).startsWith("\xFF\xFE"));
        }
        const FileDialogRequest& request = fakes->dialogs.fileRequests.last();
        QVERIFY(request.save);
        QCOMPARE(request.title, QString("Export"));
        QCOMPARE(request.fileName, QString("Tool- One"));
        QCOMPARE(request.filters.size(), 1);
        QCOMPARE(request.filters[0].first, QString("Registry Files (*.reg)"));
        // Cancelled: nothing is written.
        const int files = QDir(folder->path()).entryList(QDir::Files).size();
        main->exportSelectedEntry();
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files).size(), files);
    }

    void helpTopicsNeedsTheHelpFile() {
        openMain();
        main->actions().helpTopics->trigger();
        QCOMPARE(fakes->messages.calls.size(), 1);
        QCOMPARE(fakes->messages.calls[0].text,
                 QString("Help file not found, help file may be deleted, renamed or removed from "
                         "its directory."));
        QCOMPARE(fakes->messages.calls[0].title, QString("Error"));
        // Without help.chm, the HTML pages beside the executable.
        QVERIFY(QDir().mkpath(folder->file("help")));
        QVERIFY(WriteFileBytes(folder->file("help/index.html"), "<html></html>"));
        main->actions().helpTopics->trigger();
        QCOMPARE(fakes->shell.opened.last(), folder->file("help/index.html"));
        QCOMPARE(fakes->messages.calls.size(), 1);
        QVERIFY(WriteFileBytes(folder->file("help.chm"), "help"));
        main->actions().tbHelp->trigger();
        QCOMPARE(fakes->shell.opened.last(), folder->file("help.chm"));
    }

    void registryEditorShowsAnExportOfTheUninstallKey() {
        addEntries({{"tool", "Tool", "u", {}}});
        openMain();
        main->SetMode(ListMode::Advanced);
        main->actions().toolsRegedit->trigger();
        QCOMPARE(fakes->shell.opened.size(), 1);
        const QByteArray file = ReadFileBytes(fakes->shell.opened[0]);
        QVERIFY(TextFromUtf16Bytes(file.mid(2))
                    .contains(
                        "[HKEY_LOCAL_"
                        "MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\tool]"));
    }

    // The export goes to the user's runtime folder; when it cannot be
    // written there the user is told and nothing opens.
    void registryEditorTellsWhenTheExportFails() {
        addEntries({{"tool", "Tool", "u", {}}});
        openMain();
        main->SetMode(ListMode::Advanced);
        main->actions().toolsRegedit->trigger();
        QVERIFY(fakes->shell.opened.value(0).startsWith(
            QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)));
        // A file where the folder should be.
        const QString folder = QFileInfo(fakes->shell.opened[0]).absolutePath();
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(WriteFileBytes(folder, "not a folder"));
        main->actions().toolsRegedit->trigger();
        QCOMPARE(fakes->shell.opened.size(), 1);
        QCOMPARE(fakes->messages.calls.size(), 1);
        QCOMPARE(fakes->messages.calls[0].icon, MsgIcon::Critical);
        QFile::remove(folder);
    }

    void trayModeWithoutATrayMinimises() {
        openMain();
        TrayController* tray = main->tray();
        main->actions().viewTray->trigger();
        QVERIFY(tray->trayMode());
        tray->leftClick();
        QVERIFY(tray->trayMode());
        QVERIFY(!main->isMinimized());
        main->actions().trayOpen->trigger();
        QVERIFY(!tray->trayMode());
        QVERIFY(!tray->iconShown());
        QCOMPARE(main->actions().trayOpen->text(), QString("Open Tiv 4.0"));
    }

    void closingUnloadsOtherWindowsFirst() {
        openMain();
        QWidget other;
        other.setWindowTitle("Another window of the program");
        other.show();
        main->close();
        QVERIFY(!other.isVisible());
        QVERIFY(QFile::exists(context->ConfigIniPath));
    }
};

QTEST_MAIN(FrmMainTest)
#include "FrmMainTest.moc"
