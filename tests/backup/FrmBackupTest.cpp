// The backup dialog: its three states, the rows of the main list backed up
// in list order under the names the store holds, and its failures told.
#include "backup/FrmBackup.h"
#include "core/RegFileKey.h"
#include "core/RegistryTypes.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class FrmBackupTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    std::unique_ptr<FakeHost> host;

    std::unique_ptr<FrmBackup> open() {
        auto d = std::make_unique<FrmBackup>(*host);
        d->show();
        return d;
    }
    static QString lb(FrmBackup& d) { return d.findChild<QLabel*>("Lb")->text(); }
    static QPushButton* button(FrmBackup& d, const char* name) {
        return d.findChild<QPushButton*>(name);
    }
    static bool shown(FrmBackup& d, const char* name) {
        return d.findChild<QWidget*>(name)->isVisible();
    }
    QStringList backupFiles() {
        return QDir(app->context.BackupFolder).entryList(QDir::Files, QDir::Name);
    }
    void set(const QString& key, const QString& name, const QString& value) {
        app->context.entries().setValue(key, name, value);
    }

private slots:
    void init() {
        app = std::make_unique<FakeApp>();
        host = std::make_unique<FakeHost>(app->context);
    }

    void backsUpTheListedRowsInItsThreeStates() {
        set("z-tool", "DisplayName", "Tool: One");
        set("rt-1", "DisplayName", "Runtime");
        set("rt-2", "DisplayName", "Runtime");
        set("unnamed", "Publisher", "Nobody");
        // The list order, not the store's; the files take the store's name.
        host->programs = {{"z-tool", "Tool: One (as listed)"},
                          {"unnamed", "Unnamed"},
                          {"rt-1", "Runtime"},
                          {"rt-2", "Runtime"}};
        auto d = open();
        QCOMPARE(d->windowTitle(), QString("Backup"));
        QCOMPARE(d->findChild<QLabel*>("Tip")->text(), QString("Press Backup to start."));
        QVERIFY(shown(*d, "Pic") && shown(*d, "Cmd_Backup"));
        QCOMPARE(button(*d, "Cmd_Backup")->text(), QString("Backup"));
        QCOMPARE(button(*d, "Cmd_Cancel")->text(), QString("Cancel"));
        QVERIFY(!QFile::exists(app->context.BackupFolder));

        QStringList texts;
        connect(d.get(), &FrmBackup::rowDone, this, [&](qsizetype row, qsizetype rows) {
            QCOMPARE(rows, 4);
            QVERIFY(!shown(*d, "Pic") && !shown(*d, "Cmd_Backup") && shown(*d, "Pro"));
            QVERIFY(!button(*d, "Cmd_Cancel")->isEnabled());
            QVERIFY(d->busy());
            texts.append(lb(*d));
            QCOMPARE(row, texts.size());
        });
        button(*d, "Cmd_Backup")->click();
        QCOMPARE(texts,
                 (QStringList{"Creating Backup 0 % Complete", "Creating Backup 25 % Complete",
                              "Creating Backup 50 % Complete", "Creating Backup 75 % Complete"}));
        // In list order (the first "Runtime" keeps the plain name); the row
        // without a DisplayName writes nothing.
        QCOMPARE(backupFiles(), (QStringList{"Runtime (2).Reg", "Runtime.Reg", "Tool- One.Reg"}));
        QVERIFY(RegFileHoldsKey(app->context.BackupFolder + "/Runtime.Reg",
                                UninstallEntries::fullPath("rt-1")));
        QCOMPARE(lb(*d), QString("Backup Creation Complete."));
        QVERIFY(!shown(*d, "Pro"));
        QCOMPARE(button(*d, "Cmd_Cancel")->text(), QString("Close"));
        QVERIFY(button(*d, "Cmd_Cancel")->isEnabled());
        QVERIFY(button(*d, "Cmd_Cancel")->hasFocus() || !d->isActiveWindow());
        QVERIFY(app->fakes.messages.calls.isEmpty());
        button(*d, "Cmd_Cancel")->click();
        QVERIFY(!d->isVisible());

        // Again: each entry replaces its own file; no entry takes another's.
        const QByteArray first = ReadFileBytes(app->context.BackupFolder + "/Runtime.Reg");
        set("rt-2", "Extra", "changed");
        auto again = open();
        button(*again, "Cmd_Backup")->click();
        QCOMPARE(backupFiles(), (QStringList{"Runtime (2).Reg", "Runtime.Reg", "Tool- One.Reg"}));
        QCOMPARE(ReadFileBytes(app->context.BackupFolder + "/Runtime.Reg"), first);
        const QByteArray second = ReadFileBytes(app->context.BackupFolder + "/Runtime (2).Reg");
        QVERIFY(TextFromUtf16Bytes(second.mid(2)).contains("\"Extra\"=\"changed\""));
    }

    void anEmptyListCompletesAtOnce() {
        auto d = open();
        button(*d, "Cmd_Backup")->click();
        QCOMPARE(lb(*d), QString("Backup Creation Complete."));
        QVERIFY(QFileInfo(app->context.BackupFolder).isDir());
        QVERIFY(backupFiles().isEmpty());
        QTest::keyClick(d.get(), Qt::Key_Escape);
        QVERIFY(!d->isVisible());
    }

    void failuresAreToldNotReportedAsSuccess() {
        set("long", "DisplayName", QString(300, 'x'));
        set("fine", "DisplayName", "Fine");
        host->listEntries();
        {
            // A name longer than a file name may be.
            auto d = open();
            button(*d, "Cmd_Backup")->click();
            QCOMPARE(backupFiles(), QStringList{"Fine.Reg"});
            QCOMPARE(lb(*d), QString("Backup finished, 1 of the programs could not be backed up."));
            const MsgBoxCall& told = app->fakes.messages.calls.last();
            QCOMPARE(told.icon, MsgIcon::Exclamation);
            QVERIFY(told.text.split("\r\n").contains(QString(300, 'x')));
            QCOMPARE(button(*d, "Cmd_Cancel")->text(), QString("Close"));
        }
        // A file where the backup folder should be.
        QVERIFY(QDir(app->context.BackupFolder).removeRecursively());
        QVERIFY(WriteFileBytes(app->context.BackupFolder, "a file"));
        auto d = open();
        button(*d, "Cmd_Backup")->click();
        QCOMPARE(lb(*d), QString("No backup was created."));
        QCOMPARE(app->fakes.messages.calls.last().icon, MsgIcon::Critical);
        QVERIFY(app->fakes.messages.calls.last().text.contains("could not be created"));
        QVERIFY(button(*d, "Cmd_Cancel")->isEnabled());
    }
};

QTEST_MAIN(FrmBackupTest)
#include "FrmBackupTest.moc"
