// The restore window: the list of backup files, the enabling of its
// commands, restoring (every value type back byte for byte, files that are
// not taken whole named), and deleting backup files.
#include "backup/FrmRestore.h"
#include "backup/BackupLogic.h"
#include "core/RegistryTypes.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString Uninstall =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

QByteArray Utf16Reg(const QString& body) {
    return QByteArray("\xFF\xFE", 2) +
           Utf16Bytes("Windows Registry Editor Version 5.00\r\n\r\n" + body, false);
}

} // namespace

class FrmRestoreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    std::unique_ptr<FakeHost> host;
    QString fbk;

    std::unique_ptr<FrmRestore> open() {
        auto w = std::make_unique<FrmRestore>(*host);
        w->show();
        // The list is filled once the window is up.
        if (!QTest::qWaitFor([&] { return !sb1(*w).isEmpty(); }))
            qWarning("the restore window did not fill its list");
        return w;
    }
    static QTreeWidget* lv(FrmRestore& w) { return w.findChild<QTreeWidget*>("Lv"); }
    static QString sb1(FrmRestore& w) { return w.findChild<QLabel*>("SB1")->text(); }
    static QAction* action(FrmRestore& w, const char* name) { return w.findChild<QAction*>(name); }
    static QStringList rows(FrmRestore& w) {
        QStringList names;
        for (int i = 0; i < lv(w)->topLevelItemCount(); ++i)
            names.append(lv(w)->topLevelItem(i)->text(0));
        return names;
    }
    static void selectRows(FrmRestore& w, const QList<int>& selected) {
        lv(w)->clearSelection();
        for (int row : selected)
            lv(w)->topLevelItem(row)->setSelected(true);
    }
    // The five commands that need a selection, then Select All and Deselect All.
    static QList<bool> enabled(FrmRestore& w) {
        QList<bool> states;
        for (const char* name : {"Mnu_File_Restore", "TB_ResFile", "Mnu_File_Delete", "TB_Delete",
                                 "Mnu_Edit_Invert", "Mnu_Edit_SelectAll", "Mnu_Edit_DeselectAll"})
            states.append(action(w, name)->isEnabled());
        return states;
    }
    QString exportUninstall() {
        const QString file = app->folder.file("uninstall.export");
        QFile::remove(file);
        app->context.store().ExportKey(Uninstall.chopped(1), file);
        return QString::fromLatin1(ReadFileBytes(file).toHex());
    }
    void writeBackup(const QString& name, const QByteArray& bytes) {
        QVERIFY(QDir().mkpath(fbk));
        QVERIFY(WriteFileBytes(QDir(fbk).filePath(name), bytes));
    }

private slots:
    void init() {
        app = std::make_unique<FakeApp>();
        host = std::make_unique<FakeHost>(app->context);
        fbk = app->context.BackupFolder;
    }

    void listsTheBackupFilesAndEnablesTheCommands() {
        {
            // No backup folder: an empty list, and nothing but closing to do.
            auto w = open();
            QCOMPARE(sb1(*w), QString("backup Files  : 0"));
            QTRY_COMPARE(enabled(*w), QList<bool>(7, false));
        }
        for (const char* name : {"b.reg", "A.REG", "c.Reg"})
            writeBackup(name, "REGEDIT4\r\n");
        writeBackup("notes.txt", "not a backup");
        QVERIFY(QDir().mkpath(QDir(fbk).filePath("folder.reg")));
        auto w = open();
        QCOMPARE(w->windowTitle(), QString("Restore"));
        QCOMPARE(rows(*w), (QStringList{"A.REG", "b.reg", "c.Reg"}));
        QCOMPARE(sb1(*w), QString("backup Files  : 3"));
        QVERIFY(!lv(*w)->topLevelItem(0)->text(1).isEmpty());
        QCOMPARE(lv(*w)->headerItem()->text(0), QString("Programs"));
        QCOMPARE(lv(*w)->headerItem()->text(1), QString("Creation Date"));
        // Captions and keys of the menus and the toolbar.
        const struct {
            const char* name;
            QString caption;
            QKeySequence key;
        } items[] = {
            {"Mnu_File_Restore", "Restore", QKeySequence("Ctrl+R")},
            {"Mnu_File_Delete", "Delete", QKeySequence(Qt::Key_Delete)},
            {"Mnu_File_Exit", "Exit     Esc", {}},
            {"Mnu_Edit_SelectAll", "Select All", QKeySequence("Ctrl+A")},
            {"Mnu_Edit_DeselectAll", "Deselect All", QKeySequence("Ctrl+D")},
            {"Mnu_Edit_Invert", "Invert Selection", {}},
            {"TB_ResFile", " Restore ", {}},
            {"TB_Delete", " Delete ", {}},
        };
        for (const auto& item : items) {
            QCOMPARE(action(*w, item.name)->text(), item.caption);
            QCOMPARE(action(*w, item.name)->shortcut(), item.key);
        }
        QCOMPARE(w->findChild<QMenu*>("Mnu_File")->title(), QString("&File"));
        QCOMPARE(w->findChild<QMenu*>("Mnu_Edit")->title(), QString("&Edit"));

        const QList<bool> none{false, false, false, false, false, true, false};
        const QList<bool> some{true, true, true, true, true, true, false};
        const QList<bool> all{true, true, true, true, true, false, true};
        QTRY_COMPARE(enabled(*w), none);
        selectRows(*w, {1});
        QTRY_COMPARE(enabled(*w), some);
        QTest::keyClick(lv(*w), Qt::Key_A, Qt::ControlModifier);
        QTRY_COMPARE(enabled(*w), all);
        QCOMPARE(lv(*w)->selectedItems().size(), 3);
        action(*w, "Mnu_Edit_DeselectAll")->trigger();
        QTRY_COMPARE(enabled(*w), none);
        selectRows(*w, {0, 2});
        QTRY_VERIFY(action(*w, "Mnu_Edit_Invert")->isEnabled());
        action(*w, "Mnu_Edit_Invert")->trigger();
        QTRY_COMPARE(enabled(*w), some);
        QCOMPARE(lv(*w)->selectedItems().size(), 1);
        QCOMPARE(lv(*w)->selectedItems()[0]->text(0), QString("b.reg"));
        action(*w, "Mnu_Edit_SelectAll")->trigger();
        QTRY_COMPARE(enabled(*w), all);

        // Closing without a restore leaves the main list alone.
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(host->reloads, 0);
    }

    void restoresEveryValueTypeByteForByte() {
        const QString body = "[" + Uninstall +
                             "quotes]\r\n"
                             "\"DisplayName\"=\"Quote \\\"Tool\\\" C:\\\\Tools\\\\\"\r\n"
                             "@=\"the default value\"\r\n"
                             "\"Empty\"=\"\"\r\n\r\n"
                             "[" +
                             Uninstall +
                             "types]\r\n"
                             "\"DisplayName\"=\"Types\"\r\n"
                             "\"Path\"=hex(2):25,00,50,00,41,00,54,00,48,00,25,00,00,00\r\n"
                             "\"Blob\"=hex:00,01,fe,ff\r\n"
                             "\"Count\"=dword:0000002a\r\n"
                             "\"Lines\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                             "\"Big\"=hex(b):01,00,00,00,00,00,00,80\r\n\r\n"
                             "[" +
                             Uninstall +
                             "types\\Sub]\r\n"
                             "\"Inner\"=\"x\"\r\n\r\n"
                             "[" +
                             Uninstall +
                             "three]\r\n\"DisplayName\"=\"Three\"\r\n\r\n"
                             "[" +
                             Uninstall +
                             "four]\r\n\"DisplayName\"=\"Four\"\r\n\r\n"
                             "[" +
                             Uninstall + "five]\r\n\"DisplayName\"=\"Five\"\r\n\r\n";
        const QString source = app->folder.file("source.reg");
        QVERIFY(WriteFileBytes(source, Utf16Reg(body)));
        const ImportReport setUp = app->context.store().ImportFile(source);
        QVERIFY(setUp.imported && setUp.issues.isEmpty());
        const QString before = exportUninstall();
        UninstallEntries& entries = app->context.entries();
        for (const QString& key : entries.keys())
            QCOMPARE(entries.backupAndRemove(key, entries.value(key, "DisplayName")),
                     UninstallEntries::RemoveOutcome::Removed);
        QVERIFY(entries.keys().isEmpty());

        auto w = open();
        QCOMPARE(rows(*w).size(), 5);
        w->selectAll();
        // More than three files: the progress panel stands in for the list,
        // and the window takes no commands while it works.
        QStringList steps;
        connect(w.get(), &FrmRestore::restoringFile, this, [&] {
            QVERIFY(w->findChild<QWidget*>("Pic")->isVisible());
            QVERIFY(!lv(*w)->isVisible());
            QVERIFY(w->busy());
            QVERIFY(!w->findChild<QWidget*>("ToolBar")->isEnabled());
            steps.append(w->findChild<QLabel*>("Lb")->text() + " " +
                         w->findChild<QLabel*>("Lb2")->text());
        });
        QTRY_VERIFY(action(*w, "TB_ResFile")->isEnabled());
        action(*w, "TB_ResFile")->trigger();
        QCOMPARE(steps.size(), 5);
        QCOMPARE(steps[1], QString("Resotring file ( 2/5 ) ") + rows(*w)[1]);
        QVERIFY(!w->findChild<QWidget*>("Pic")->isVisible());
        QVERIFY(lv(*w)->isVisible());
        QCOMPARE(app->fakes.messages.calls.size(), 1);
        const MsgBoxCall& told = app->fakes.messages.calls[0];
        QCOMPARE(told.text, QString("Selected files was sucessfully restored to thr registry."));
        QCOMPARE(told.icon, MsgIcon::Information);
        QCOMPARE(told.title, QString("Relvano"));
        QCOMPARE(exportUninstall(), before);

        // Closing after a restore reloads the main list.
        w->findChild<QAction*>("Mnu_File_Exit")->trigger();
        QCOMPARE(host->reloads, 1);
    }

    void filesNotTakenWholeAreNamed() {
        writeBackup("Good.Reg",
                    Utf16Reg("[" + Uninstall + "good]\r\n\"DisplayName\"=\"Good\"\r\n"));
        writeBackup("Half.Reg", ("REGEDIT4\r\n\r\n[" + Uninstall +
                                 "half]\r\n\"DisplayName\"=\"Half\"\r\n\"Bad\"=dword:xyz\r\n"
                                 "\"After\"=\"kept\"\r\n")
                                    .toUtf8());
        writeBackup("Notes.reg", "just some notes");
        auto w = open();
        QCOMPARE(rows(*w), (QStringList{"Good.Reg", "Half.Reg", "Notes.reg"}));

        // One file: no progress panel, the singular message.
        bool panel = false;
        connect(w.get(), &FrmRestore::restoringFile, this,
                [&] { panel = panel || w->findChild<QWidget*>("Pic")->isVisible(); });
        selectRows(*w, {0});
        w->restoreSelected();
        QVERIFY(!panel);
        QCOMPARE(app->fakes.messages.calls.last().text,
                 QString("Selected file was sucessfully restored to thr registry."));

        // The broken line and the file that is no registry file are named;
        // everything else of them is still restored.
        selectRows(*w, {1, 2});
        w->restoreSelected();
        const MsgBoxCall& told = app->fakes.messages.calls.last();
        QCOMPARE(told.icon, MsgIcon::Exclamation);
        const QStringList lines = told.text.split("\r\n");
        QCOMPARE(lines[0], QString("Not everything could be restored to the registry:"));
        QCOMPARE(lines[2], QString("Half.Reg : 1 line could not be taken"));
        QVERIFY2(lines[3].startsWith("    line 5: "), qPrintable(lines[3]));
        QVERIFY2(lines[4].startsWith("Notes.reg : not a registry file"), qPrintable(lines[4]));
        QCOMPARE(lines.last(), QString("Everything else was restored to the registry."));
        UninstallEntries& entries = app->context.entries();
        QCOMPARE(entries.value("good", "DisplayName"), QString("Good"));
        QCOMPARE(entries.value("half", "After"), QString("kept"));

        // Nothing at all restored: no claim that anything was.
        selectRows(*w, {2});
        w->restoreSelected();
        QCOMPARE(app->fakes.messages.calls.last().text.split("\r\n")[0],
                 QString("The selected file could not be restored:"));
        QVERIFY(!app->fakes.messages.calls.last().text.contains("Everything else"));
        w->reject();
        QCOMPARE(host->reloads, 1);
    }

    void deleteCountsTheFilesActuallyDeleted() {
        for (const char* name : {"a.reg", "b.reg", "c.reg", "d.reg"})
            writeBackup(name, "REGEDIT4\r\n");
        auto w = open();
        selectRows(*w, {0, 2});
        QTRY_VERIFY(action(*w, "TB_Delete")->isEnabled());
        app->fakes.messages.answers.enqueue(MsgAnswer::No);
        action(*w, "TB_Delete")->trigger();
        const MsgBoxCall& ask = app->fakes.messages.calls.last();
        QCOMPARE(ask.text, QString("Are you sure you want to delete selected file/files from the "
                                   "restore folder"));
        QCOMPARE(ask.buttons, MsgButtons::YesNo);
        QCOMPARE(ask.icon, MsgIcon::Information);
        QCOMPARE(rows(*w).size(), 4);

        QTRY_VERIFY(action(*w, "Mnu_File_Delete")->isEnabled());
        action(*w, "Mnu_File_Delete")->trigger();
        QCOMPARE(app->fakes.messages.calls.size(), 3); // asked twice, told once
        QCOMPARE(app->fakes.messages.calls.last().text, QString("2 Files deleted"));
        QCOMPARE(app->fakes.messages.calls.last().icon, MsgIcon::Information);
        QCOMPARE(rows(*w), (QStringList{"b.reg", "d.reg"}));
        QCOMPARE(sb1(*w), QString("backup Files  : 2"));

        // A file that went away in the meantime is not counted, and is named.
        selectRows(*w, {0, 1});
        QVERIFY(QFile::remove(QDir(fbk).filePath("d.reg")));
        w->deleteSelected();
        const MsgBoxCall& told = app->fakes.messages.calls.last();
        QCOMPARE(told.icon, MsgIcon::Exclamation);
        const QStringList lines = told.text.split("\r\n");
        QCOMPARE(lines.mid(0, 3),
                 (QStringList{"1 File deleted", "", "This file could not be deleted:"}));
        QVERIFY2(lines[3].startsWith("d.reg : "), qPrintable(lines[3]));
        QCOMPARE(sb1(*w), QString("backup Files  : 0"));
    }

    void messagesForManyProblemsStayShort() {
        QList<RestoreProblem> problems;
        for (int i = 0; i < 12; ++i)
            problems.append(
                {QString("f%1.reg").arg(i), QString(), {{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}}});
        const QStringList lines = RestoredMessage(20, problems).text.split("\r\n");
        QCOMPARE(lines.count("    ..."), 10);
        QVERIFY(lines.contains("and 2 more files"));
        QCOMPARE(lines.size(), 2 + 10 * 5 + 1 + 2);
    }
};

QTEST_MAIN(FrmRestoreTest)
#include "FrmRestoreTest.moc"
