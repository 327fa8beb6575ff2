// All programs information over a programs folder of its own: both pages,
// the page kept in Config.Ini, the list's reactions, and the sizes measured
// off the GUI thread (in order, and called off at once when the window closes).
#include "info/FrmAllInfo.h"
#include "controls/ProgBar.h"
#include "controls/Url.h"
#include "core/IniFile.h"
#include "core/Settings.h"
#include "info/FolderSizeJob.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

void WriteFile(const QString& path, qint64 bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
}

// A tree of 200,000 files under folder, in subfolders of 1,000. They are hard
// links to a few empty files: the walk sees (and measures) every name as a
// file of its own, and the tree is made ten times faster than with new files.
bool MakeManyFiles(const QString& folder, int files) {
    QByteArray source;
    for (int i = 0; i < files; ++i) {
        const QString sub = QString("%1/s%2").arg(folder).arg(i / 1000);
        if (i % 1000 == 0 && !QDir().mkpath(sub))
            return false;
        if (i % 50000 == 0) { // a file takes at most 65,000 links
            source = QFile::encodeName(QString("%1/source%2").arg(sub).arg(i));
            const int fd = ::open(source.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (fd < 0)
                return false;
            ::close(fd);
            continue;
        }
        const QByteArray name = QFile::encodeName(QString("%1/f%2").arg(sub).arg(i));
        if (::link(source.constData(), name.constData()) != 0)
            return false;
    }
    return true;
}

} // namespace

class FrmAllInfoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    std::unique_ptr<FakeHost> host;
    QString programs;

    std::unique_ptr<FrmAllInfo> open() {
        auto w = std::make_unique<FrmAllInfo>(*host, programs);
        w->show();
        for (int i = 0; i < 500 && w->currentPage() == 0; ++i)
            QTest::qWait(10);
        return w;
    }
    static QAction* action(FrmAllInfo& w, const char* name) { return w.findChild<QAction*>(name); }
    static QString label(FrmAllInfo& w, const char* name) {
        return w.findChild<QLabel*>(name)->text();
    }
    static QTreeWidget* lv(FrmAllInfo& w) { return w.findChild<QTreeWidget*>("Lv"); }
    static QStringList rows(FrmAllInfo& w) {
        QStringList result;
        for (int i = 0; i < lv(w)->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = lv(w)->topLevelItem(i);
            result.append(item->text(0) + " | " + item->text(1) + " | " +
                          item->data(0, Qt::UserRole).toString());
        }
        return result;
    }
    QString page() { return ReadIni(app->context.ConfigIniPath, "Aa", "St", "<none>"); }

private slots:
    void init() {
        app = std::make_unique<FakeApp>();
        host = std::make_unique<FakeHost>(app->context);
        for (const char* name : {"Alpha", "Beta", "Gamma"}) {
            app->context.entries().setValue(name, "DisplayName", name);
            app->context.entries().setValue(name, "UninstallString", "u");
        }
        host->listEntries();
        programs = app->context.programFilesFolder;
        WriteFile(programs + "/editor/bin/editor", 1024 * 1024);
        WriteFile(programs + "/editor/share/doc", 1024 * 1024);
        WriteFile(programs + "/viewer/viewer", 1536);
        QDir().mkpath(programs + "/empty");
    }
    void cleanup() {
        host.reset();
        app.reset();
    }

    void generalPageCountsTheListAndSizesTheFolder() {
        auto w = open();
        QCOMPARE(w->windowTitle(), QString("Installed Programs Info"));
        QCOMPARE(w->currentPage(), 1);
        QVERIFY(action(*w, "TB_Gen")->isChecked() && !action(*w, "TB_Pf")->isChecked());
        QCOMPARE(label(*w, "Lb1"), QString("Installed Programs : 3"));
        auto* link = w->findChild<Url*>("Url");
        QCOMPARE(link->Caption(), programs);
        // The size is measured off the GUI thread; the other page waits for it.
        if (w->measuring()) {
            QCOMPARE(label(*w, "Lb3"), QString("Programs Folder Size : Please wait ..."));
            QVERIFY(!action(*w, "TB_Pf")->isEnabled());
        }
        QTRY_VERIFY(!w->measuring());
        QCOMPARE(label(*w, "Lb3"), QString("Programs Folder Size : 2 MB"));
        QVERIFY(action(*w, "TB_Pf")->isEnabled());
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(app->fakes.shell.opened, QStringList{programs});
        w->reject();
        QCOMPARE(page(), QString("1"));
    }

    void programFilesPageListsTheSubfolders() {
        auto w = open();
        QTRY_VERIFY(!w->measuring());
        // The progress bar advances once per folder, in folder order.
        QList<int> progress;
        connect(w->findChild<FolderSizeJob*>(), &FolderSizeJob::measured, this,
                [&] { progress.append(w->findChild<ProgBar*>("P")->Value()); });
        action(*w, "TB_Pf")->trigger();
        QCOMPARE(w->currentPage(), 2);
        QVERIFY(action(*w, "TB_Pf")->isChecked() && !action(*w, "TB_Gen")->isChecked());
        QCOMPARE(w->findChild<ProgBar*>("P")->Max(), short(3));
        QVERIFY(w->findChild<ProgBar*>("P")->isVisible() && !lv(*w)->isVisible());
        QCOMPARE(label(*w, "Sb"), QString("Please wait ..."));
        QVERIFY(!action(*w, "TB_Gen")->isEnabled());
        QTRY_VERIFY(!w->measuring());
        QCOMPARE(progress, (QList<int>{1, 2, 3}));
        QCOMPARE(w->findChild<ProgBar*>("P")->Value(), short(0));
        QVERIFY(lv(*w)->isVisible());
        QCOMPARE(label(*w, "Sb"), QString());
        QVERIFY(action(*w, "TB_Gen")->isEnabled());
        QCOMPARE(rows(*w), (QStringList{"editor | 2 MB | " + programs + "/editor",
                                        "empty | 0 Byte | " + programs + "/empty",
                                        "viewer | 1.5 KB | " + programs + "/viewer"}));
        QVERIFY(!lv(*w)->topLevelItem(0)->text(2).isEmpty());

        // A click shows the folder's path, a double click and Enter open it.
        QTreeWidget* list = lv(*w);
        const QRect second = list->visualItemRect(list->topLevelItem(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(label(*w, "Sb"), programs + "/empty");
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(app->fakes.shell.opened, QStringList{programs + "/empty"});
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(label(*w, "Sb"), programs + "/viewer");
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(app->fakes.shell.opened.last(), programs + "/viewer");
        QVERIFY(w->isVisible());

        // The page already shown: nothing happens. Shift+1 goes to the other.
        action(*w, "TB_Pf")->trigger();
        QVERIFY(!w->measuring());
        QCOMPARE(lv(*w)->topLevelItemCount(), 3);
        QTest::keyClick(list, Qt::Key_1, Qt::ShiftModifier);
        QCOMPARE(w->currentPage(), 1);
        QVERIFY(action(*w, "TB_Gen")->isChecked() && !action(*w, "TB_Pf")->isChecked());
        QTRY_VERIFY(!w->measuring());
        QTest::keyClick(w.get(), Qt::Key_2, Qt::ShiftModifier);
        QCOMPARE(w->currentPage(), 2);
        QTRY_VERIFY(!w->measuring());
        QCOMPARE(lv(*w)->topLevelItemCount(), 3);
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(page(), QString("2"));
    }

    void storedPageChoosesTheFirstPage_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("page");
        QTest::newRow("missing") << QString() << 1;
        QTest::newRow("1") << " 1" << 1;
        QTest::newRow("2") << " 2" << 2;
        QTest::newRow("other") << "7" << 2;
    }
    void storedPageChoosesTheFirstPage() {
        QFETCH(QString, stored);
        QFETCH(int, page);
        if (!stored.isNull())
            WriteIni(app->context.ConfigIniPath, "Aa", "St", stored);
        auto w = open();
        QCOMPARE(w->currentPage(), page);
    }

    void closingBeforeAPageWasShownKeepsTheStoredPage() {
        WriteIni(app->context.ConfigIniPath, "Aa", "St", " 1");
        FrmAllInfo w(*host, programs);
        w.reject();
        QCOMPARE(page(), QString("1"));
        DeleteIniKey(app->context.ConfigIniPath, "Aa", "St");
        FrmAllInfo again(*host, programs);
        again.reject();
        QCOMPARE(page(), QString("<none>"));
    }

    void emptyOrMissingProgramsFolder() {
        for (const QString& folder : QStringList{app->folder.file("none"), programs + "/empty"}) {
            SavePageSetting(app->context.ConfigIniPath, PageSetting::AllProgramsInfo, 2);
            FrmAllInfo w(*host, folder);
            w.show();
            QTRY_COMPARE(w.currentPage(), 2);
            QCOMPARE(w.findChild<ProgBar*>("P")->Max(), short(0));
            QTRY_VERIFY(!w.measuring());
            QCOMPARE(lv(w)->topLevelItemCount(), 0);
            w.clickGeneral();
            QTRY_VERIFY(!w.measuring());
            // A folder that cannot be read has no size.
            QCOMPARE(label(w, "Lb3"), folder == programs + "/empty"
                                          ? QString("Programs Folder Size : 0 Byte")
                                          : QString("Programs Folder Size : "));
        }
    }

    void sizesArriveInOrderAndStopAtOnce() {
        const QString big = app->folder.file("big");
        QVERIFY(MakeManyFiles(big + "/tree", 200000));
        WriteFile(big + "/small/file", 100);
        FolderSizeJob job;
        QList<std::pair<int, QString>> results;
        connect(&job, &FolderSizeJob::measured, this, [&](int index, const QString& size) {
            results.append({index, size});
        });
        QSignalSpy finished(&job, &FolderSizeJob::finished);
        job.start({big + "/small", app->folder.file("missing"), programs + "/viewer"});
        QVERIFY(finished.wait());
        QCOMPARE(results,
                 (QList<std::pair<int, QString>>{{0, "100 Byte"}, {1, QString()}, {2, "1.5 KB"}}));

        // A window closed in the middle of walking 200,000 files returns at
        // once; nothing of the walk arrives afterwards.
        SavePageSetting(app->context.ConfigIniPath, PageSetting::AllProgramsInfo, 1);
        auto w = std::make_unique<FrmAllInfo>(*host, big);
        w->show();
        while (w->currentPage() == 0)
            QTest::qWait(1);
        QVERIFY(w->measuring());
        QElapsedTimer timer;
        timer.start();
        w->reject();
        w.reset();
        QVERIFY2(timer.elapsed() < 200, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(page(), QString("1"));
    }
};

QTEST_MAIN(FrmAllInfoTest)
#include "FrmAllInfoTest.moc"
