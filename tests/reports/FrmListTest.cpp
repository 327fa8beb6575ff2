// The programs list: its text line for line, the enabling by the text,
// editing, saving, copying and printing, and their failures told.
#include "reports/FrmList.h"
#include "core/FileFolder.h"
#include "dialogs/QtServices.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QtTest>

class FrmListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    std::unique_ptr<FakeHost> host;

    std::unique_ptr<FrmList> open() {
        auto w = std::make_unique<FrmList>(*host);
        w->show();
        auto* txt = w->findChild<QPlainTextEdit*>("Txt");
        if (!QTest::qWaitFor([txt] { return txt->isVisible(); }))
            qWarning("the list was not built");
        return w;
    }
    static QPlainTextEdit* txt(FrmList& w) { return w.findChild<QPlainTextEdit*>("Txt"); }
    static QAction* action(FrmList& w, const char* name) { return w.findChild<QAction*>(name); }
    static QString sb1(FrmList& w) { return w.findChild<QLabel*>("SB1")->text(); }
    static QList<bool> enabled(FrmList& w) {
        QList<bool> states;
        for (const char* name :
             {"Mnu_File_Save", "Mnu_File_Print", "Mnu_Edit_Copy", "TB_Save", "TB_Print", "TB_Copy"})
            states.append(action(w, name)->isEnabled());
        return states;
    }

private slots:
    void init() {
        app = std::make_unique<FakeApp>();
        host = std::make_unique<FakeHost>(app->context);
        host->programs = {{"k2", "Zeta Tool"}, {"k1", "alpha Editor"}};
    }

    void theListText() {
        const QDateTime at(QDate(2024, 3, 5), QTime(14, 7, 9));
        const QStringList head{"Installed Programs List ", "======================= ", "",
                               "Computer Name : pc", "User Name : me"};
        const QStringList foot{
            "", "", "Installed Programs List",
            "Created In : " + QLocale().toString(at.date(), QLocale::ShortFormat) + " " +
                QLocale().toString(at.time(), QLocale::LongFormat),
            "Created by : Relvano"};
        const QStringList two = head +
                                QStringList{"Installed Programs Number : 2",
                                            "",
                                            "Programs List",
                                            "----------------------",
                                            "1 - Zeta Tool",
                                            "2 - alpha Editor"} +
                                foot;
        QCOMPARE(ProgramsListText("pc", "me", host->programs, at).split("\r\n"), two);
        const QStringList none = head +
                                 QStringList{"Installed Programs Number : 0", "", "Programs List",
                                             "----------------------"} +
                                 foot;
        QCOMPARE(ProgramsListText("pc", "me", {}, at).split("\r\n"), none);
        QVERIFY(!ProgramsListText("pc", "me", {}, at).endsWith("\r\n"));
    }

    void opensWithTheListReadOnly() {
        auto w = std::make_unique<FrmList>(*host);
        w->show();
        QCOMPARE(w->windowTitle(), QString("Programs List"));
        QCOMPARE(w->findChild<QLabel*>("Tip")->text(), QString("Loading List , Please Wait ..."));
        QVERIFY(w->findChild<QLabel*>("Tip")->isVisible() && !txt(*w)->isVisible());
        QTRY_VERIFY(txt(*w)->isVisible());
        QVERIFY(!w->findChild<QLabel*>("Tip")->isVisible());
        QVERIFY(txt(*w)->isReadOnly());
        const QStringList lines = w->text().split("\r\n");
        QCOMPARE(lines.size(), 16);
        QCOMPARE(lines[3], "Computer Name : " + ComputerName());
        QCOMPARE(lines[4], "User Name : " + UserName());
        QCOMPARE(lines.mid(9, 2), (QStringList{"1 - Zeta Tool", "2 - alpha Editor"}));
        QCOMPARE(enabled(*w), QList<bool>(6, true));
        const struct {
            const char* name;
            QString caption;
            QKeySequence key;
        } items[] = {
            {"Mnu_File_Save", "Save", QKeySequence("Ctrl+S")},
            {"Mnu_File_Print", "Print", QKeySequence("Ctrl+P")},
            {"Mnu_File_Exit", "Exit     Esc", {}},
            {"Mnu_Edit_Copy", "Copy", QKeySequence("Ctrl+C")},
            {"Mnu_Edit_Edit", "Edit", QKeySequence("Ctrl+E")},
            {"TB_Save", " Save ", {}},
            {"TB_Copy", " Copy ", {}},
            {"TB_Print", " Print ", {}},
            {"TB_Edit", " Edit ", {}},
        };
        for (const auto& item : items) {
            QCOMPARE(action(*w, item.name)->text(), item.caption);
            QCOMPARE(action(*w, item.name)->shortcut(), item.key);
        }
        QCOMPARE(w->findChild<QMenu*>("Mnu_File")->title(), QString("&File"));
        QCOMPARE(w->findChild<QMenu*>("Mnu_Edit")->title(), QString("&Edit"));
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }

    void editingDecidesWhatCanBeDone() {
        auto w = open();
        action(*w, "TB_Edit")->trigger();
        QVERIFY(!txt(*w)->isReadOnly());
        QVERIFY(action(*w, "TB_Edit")->isChecked() && action(*w, "Mnu_Edit_Edit")->isChecked());
        txt(*w)->clear();
        QCOMPARE(enabled(*w), QList<bool>(6, false));
        QTest::keyClicks(txt(*w), " ");
        QCOMPARE(enabled(*w), QList<bool>(6, false));
        QTest::keyClicks(txt(*w), "x");
        QCOMPARE(enabled(*w), QList<bool>(6, true));
        QVERIFY(action(*w, "Mnu_Edit_Edit")->isEnabled());
        action(*w, "Mnu_Edit_Edit")->trigger();
        QVERIFY(txt(*w)->isReadOnly());
        QVERIFY(!action(*w, "TB_Edit")->isChecked() && !action(*w, "Mnu_Edit_Edit")->isChecked());
        QCOMPARE(w->text(), QString(" x"));
    }

    void saving() {
        auto w = open();
        FakeDialogService& dialogs = app->fakes.dialogs;
        action(*w, "TB_Save")->trigger(); // cancelled: nothing written
        QCOMPARE(dialogs.fileRequests.size(), 1);
        QCOMPARE(dialogs.fileRequests[0].title, QString("Save As"));
        QCOMPARE(dialogs.fileRequests[0].flags, 0u);
        QCOMPARE(dialogs.fileRequests[0].filters,
                 (QList<std::pair<QString, QString>>{{"Text File (*.txt)", "*.txt"}}));
        const QString folder = app->folder.path();
        QVERIFY(WriteFileBytes(folder + "/list.txt", "an older list, replaced without asking"));
        dialogs.fileAnswers.enqueue({true, folder + "/list", 1});
        action(*w, "Mnu_File_Save")->trigger();
        QCOMPARE(ReadFileBytes(folder + "/list.txt"), (w->text() + "\r\n").toUtf8());
        dialogs.fileAnswers.enqueue({true, folder + "/LIST.TXT", 1});
        action(*w, "Mnu_File_Save")->trigger();
        QVERIFY(QFile::exists(folder + "/LIST.TXT"));
        QVERIFY(app->fakes.messages.calls.isEmpty());

        // A file that cannot be written is told, with its name and the reason.
        dialogs.fileAnswers.enqueue({true, folder + "/missing/list", 1});
        action(*w, "Mnu_File_Save")->trigger();
        QCOMPARE(app->fakes.messages.calls.size(), 1);
        const MsgBoxCall& told = app->fakes.messages.calls[0];
        QCOMPARE(told.icon, MsgIcon::Critical);
        QCOMPARE(told.title, QString("Relvano"));
        QVERIFY2(told.text.contains("cannot write " + folder + "/missing/list.txt: "),
                 qPrintable(told.text));
        QVERIFY(w->isVisible() && w->text().startsWith("Installed Programs List "));
    }

    void copyingShowsAMessageForTwoSeconds() {
        auto w = open();
        action(*w, "Mnu_Edit_Copy")->trigger();
        QCOMPARE(app->fakes.clipboard.text, txt(*w)->toPlainText());
        QCOMPARE(sb1(*w), QString("Text was copied to clipboard"));
        QTest::qWait(1500);
        QCOMPARE(sb1(*w), QString("Text was copied to clipboard"));
        QTRY_COMPARE_WITH_TIMEOUT(sb1(*w), QString(), 2000);
    }

    void printingCopiesInOneJob() {
        auto w = open();
        action(*w, "TB_Print")->trigger(); // cancelled: nothing printed
        QVERIFY(app->fakes.printer.jobs.isEmpty());
        app->fakes.dialogs.printAnswers.enqueue(3);
        action(*w, "Mnu_File_Print")->trigger();
        QCOMPARE(app->fakes.printer.jobs.size(), 1);
        QCOMPARE(app->fakes.printer.jobs[0].copies, 1);
        QCOMPARE(app->fakes.printer.jobs[0].text, QString(w->text() + "\r\n").repeated(3));

        app->fakes.printer.result = false;
        app->fakes.dialogs.printAnswers.enqueue(1);
        action(*w, "Mnu_File_Print")->trigger();
        QCOMPARE(app->fakes.messages.calls.size(), 1);
        QCOMPARE(app->fakes.messages.calls[0].icon, MsgIcon::Critical);
        QVERIFY(app->fakes.messages.calls[0].text.contains("could not be printed"));
    }

    void theCopiesReachAPdfPrinter() {
        TempProgramFolder folder;
        QtPrintService printer(folder.file("list.pdf"));
        app->context.setServices({.printer = &printer});
        auto w = open();
        app->fakes.dialogs.printAnswers.enqueue(3);
        action(*w, "Mnu_File_Print")->trigger();
        QProcess pdf;
        pdf.start("pdftotext", {folder.file("list.pdf"), "-"});
        QVERIFY(pdf.waitForFinished());
        const QString printed = QString::fromUtf8(pdf.readAllStandardOutput());
        QCOMPARE(printed.count("2 - alpha Editor"), 3);
        QCOMPARE(printed.count("Created by : Relvano"), 3);
        // One page: the copies follow one another without a page break.
        QCOMPARE(printed.count('\f'), 1);
    }
};

QTEST_MAIN(FrmListTest)
#include "FrmListTest.moc"
