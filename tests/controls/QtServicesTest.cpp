// The real services where they can be checked without a person: printing to
// a PDF file and the clipboard.
#include "dialogs/QtServices.h"
#include "tests/support/TestEnv.h"

#include <QProcess>
#include <QtTest>

class QtServicesTest : public QObject {
    Q_OBJECT
private slots:
    void printsTextToAPdfFile() {
        TempProgramFolder folder;
        const QString pdf = folder.file("out.pdf");
        QtPrintService printer(pdf);
        QVERIFY(printer.PrintText("Report", "Installed Programs Report\nLine two", 1));
        QVERIFY(ReadFileBytes(pdf).startsWith("%PDF"));
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        QVERIFY(text.waitForFinished());
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(printed.contains("Installed Programs Report"), qPrintable(printed));
        QVERIFY(printed.contains("Line two"));
    }

    void clipboardKeepsText() {
        QtClipboardService clipboard;
        clipboard.SetText("copied list");
        QCOMPARE(clipboard.Text(), QString("copied list"));
    }
};

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
