// The uninstall dialog with real uninstaller processes: scripts that delete
// their own entry with relvano-reg, that exit at once and delete it later,
// that leave it, and a command that does not exist.
#include "lifecycle/FrmUn.h"
#include "core/HistoryLog.h"
#include "core/IniFile.h"
#include "tests/support/Fakes.h"
#include "tests/support/FlakyStore.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class FrmUnTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeApp> app;
    TempProgramFolder* folder = nullptr;
    AppContext* context = nullptr;
    FakeServices* fakes = nullptr;
    SystemProcessService processes;
    int reloads = 0;

    const QString key = "Test App";

    QString value() { return context->entries().value(key, "UninstallString"); }
    // An uninstaller script; body runs with $REG set to relvano-reg on the test store
    // and $KEY to the entry's full key.
    QString script(const QString& body) {
        return WriteScript(
            folder->file("uninstall.sh"),
            QString("REG='%1 --store %2'\nKEY='%3'\n%4")
                .arg(RelvanoRegPath(), folder->storePath(), UninstallEntries::fullPath(key), body));
    }
    std::unique_ptr<FrmUn> open(const QString& uninstallString) {
        if (!uninstallString.isNull())
            context->entries().setValue(key, "UninstallString", uninstallString);
        context->entries().setValue(key, "DisplayName", "Test: App");
        auto dialog = std::make_unique<FrmUn>(*context, key, "Test: App", [this] { ++reloads; });
        dialog->show();
        return dialog;
    }
    static QString tip(FrmUn& d) { return d.findChild<QLabel*>("Tip")->text(); }
    static QPushButton* button(FrmUn& d, const char* name) {
        return d.findChild<QPushButton*>(name);
    }
    static bool shown(FrmUn& d, const char* name) {
        return d.findChild<QWidget*>(name)->isVisible();
    }
    QString record(const char* field) {
        return context->history().RecordField(HistoryLog::File::Uninstall, 1, field, "<none>");
    }

private slots:
    void init() {
        app = std::make_unique<FakeApp>();
        folder = &app->folder;
        context = &app->context;
        fakes = &app->fakes;
        context->setServices({.processes = &processes});
        reloads = 0;
    }

    void anUninstallerThatDeletesItsEntry() {
        auto d = open("\"" + script("sleep 0.4\n$REG delete \"$KEY\"") + "\" --quiet");
        QCOMPARE(d->windowTitle(), QString("Confirm Uninstall"));
        QVERIFY(!(d->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(shown(*d, "Cmd_Yes") && shown(*d, "Label1"));
        QVERIFY(!shown(*d, "Pic"));
        button(*d, "Cmd_Yes")->click();
        QVERIFY(shown(*d, "Pic"));
        QVERIFY(!shown(*d, "Cmd_Yes") && !shown(*d, "Cmd_No"));
        QTRY_COMPARE(tip(*d),
                     QString("Initializing Success , Waiting for uninstaller to compelete\r\n"
                             "Press 'Continue' when the program uninstaller complete."));
        QCOMPARE(d->windowTitle(), QString("Uninstalling Program"));
        QVERIFY(shown(*d, "Cmd_Cont"));
        QTRY_VERIFY_WITH_TIMEOUT(tip(*d) == "Uninstall complete successfully...", 10000);
        QVERIFY(d->completed());
        QCOMPARE(d->windowTitle(), QString("Relvano"));
        QVERIFY(shown(*d, "Cmd_Close") && !shown(*d, "Cmd_Cont") && !shown(*d, "Del"));
        button(*d, "Cmd_Close")->click();
        QCOMPARE(reloads, 1);
        QCOMPARE(record("St"), QString("Program Uninstallation complete successfully"));
        QCOMPARE(record("ProgName"), QString("Test: App"));
        QCOMPARE(record("Rm"), QString("<none>"));
        QVERIFY(!d->isVisible());
    }

    void anUninstallerThatHandsOverAndDeletesLater() {
        auto d = open(script("( sleep 3; $REG delete \"$KEY\" ) &\nexit 0"));
        button(*d, "Cmd_Yes")->click();
        QTRY_VERIFY_WITH_TIMEOUT(d->uninstallerFinished(), 10000);
        button(*d, "Cmd_Cont")->click();
        QCOMPARE(tip(*d),
                 QString("Uninstallation not complete\r\nProgram name was not removed from "
                         "the list \r\nClick 'Clean Program' to remove it."));
        QVERIFY(shown(*d, "Del"));
        QCOMPARE(button(*d, "Cmd_Close")->text(), QString("Cancel"));
        QVERIFY(!d->completed());
        QTRY_VERIFY_WITH_TIMEOUT(tip(*d) == "Uninstall complete successfully...", 10000);
        QVERIFY(d->completed());
        QVERIFY(shown(*d, "Del"));
        button(*d, "Cmd_Close")->click();
        QCOMPARE(reloads, 1);
        QCOMPARE(record("St"), QString("Program Uninstallation complete successfully"));
    }

    void anUninstallerThatLeavesItsEntryIsCleanedAway() {
        auto d = open(script("sleep 2.5\nexit 0"));
        button(*d, "Cmd_Yes")->click();
        QTRY_VERIFY(d->processId() != 0);
        button(*d, "Cmd_Cont")->click();
        QCOMPARE(tip(*d),
                 QString("Program Uninstaller is already opened\r\nUninstallation not complete."));
        QVERIFY(shown(*d, "Cmd_Close") && shown(*d, "Cmd_Cont"));
        QTRY_VERIFY_WITH_TIMEOUT(d->uninstallerFinished(), 10000);
        QVERIFY(d->elapsedSeconds() >= 1);
        button(*d, "Cmd_Cont")->click();
        QVERIFY(tip(*d).startsWith("Uninstallation not complete"));
        button(*d, "Del")->click();
        QVERIFY(QFile::exists(folder->file("Fbk/Test- App.Reg")));
        QCOMPARE(value(), QString());
        QCOMPARE(reloads, 1);
        QCOMPARE(record("Rm"), QString("The program was removed from the list by Relvano"));
        QCOMPARE(record("St"), QString("Program Uninstallation not complete"));
        QVERIFY(record("UnTime").endsWith(" Second"));
    }

    void cleaningTwoEntriesOfOneNameKeepsBothBackups() {
        for (const char* other : {"Test App", "Test App 2"}) {
            context->entries().setValue(other, "DisplayName", "Test: App");
            context->entries().setValue(other, "UninstallString", folder->file("missing") + " /S");
            FrmUn d(*context, other, "Test: App", {});
            d.show();
            button(d, "Cmd_Yes")->click();
            QTRY_VERIFY(shown(d, "Del"));
            button(d, "Del")->click();
            QVERIFY(!context->entries().exists(other));
        }
        const QString first = folder->file("Fbk/Test- App.Reg");
        const QString second = folder->file("Fbk/Test- App (2).Reg");
        QVERIFY(context->store().ImportFile(first).imported);
        QVERIFY(context->store().ImportFile(second).imported);
        QVERIFY(context->entries().exists("Test App"));
        QVERIFY(context->entries().exists("Test App 2"));
    }

    void aMissingUninstallerCannotBeFound() {
        auto d = open(folder->file("no/such/folder/uninstall") + " /S");
        button(*d, "Cmd_Yes")->click();
        QTRY_COMPARE(tip(*d), QString("Can,t find uninstall string"));
        QVERIFY(!shown(*d, "Cmd_Yes") && !shown(*d, "Pn") && !shown(*d, "Label1"));
        QVERIFY(shown(*d, "Del") && shown(*d, "Cmd_Cont"));
        QCOMPARE(button(*d, "Cmd_Close")->text(), QString("Cancel"));
        button(*d, "Cmd_Close")->click();
        QCOMPARE(reloads, 0);
        QCOMPARE(record("St"), QString("Program Uninstallation not complete"));
        QCOMPARE(record("UnTime"), QString("<none>"));
    }

    void anEntryWithoutCommandShowsItBeforeTheAnswer() {
        auto d = open("   ");
        QTRY_COMPARE(tip(*d), QString("Can,t find uninstall string"));
        QVERIFY(shown(*d, "Del") && shown(*d, "Cmd_Close") && !shown(*d, "Cmd_Yes"));
        QCOMPARE(button(*d, "Cmd_Close")->text(), QString("Close"));
        QCOMPARE(d->windowTitle(), QString("Relvano"));
    }

    void noAndEscapeLeaveNoRecord() {
        auto d = open("/bin/true");
        button(*d, "Cmd_No")->click();
        QVERIFY(!d->isVisible());
        auto e = open("/bin/true");
        QTest::keyClick(e.get(), Qt::Key_Escape);
        QVERIFY(!e->isVisible());
        QVERIFY(!QFile::exists(context->UnlogIniPath));
        QCOMPARE(reloads, 0);
    }

    // The entry is gone before "Clean Program": nothing to back up or
    // delete; the run is recorded as removed and the dialog closes.
    void cleaningAnEntryThatIsAlreadyGone() {
        auto d = open(script("exit 0"));
        button(*d, "Cmd_Yes")->click();
        QTRY_VERIFY_WITH_TIMEOUT(d->uninstallerFinished(), 10000);
        button(*d, "Cmd_Cont")->click();
        QVERIFY(shown(*d, "Del"));
        context->entries().remove(key); // removed behind the dialog's back
        button(*d, "Del")->click();
        QVERIFY(!d->isVisible());
        QVERIFY(fakes->messages.calls.isEmpty());
        QVERIFY(!QFile::exists(folder->file("Fbk/Test- App.Reg")));
        QCOMPARE(record("Rm"), QString("The program was removed from the list by Relvano"));
        QCOMPARE(reloads, 1);
    }

    // A command that exists but cannot be started (no execute bit) ends as
    // a missing one does, with its reason, and "Continue" checks at once.
    void aCommandThatCannotStartOffersTheCleanUp() {
        const QString path = script("exit 0");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        auto d = open(path);
        button(*d, "Cmd_Yes")->click();
        QTRY_VERIFY(tip(*d).startsWith("Can,t start the uninstall command\r\n"));
        QVERIFY(shown(*d, "Del"));
        QCOMPARE(button(*d, "Cmd_Close")->text(), QString("Cancel"));
        button(*d, "Cmd_Cont")->click();
        QVERIFY(tip(*d).startsWith("Uninstallation not complete"));
    }

    void aCleanWhoseBackupFailsKeepsTheEntry() {
        QVERIFY(WriteFileBytes(folder->file("Fbk"), "a file where the folder should be"));
        auto d = open("   ");
        QTRY_VERIFY(shown(*d, "Del"));
        button(*d, "Del")->click();
        QCOMPARE(value(), QString("   "));
        QCOMPARE(fakes->messages.calls.size(), 1);
        QCOMPARE(fakes->messages.calls[0].icon, MsgIcon::Critical);
        QVERIFY(!QFile::exists(context->UnlogIniPath));
        QVERIFY(d->isVisible());
        QVERIFY(button(*d, "Cmd_Close")->isEnabled());
    }
};

// The store cannot be read for a while: the dialog neither reports the
// program gone nor records anything, and goes on watching.
class FrmUnUnreadableStoreTest : public QObject {
    Q_OBJECT
private slots:
    void aFailedReadIsNotAnEntryGone() {
        TempProgramFolder folder;
        auto flaky = std::make_unique<FlakyStore>(folder.storePath());
        FlakyStore* store = flaky.get();
        AppContext context(folder.path(), std::move(flaky));
        FakeServices fakes;
        context.setServices(fakes.all());
        fakes.processes.running.insert(4242);
        context.entries().setValue("tool", "DisplayName", "Tool");
        context.entries().setValue("tool", "UninstallString", "/opt/tool/uninstall");
        FrmUn d(context, "tool", "Tool", {});
        d.show();
        d.findChild<QPushButton*>("Cmd_Yes")->click();
        QTRY_COMPARE(fakes.processes.started, QStringList{"/opt/tool/uninstall"});
        store->failReads = true;
        QTest::qWait(300); // several 50 ms watches
        QVERIFY(!d.completed());
        QVERIFY(d.findChild<QLabel*>("Tip")->text().startsWith("Initializing Success"));
        fakes.processes.running.clear(); // the uninstaller ends
        QTRY_VERIFY(d.uninstallerFinished());
        d.findChild<QPushButton*>("Cmd_Cont")->click();
        QVERIFY(d.findChild<QLabel*>("Tip")->text().startsWith(
            "The list of installed programs cannot be read"));
        QVERIFY(!d.completed());
        store->failReads = false;
        d.findChild<QPushButton*>("Cmd_Cont")->click();
        QVERIFY(d.findChild<QLabel*>("Tip")->text().startsWith("Uninstallation not complete"));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FrmUnTest first;
    FrmUnUnreadableStoreTest second;
    return QTest::qExec(&first, argc, argv) | QTest::qExec(&second, argc, argv);
}
#include "FrmUnTest.moc"
