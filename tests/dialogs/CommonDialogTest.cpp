// cCommonDialog over a scripted dialog service.
#include "dialogs/CommonDialog.h"
#include "controls/ColorValue.h"
#include "dialogs/QtServices.h"
#include "tests/support/Fakes.h"

#include <QtTest>

class CommonDialogTest : public QObject {
    Q_OBJECT
private slots:
    void filtersSplitAtBarsAndColons() {
        const auto pairs =
            cCommonDialog::ParseFilter("Text File (*.txt)|*.txt|Web Page (*.htm)|*.htm");
        QCOMPARE(pairs.size(), 2);
        QCOMPARE(pairs[1].first, QString("Web Page (*.htm)"));
        QCOMPARE(pairs[1].second, QString("*.htm"));
        const auto colon = cCommonDialog::ParseFilter("Files: all|*.*|");
        QCOMPARE(colon.size(), 2);
        QCOMPARE(colon[0], (std::pair<QString, QString>{"Files", " all"}));
        QCOMPARE(colon[1].first, QString("*.*"));
    }

    void aConfirmedDialogReportsTheChoice() {
        FakeDialogService dialogs;
        cCommonDialog dialog(&dialogs);
        dialog.Filter = "Text File (*.txt)|*.txt|Web Page (*.htm)|*.htm";
        dialog.DialogTitle = "Save Report";
        dialog.FileName = "report";
        dialogs.fileAnswers.enqueue({true, "/tmp/out/report.htm", 2});
        dialog.ShowSave();
        QCOMPARE(dialogs.fileRequests[0].filterIndex, 1);
        QCOMPARE(dialogs.fileRequests[0].title, QString("Save Report"));
        QCOMPARE(dialogs.fileRequests[0].fileName, QString("report"));
        QCOMPARE(dialog.FileName, QString("/tmp/out/report.htm"));
        QCOMPARE(dialog.FileTitle, QString("report.htm"));
        QCOMPARE(dialog.FilterIndex, 2);
        QCOMPARE(dialog.Filter, QString("Text File (*.txt)|*.txt|Web Page (*.htm)|*.htm|"));
    }

    // Several files come back as the folder and then the names; the flags
    // the dialog returns replace the ones given.
    void aMultipleChoiceGivesTheFolderThenTheNames() {
        FakeDialogService dialogs;
        cCommonDialog dialog(&dialogs);
        QWidget owner;
        dialog.hwnd = &owner;
        dialog.flags = cCommonDialog::AllowMultiSelect | cCommonDialog::FileMustExist;
        const QString answer = QString("/backup") + QChar(0) + "a.reg" + QChar(0) + "b.reg";
        dialogs.fileAnswers.enqueue({true, answer, 1, 0x80000u | 0x200u | 0x1000u});
        dialog.ShowOpen();
        QCOMPARE(dialogs.fileRequests[0].owner, &owner);
        QCOMPARE(dialog.FileName, answer);
        QCOMPARE(dialog.FileTitle, QString("a.reg"));
        QCOMPARE(dialog.flags, 0x80000u | 0x200u | 0x1000u);
        QCOMPARE(MultipleChoiceText({"/backup/a.reg", "/backup/b.reg"}), answer);
        QCOMPARE(MultipleChoiceText({"/backup/a.reg"}), QString("/backup/a.reg"));
    }

    void aSystemColourIsShownAsItsColour() {
        FakeDialogService dialogs;
        cCommonDialog dialog(&dialogs);
        dialog.Color = SysColor::Highlight;
        dialogs.colorAnswers.enqueue(std::nullopt);
        dialog.ShowColor();
        QCOMPARE(dialog.Color, SysColor::Highlight); // cancelled: unchanged
        QCOMPARE(dialogs.colorRequestsMade.value(0), ColorValue(TranslateColor(SysColor::Highlight)));
    }

    void aCancelledDialogEmptiesTheName() {
        FakeDialogService dialogs;
        cCommonDialog dialog(&dialogs);
        dialog.FileName = "proposed";
        dialog.Filter = "All|*.*";
        dialog.flags = cCommonDialog::OverwritePrompt;
        dialog.ShowSave();
        QCOMPARE(dialog.FileName, QString());
        QCOMPARE(dialog.Filter, QString());
        QCOMPARE(dialog.flags, 0u);
        QCOMPARE(dialog.FilterIndex, 0);
        dialog.ShowOpen();
        QCOMPARE(dialog.FilterIndex, -1);

        dialog.CancelError = true;
        try {
            dialog.ShowOpen();
            QFAIL("no error raised");
        } catch (const CommonDialogError& e) {
            QCOMPARE(e.number, 20001);
            QCOMPARE(e.description, QString("User selected cancel."));
        }
        dialog.Color = 0x123456;
        QVERIFY_THROWS_EXCEPTION(CommonDialogError, dialog.ShowColor());
        QCOMPARE(dialog.Color, 0x123456u);
    }

    void colourAndPrinter() {
        FakeDialogService dialogs;
        cCommonDialog dialog(&dialogs);
        dialogs.colorAnswers.enqueue(0x00FF00u);
        dialog.ShowColor();
        QCOMPARE(dialog.Color, 0x00FF00u);
        dialog.Copies = 1;
        dialogs.printAnswers.enqueue(3);
        QVERIFY(dialog.ShowPrinter());
        QCOMPARE(dialog.Copies, 3);
        QVERIFY(!dialog.ShowPrinter()); // cancelled: Copies stays
        QCOMPARE(dialog.Copies, 3);
    }
};

QTEST_MAIN(CommonDialogTest)
#include "CommonDialogTest.moc"
