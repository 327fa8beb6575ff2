// Program information: the ten rows of entries with no values, every value
// and a real install folder; the "..." button per row; what it opens; the
// selector; the size measured off the GUI thread.
#include "info/FrmInfo.h"
#include "info/ProgramInfo.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

#include <QComboBox>
#include <QDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

void WriteFile(const QString& path, qint64 bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
}

} // namespace

class FrmInfoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    std::unique_ptr<FakeHost> host;

    void set(const QString& key, const QString& name, const QString& value) {
        app->context.entries().setValue(key, name, value);
    }
    // Every value of an entry; location and help as given.
    void fullEntry(const QString& key, const QString& name, const QString& location,
                   const QString& help) {
        set(key, "DisplayName", name);
        set(key, "InstallSource", "/media/cd/setup");
        set(key, "InstallLocation", location);
        set(key, "UninstallString", "/opt/x/uninstall --quiet");
        set(key, "InstallDate", "20240117");
        set(key, "Publisher", "Example Works");
        set(key, "DisplayVersion", "2.4.1");
        set(key, "URLInfoAbout", "https://example.invalid/x");
        set(key, "HelpLink", help);
    }
    std::unique_ptr<FrmInfo> open(const QString& key) {
        host->listEntries();
        host->select(key);
        auto w = std::make_unique<FrmInfo>(*host);
        w->show();
        return w;
    }
    static QTreeWidget* lv(FrmInfo& w) { return w.findChild<QTreeWidget*>("Lv"); }
    static QToolButton* btn(FrmInfo& w) { return w.findChild<QToolButton*>("Btn"); }
    static QStringList rows(FrmInfo& w) {
        QStringList result;
        for (int i = 0; i < lv(w)->topLevelItemCount(); ++i)
            result.append(lv(w)->topLevelItem(i)->text(0) + " = " +
                          lv(w)->topLevelItem(i)->text(1));
        return result;
    }
    // Clicks the row (counted from 1) as the user does.
    static void clickRow(FrmInfo& w, int row) {
        QTreeWidget* list = lv(w);
        const QRect rect = list->visualItemRect(list->topLevelItem(row - 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, rect.center().y()));
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

    void entryWithoutValuesShowsTheKeyAndNA() {
        set("bare", "DisplayName", "Bare Program");
        auto w = open("bare");
        QCOMPARE(w->windowTitle(), QString("Information : Bare Program"));
        QCOMPARE(rows(*w),
                 (QStringList{"Registry Name = bare", "Program Size = N/A", "Install Source = N/A",
                              "Install Location = N/A", "Uninstall String = N/A",
                              "Install Date = N/A", "Publisher = N/A", "Version = N/A",
                              "Publisher Url = N/A", "Support Url = N/A"}));
        QVERIFY(!w->measuring());
        for (int row = 1; row <= 10; ++row) {
            clickRow(*w, row);
            QVERIFY2(!btn(*w)->isVisible(), qPrintable(QString::number(row)));
        }
    }

    void everyValueInOrderAndTheFolderSize() {
        const QString location = app->folder.file("Program");
        WriteFile(location + "/bin/tool", 1536);
        WriteFile(location + "/share/data/a.dat", 512);
        fullEntry("full", "Full Program", location, "help@example.invalid");
        auto w = open("full");
        // The size comes once the folder was walked; until then the row waits.
        QCOMPARE(lv(*w)->topLevelItem(1)->text(1), QString("Please wait ..."));
        QTRY_VERIFY(!w->measuring());
        QCOMPARE(rows(*w),
                 (QStringList{"Registry Name = full", "Program Size = 2 KB",
                              "Install Source = /media/cd/setup", "Install Location = " + location,
                              "Uninstall String = /opt/x/uninstall --quiet",
                              "Install Date = 20240117", "Publisher = Example Works",
                              "Version = 2.4.1", "Publisher Url = https://example.invalid/x",
                              "Support Url = help@example.invalid"}));
        // The button offers itself on the source, the location and the two
        // addresses, over the right end of the row.
        for (int row = 1; row <= 10; ++row) {
            clickRow(*w, row);
            const bool offered = row == 3 || row == 4 || row == 9 || row == 10;
            QCOMPARE(btn(*w)->isVisible(), offered);
            if (!offered)
                continue;
            const QRect rect = lv(*w)->visualItemRect(lv(*w)->topLevelItem(row - 1));
            QCOMPARE(btn(*w)->geometry().top(), rect.top());
            QVERIFY(btn(*w)->geometry().right() < lv(*w)->viewport()->width());
            QVERIFY(btn(*w)->geometry().right() > lv(*w)->viewport()->width() - 10);
        }
        // Keys move the selection too: up from row 10 to row 9 keeps it, to 8 hides it.
        QTest::keyClick(lv(*w), Qt::Key_Up);
        QVERIFY(btn(*w)->isVisible());
        QTest::keyClick(lv(*w), Qt::Key_Up);
        QVERIFY(!btn(*w)->isVisible());
    }

    void theButtonOpensFoldersWebAndMailAddresses_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("help");
        QTest::addColumn<QString>("opened");
        QTest::newRow("folder") << 4 << "x"
                                << "/opt/prog";
        QTest::newRow("web address") << 9 << "x"
                                     << "https://example.invalid/x";
        QTest::newRow("mail address") << 10 << "me@example.invalid"
                                      << "mailto:me@example.invalid";
        QTest::newRow("@ third") << 10 << "ab@c"
                                 << "mailto:ab@c";
        QTest::newRow("@ first is a path") << 10 << "@support"
                                           << "@support";
    }
    void theButtonOpensFoldersWebAndMailAddresses() {
        QFETCH(int, row);
        QFETCH(QString, help);
        QFETCH(QString, opened);
        fullEntry("p", "Program", "/opt/prog", help);
        auto w = open("p");
        clickRow(*w, row);
        QVERIFY(btn(*w)->isVisible());
        QTest::mouseClick(btn(*w), Qt::LeftButton);
        QCOMPARE(app->fakes.shell.opened, QStringList{opened});
        // Enter in the list does the same.
        QTest::keyClick(lv(*w), Qt::Key_Return);
        QCOMPARE(app->fakes.shell.opened, (QStringList{opened, opened}));
    }

    void shortValuesOfferNothing() {
        fullEntry("p", "Program", "/opt/prog", "ab");
        set("p", "URLInfoAbout", "N/A");
        auto w = open("p");
        for (int row : {9, 10}) {
            clickRow(*w, row);
            QVERIFY(!btn(*w)->isVisible());
            QTest::keyClick(lv(*w), Qt::Key_Return); // nothing to open
        }
        QVERIFY(app->fakes.shell.opened.isEmpty());
        QVERIFY(RowOpens(4, "abc") && !RowOpens(4, "ab") && !RowOpens(7, "Example Works"));
    }

    void theSelectorSwitchesProgram() {
        const QString big = app->folder.file("Big");
        for (int i = 0; i < 2000; ++i)
            WriteFile(QString("%1/d%2/f%3").arg(big).arg(i % 20).arg(i), 10);
        fullEntry("a", "Alpha", big, "https://a.invalid/help");
        fullEntry("b", "Beta", "", "https://b.invalid/help");
        set("b", "Publisher", "");
        auto w = open("a");
        auto* lst = w->findChild<QComboBox*>("Lst");
        QCOMPARE(lst->count(), 2);
        QCOMPARE(lst->currentText(), QString("Alpha"));
        clickRow(*w, 10);
        QVERIFY(btn(*w)->isVisible());
        // Choosing Beta: its caption, its values, no button; Alpha's walk is
        // called off, and its size never lands on Beta's row.
        lst->setFocus();
        QTest::keyClick(lst, Qt::Key_Down);
        QCOMPARE(lst->currentText(), QString("Beta"));
        QCOMPARE(w->windowTitle(), QString("Information : Beta"));
        QVERIFY(!btn(*w)->isVisible());
        QVERIFY(!w->measuring());
        QCOMPARE(rows(*w).first(), QString("Registry Name = b"));
        QCOMPARE(rows(*w)[1], QString("Program Size = N/A"));
        QCOMPARE(rows(*w)[6], QString("Publisher = N/A"));
        QTest::qWait(100);
        QCOMPARE(rows(*w)[1], QString("Program Size = N/A"));
    }

    void escCloses() {
        set("bare", "DisplayName", "Bare");
        auto w = open("bare");
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(FrmInfoTest)
#include "FrmInfoTest.moc"
