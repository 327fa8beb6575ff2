// The report wizard: its pages and transitions, the enabling rules, the
// file name (default extension, browse, the three refusals), writing the
// report in the chosen format, and a report that cannot be written.
#include "reports/FrmReport.h"
#include "reports/ReportWizardLogic.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

class FrmReportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    std::unique_ptr<FakeHost> host;
    QString dir; // an existing folder for report files

    std::unique_ptr<FrmReport> open() {
        auto w = std::make_unique<FrmReport>(*host);
        w->show();
        return w;
    }
    template <typename T = QWidget> static T* child(FrmReport& w, const QString& name) {
        return w.findChild<T*>(name);
    }
    static QPushButton* button(FrmReport& w, const char* name) {
        return child<QPushButton>(w, name);
    }
    static bool shown(FrmReport& w, const char* name) { return child(w, name)->isVisible(); }
    static QString tip(FrmReport& w) { return child<QLabel>(w, "Tip")->text(); }
    static QListWidget* unList(FrmReport& w) { return child<QListWidget>(w, "UnList"); }
    static void check(FrmReport& w, int row, bool on) {
        unList(w)->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    static QLineEdit* rfn(FrmReport& w) { return child<QLineEdit>(w, "Rfn"); }
    // Through the first two pages with one program and "Show Full Report".
    static void toFilePage(FrmReport& w) {
        check(w, 0, true);
        button(w, "Nxt")->click();
        child<QCheckBox>(w, "ChkAll")->click();
        button(w, "Nxt")->click();
    }

private slots:
    void init() {
        app = std::make_unique<FakeApp>();
        for (const char* key : {"a", "b", "c"}) {
            app->context.entries().setValue(key, "DisplayName", QString("Program ") + key);
            app->context.entries().setValue(key, "Publisher", QString("Maker ") + key);
        }
        host = std::make_unique<FakeHost>(app->context);
        host->listEntries();
        dir = app->folder.path();
    }

    void theProgramsPage() {
        auto w = open();
        QCOMPARE(w->windowTitle(), QString("Report"));
        QCOMPARE(w->wizardStep(), 1);
        QCOMPARE(tip(*w), QString("Select programs to include in report"));
        QCOMPARE(unList(*w)->count(), 3);
        QCOMPARE(unList(*w)->item(2)->text(), QString("Program c"));
        QVERIFY(shown(*w, "Pic1") && !shown(*w, "Pic2") && !shown(*w, "Pic3"));
        QVERIFY(!button(*w, "Nxt")->isEnabled() && !button(*w, "Bak")->isEnabled());
        QVERIFY(shown(*w, "Can") && !shown(*w, "Cl") && !shown(*w, "Cr"));
        QAction* sa = child<QAction>(*w, "Mnu_File_SA");
        QAction* da = child<QAction>(*w, "Mnu_File_DA");
        QVERIFY(sa->isEnabled() && !da->isEnabled());

        check(*w, 1, true);
        QVERIFY(button(*w, "Nxt")->isEnabled());
        check(*w, 1, false);
        QVERIFY(!button(*w, "Nxt")->isEnabled());
        for (int i = 0; i < 3; ++i)
            check(*w, i, true);
        QVERIFY(!sa->isEnabled() && da->isEnabled());
        check(*w, 0, false);
        QVERIFY(sa->isEnabled() && !da->isEnabled());
        da->setEnabled(true);
        da->trigger();
        QVERIFY(!button(*w, "Nxt")->isEnabled());
        QVERIFY(sa->isEnabled() && !da->isEnabled());
        sa->trigger();
        QVERIFY(button(*w, "Nxt")->isEnabled());
        QCOMPARE(unList(*w)->item(0)->checkState(), Qt::Checked);
        QVERIFY(!sa->isEnabled() && da->isEnabled());

        // The right button brings up the pop-up menu.
        auto* menu = child<QMenu>(*w, "Mnu_File");
        QTest::mouseClick(unList(*w)->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
    }

    void theItemsPageAndGoingBack() {
        auto w = open();
        check(*w, 0, true);
        button(*w, "Nxt")->click();
        QCOMPARE(w->wizardStep(), 2);
        QCOMPARE(tip(*w), QString("Check the item you want to show in the report"));
        QVERIFY(!shown(*w, "Pic1") && shown(*w, "Pic2"));
        QVERIFY(!button(*w, "Nxt")->isEnabled() && button(*w, "Bak")->isEnabled());
        const QStringList captions{"Registry Name",    "Install Source", "Install Location",
                                   "Uninstall String", "Install Date",   "Publisher",
                                   "Display Version",  "Publisher Url",  "Support Url"};
        for (int k = 0; k < 9; ++k)
            QCOMPARE(child<QCheckBox>(*w, QString("Chk(%1)").arg(k))->text(), captions[k]);
        auto* all = child<QCheckBox>(*w, "ChkAll");
        QCOMPARE(all->text(), QString("Show Full Report"));
        all->click();
        QVERIFY(button(*w, "Nxt")->isEnabled());
        QVERIFY(!child<QCheckBox>(*w, "Chk(4)")->isEnabled());
        all->click();
        QVERIFY(!button(*w, "Nxt")->isEnabled());
        child<QCheckBox>(*w, "Chk(8)")->click();
        QVERIFY(button(*w, "Nxt")->isEnabled());

        button(*w, "Bak")->click();
        QCOMPARE(w->wizardStep(), 1);
        QVERIFY(shown(*w, "Pic1") && !button(*w, "Bak")->isEnabled());
        QVERIFY(button(*w, "Nxt")->isEnabled()); // the program is still chosen
        button(*w, "Nxt")->click();
        QVERIFY(child<QCheckBox>(*w, "Chk(8)")->isChecked());
        button(*w, "Nxt")->click();
        QCOMPARE(w->wizardStep(), 3);
        QCOMPARE(tip(*w), QString("Select report file type , then file name"));
        QVERIFY(!button(*w, "Nxt")->isEnabled());
        rfn(*w)->setText("x");
        QVERIFY(button(*w, "Nxt")->isEnabled());
        button(*w, "Bak")->click();
        QCOMPARE(w->wizardStep(), 2);
        QVERIFY(button(*w, "Nxt")->isEnabled());
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }

    void theDefaultExtension() {
        const struct {
            QString typed;
            QString kept;
        } cases[] = {
            {dir + "/MyReport", dir + "/MyReport.txt"},
            {dir + "/r.HTML", dir + "/r.HTML"},
            {dir + "/r.Htm", dir + "/r.Htm"},
            {dir + "/r.TXT", dir + "/r.TXT"},
            {dir + "/r.doc", dir + "/r.doc.txt"},
            {dir, dir},                               // a folder
            {dir + "/missing/r", dir + "/missing/r"}, // under a missing folder
            {"r", "r"},                               // no folder at all
        };
        for (const auto& c : cases)
            QCOMPARE(WithDefaultReportExtension(c.typed), c.kept);
        // Applied when the focus leaves the box.
        auto w = open();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        toFilePage(*w);
        rfn(*w)->setFocus();
        QTest::keyClicks(rfn(*w), dir + "/MyReport");
        child<QCheckBox>(*w, "ChkOpn")->setFocus();
        QCOMPARE(rfn(*w)->text(), dir + "/MyReport.txt");
    }

    void theThreeRefusals() {
        QVERIFY(QDir().mkpath(dir + "/folder"));
        const QString charsMessage =
            "A filename cannot contain any of the following characters :\r\n\\/:*?\"<>|";
        const struct {
            QString typed;
            QString message; // empty: accepted
            int selected;    // characters selected in the box afterwards
        } cases[] = {
            {dir + "/ok.txt", "", 0},
            {dir + "/what?.txt", charsMessage, 0},
            {dir + "/a:b", charsMessage, 0},
            {dir + "/folder",
             "Please type the report file name after the path\r\nExample 'MyReport.txt' or "
             "'MyReport.htm'",
             0},
            {dir + "/missing/r.txt",
             "This path '" + dir +
                 "/missing' Doesn't exists\r\nPlease click 'browse' to select "
                 "the path and file name.",
             int((dir + "/missing").size())},
            {"r.txt",
             "This path 'r.txt' Doesn't exists\r\nPlease click 'browse' to select the path and "
             "file name.",
             5},
        };
        for (const auto& c : cases) {
            auto w = open();
            toFilePage(*w);
            rfn(*w)->setText(c.typed);
            const qsizetype before = app->fakes.messages.calls.size();
            button(*w, "Nxt")->click();
            if (c.message.isEmpty()) {
                QCOMPARE(app->fakes.messages.calls.size(), before);
                QCOMPARE(w->wizardStep(), 4);
                continue;
            }
            QCOMPARE(w->wizardStep(), 3);
            const MsgBoxCall& told = app->fakes.messages.calls.last();
            QCOMPARE(told.text, c.message);
            QCOMPARE(told.icon, MsgIcon::Exclamation);
            QCOMPARE(told.title, QString("Relvano"));
            QCOMPARE(rfn(*w)->selectedText().size(), c.selected);
            if (c.selected > 0)
                QCOMPARE(rfn(*w)->selectionStart(), 0);
        }
    }

    void browseChoosesTheFormat() {
        auto w = open();
        toFilePage(*w);
        FakeDialogService& dialogs = app->fakes.dialogs;
        dialogs.fileAnswers.enqueue({true, dir + "/report", 2});
        button(*w, "Bro")->click();
        QCOMPARE(dialogs.fileRequests.size(), 1);
        const FileDialogRequest& asked = dialogs.fileRequests[0];
        QVERIFY(asked.save);
        QCOMPARE(asked.title, QString("Report File"));
        QCOMPARE(asked.flags, 2u);
        QCOMPARE(asked.filterIndex, 1);
        QCOMPARE(asked.fileName, QString());
        QCOMPARE(asked.filters,
                 (QList<std::pair<QString, QString>>{{"Text File (*.txt)", "*.txt"},
                                                     {"Web Page (*.htm)", "*.htm"}}));
        QCOMPARE(rfn(*w)->text(), dir + "/report.htm");
        QCOMPARE(w->filterIndex(), 2);

        // A cancelled browse keeps the name in the box and the file type.
        button(*w, "Bro")->click();
        QCOMPARE(dialogs.fileRequests[1].fileName, dir + "/report");
        QCOMPARE(dialogs.fileRequests[1].filterIndex, 2);
        QCOMPARE(rfn(*w)->text(), dir + "/report.htm");
        QCOMPARE(w->filterIndex(), 2);

        dialogs.fileAnswers.enqueue({true, dir + "/report.html", 2});
        button(*w, "Bro")->click();
        QCOMPARE(rfn(*w)->text(), dir + "/report.html");
        QCOMPARE(dialogs.fileRequests[2].fileName, dir + "/report");
        dialogs.fileAnswers.enqueue({true, dir + "/list.htm", 1});
        button(*w, "Bro")->click();
        QCOMPARE(rfn(*w)->text(), dir + "/list.htm.txt");
        QCOMPARE(w->filterIndex(), 1);
    }

    void finishWritesTheReportAndOpensIt() {
        auto w = open();
        check(*w, 0, true);
        check(*w, 2, true);
        button(*w, "Nxt")->click();
        child<QCheckBox>(*w, "Chk(5)")->click();
        button(*w, "Nxt")->click();
        // A web-page name typed by hand is still written as text.
        rfn(*w)->setText(dir + "/typed.htm");
        child<QCheckBox>(*w, "ChkOpn")->click();
        button(*w, "Nxt")->click();
        QCOMPARE(w->wizardStep(), 4);
        QCOMPARE(tip(*w), QString("Press ' Create report ' to start"));
        QCOMPARE(child<QLabel>(*w, "L_Create")->text(),
                 QString("Total Installd Programs : 3\r\nSelected Programs : 2\r\n\r\n\r\nPress ' "
                         "Finish ' to To Create Report"));
        QVERIFY(!shown(*w, "Report_Options") && shown(*w, "L_Create"));
        QVERIFY(!shown(*w, "Nxt") && shown(*w, "Cr"));

        // Back to the file page and forward again: the name as typed.
        button(*w, "Bak")->click();
        QCOMPARE(w->wizardStep(), 3);
        QVERIFY(shown(*w, "Report_Options") && !shown(*w, "L_Create"));
        QVERIFY(shown(*w, "Nxt") && !shown(*w, "Cr"));
        QCOMPARE(rfn(*w)->text(), dir + "/typed.htm");
        button(*w, "Nxt")->click();

        button(*w, "Cr")->click();
        const QByteArray report = ReadFileBytes(dir + "/typed.htm");
        QVERIFY(
            report.startsWith(QByteArray(QByteArray(27, ' ') + "Installed Programs Report\r\n")));
        QVERIFY(report.contains("\r\n1 - PROGRAM A\r\n\r\nPublisher : Maker a\r\n"));
        QVERIFY(report.contains("\r\n3 - PROGRAM C\r\n\r\nPublisher : Maker c\r\n"));
        QCOMPARE(app->fakes.shell.opened, QStringList{dir + "/typed.htm"});
        QCOMPARE(child<QLabel>(*w, "L_Create")->text(),
                 QString("Report Creation Complete Suceesfully"));
        QCOMPARE(tip(*w), QString());
        QVERIFY(!shown(*w, "Can") && !shown(*w, "Cr") && !shown(*w, "Bak"));
        QVERIFY(shown(*w, "Cl") && button(*w, "Cl")->isEnabled());
        QVERIFY(shown(*w, "Pic3") && !shown(*w, "Report_Options"));
        button(*w, "Cl")->click();
        QVERIFY(!w->isVisible());
    }

    void aWebPageReportThroughBrowse() {
        auto w = open();
        toFilePage(*w);
        app->fakes.dialogs.fileAnswers.enqueue({true, dir + "/page", 2});
        button(*w, "Bro")->click();
        button(*w, "Nxt")->click();
        button(*w, "Cr")->click();
        const QByteArray page = ReadFileBytes(dir + "/page.htm");
        QVERIFY(page.startsWith("<head>\r\n<meta charset=\"utf-8\">\r\n"));
        QVERIFY(page.contains("<b>1 - PROGRAM A</b>"));
        QVERIFY(page.endsWith("</body>\r\n</html>\r\n"));
        QVERIFY(app->fakes.shell.opened.isEmpty());
    }

    void aReportThatCannotBeWrittenReturnsToTheFilePage() {
        auto w = open();
        toFilePage(*w);
        rfn(*w)->setText("/dev/full");
        button(*w, "Nxt")->click();
        button(*w, "Cr")->click();
        const MsgBoxCall& told = app->fakes.messages.calls.last();
        QCOMPARE(told.icon, MsgIcon::Critical);
        QVERIFY2(told.text.contains("cannot write /dev/full: No space left on device"),
                 qPrintable(told.text));
        QCOMPARE(w->wizardStep(), 3);
        QCOMPARE(rfn(*w)->text(), QString("/dev/full"));
        QVERIFY(shown(*w, "Pic3") && shown(*w, "Report_Options") && !shown(*w, "L_Create"));
        QVERIFY(shown(*w, "Nxt") && button(*w, "Nxt")->isEnabled() && !shown(*w, "Cr"));
        QVERIFY(shown(*w, "Bak") && button(*w, "Bak")->isEnabled());
        QVERIFY(shown(*w, "Can") && button(*w, "Can")->isEnabled() && !shown(*w, "Cl"));
        // Another name, and the report is written.
        rfn(*w)->setText(dir + "/second.txt");
        button(*w, "Nxt")->click();
        button(*w, "Cr")->click();
        QVERIFY(QFile::exists(dir + "/second.txt"));
        QCOMPARE(child<QLabel>(*w, "L_Create")->text(),
                 QString("Report Creation Complete Suceesfully"));
    }
};

QTEST_MAIN(FrmReportTest)
#include "FrmReportTest.moc"
