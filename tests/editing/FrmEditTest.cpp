// The entry editor over a real store: which values it lists, that a save
// writes only the added and changed values with their types kept, switching
// program, deleting, the duplicate refusals, closing, the grid setting, and
// writes the store refuses.
#include "editing/FrmEdit.h"
#include "core/IniFile.h"
#include "editing/EntryValuesModel.h"
#include "editing/FrmEditValue.h"
#include "tests/editing/EditingFixture.h"
#include "tests/support/ModalAnswer.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {
const QString Tool = "Tool";
const QString Other = "Other";

QAction* Action(QWidget& w, const char* name) {
    return w.findChild<QAction*>(name);
}

// 1 when the toolbar button and the menu item are both enabled, 0 when both
// are disabled, -1 when they differ.
int Enabled(QWidget& w, const char* tb, const char* menu) {
    const bool a = Action(w, tb)->isEnabled();
    const bool b = Action(w, menu)->isEnabled();
    return a == b ? int(a) : -1;
}

QStringList Names(const EntryValuesModel& m) {
    QStringList names;
    for (int r = 0; r < m.count(); ++r)
        names.append(m.row(r).name);
    return names;
}

void Type(QWidget* dialog, const char* box, const QString& text) {
    dialog->findChild<QLineEdit*>(box)->setText(text);
}

QPushButton* Button(QWidget* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(name);
}

} // namespace

class FrmEditTest : public QObject {
    Q_OBJECT

    std::unique_ptr<EditingApp> app;

    std::unique_ptr<FrmEdit> open() {
        auto editor = std::make_unique<FrmEdit>(app->host);
        editor->show();
        return editor;
    }
    // Adds a value through "New Value".
    void addValue(FrmEdit& editor, const QString& name, const QString& data) {
        ModalAnswer answer([&](QWidget* d) {
            Type(d, "TxtName", name);
            Type(d, "TxtValue", data);
            Button(d, "Cmd_Ok")->click();
        });
        Action(editor, "TB_New")->trigger();
        QVERIFY2(answer.answered(), qPrintable(answer.failure()));
    }
    // Changes the data of the named row through "Edit Value".
    void editValue(FrmEdit& editor, const QString& row, const QString& name, const QString& data) {
        editor.selectRow(editor.values().findName(row));
        ModalAnswer answer([&](QWidget* d) {
            Type(d, "TxtName", name);
            Type(d, "TxtValue", data);
            Button(d, "Cmd_Ok")->click();
        });
        Action(editor, "Mnu_Edit_Edit")->trigger();
        QVERIFY2(answer.answered(), qPrintable(answer.failure()));
    }
    QString exportOf(const QString& key) {
        const QString file = app->folder.file(key + ".reg");
        if (!app->context.store().ExportKey(UninstallEntries::fullPath(key), file))
            return "<export failed>";
        return QString::fromUtf8(ReadFileBytes(file).toHex());
    }

    // An entry with a value of every kind: strings, an expandable string, bytes,
    // several strings, a number and an empty string.
    void addTypedEntry() {
        app->addProgram(Tool, "Tool 1.0");
        app->set(Tool, MakeStringValue("UninstallString", "%ProgramFiles%\\Tool\\uninstall.exe",
                                       RegType::ExpandSz));
        app->set(Tool, RegValue{"Bin", RegType::Binary, QByteArray("abc\0\x01\xff", 6)});
        app->set(Tool, MakeMultiStringValue("Multi", {"one", "two"}));
        app->set(Tool, MakeDwordValue("Dw", 7));
        app->set(Tool, MakeStringValue("Empty", ""));
        app->set(Tool, MakeStringValue("DisplayIcon", "%SystemRoot%\\tool.ico", RegType::ExpandSz));
        app->set(Tool, MakeStringValue("Publisher", "Example"));
    }

private slots:
    void init() { app = std::make_unique<EditingApp>(); }

    void listsTheValuesWithTextInCreationOrder() {
        addTypedEntry();
        app->addProgram(Other, "Other 2.0");
        app->host.select(Tool);
        auto editor = open();
        QCOMPARE(editor->windowTitle(), QString("Edit"));
        QCOMPARE(Names(editor->values()), QStringList({"DisplayName", "UninstallString", "Bin",
                                                       "Multi", "DisplayIcon", "Publisher"}));
        QCOMPARE(editor->values().row(1).data, QString("%ProgramFiles%\\Tool\\uninstall.exe"));
        QCOMPARE(editor->values().row(2).data, QString("abc"));
        QCOMPARE(editor->values().row(3).data, QString("one"));
        // The selector holds the main list's rows, on the selected one.
        auto* lst = editor->findChild<QComboBox*>("Lst");
        QCOMPARE(lst->count(), 2);
        QCOMPARE(lst->currentText(), QString("Tool 1.0"));
        QCOMPARE(editor->findChild<QLabel*>("SB1")->text(), QString("Tool 1.0"));
        QCOMPARE(Enabled(*editor, "TB_Save", "Mnu_File_Save"), 0);
        QCOMPARE(Enabled(*editor, "TB_Edit", "Mnu_Edit_Edit"), 0);
        QCOMPARE(Enabled(*editor, "TB_Delete", "Mnu_Edit_Delete"), 0);
        QCOMPARE(Action(*editor, "TB_New")->text(), QString(" New "));
        QCOMPARE(Action(*editor, "Mnu_File_Exit")->text(), QString("Exit     Esc"));
        auto* lv = editor->findChild<QTableView*>("Lv");
        QCOMPARE(lv->model()->headerData(0, Qt::Horizontal).toString(), QString("Name"));
        QCOMPARE(lv->model()->headerData(1, Qt::Horizontal).toString(), QString("Data"));
    }

    void aSaveWritesOnlyTheAddedAndChangedValuesWithTheirTypes() {
        addTypedEntry();
        const QString before = exportOf(Tool);
        const QList<RegValue> stored = app->values(Tool);
        auto editor = open();
        addValue(*editor, "Added", "new text");
        editValue(*editor, "DisplayIcon", "DisplayIcon", "%SystemRoot%\\other.ico");
        editValue(*editor, "Multi", "Multi", "three");
        QCOMPARE(Enabled(*editor, "TB_Save", "Mnu_File_Save"), 1);
        // The added row is not in the store yet.
        editor->selectRow(editor->values().findName("Added"));
        QVERIFY(!editor->findChild<QLabel*>("SB2")->isHidden());
        QCOMPARE(editor->findChild<QLabel*>("SB2")->text(), QString("This item is not saved"));
        QCOMPARE(Enabled(*editor, "TB_Delete", "Mnu_Edit_Delete"), 0);

        Action(*editor, "TB_Save")->trigger();
        QCOMPARE(Enabled(*editor, "TB_Save", "Mnu_File_Save"), 0);
        QVERIFY(editor->findChild<QLabel*>("SB2")->isHidden());
        QCOMPARE(Enabled(*editor, "TB_Delete", "Mnu_Edit_Delete"), 1);
        QCOMPARE(app->value(Tool, "Added"), MakeStringValue("Added", "new text"));
        // An expandable string stays one; several strings changed become one string.
        QCOMPARE(app->value(Tool, "DisplayIcon"),
                 MakeStringValue("DisplayIcon", "%SystemRoot%\\other.ico", RegType::ExpandSz));
        QCOMPARE(app->value(Tool, "Multi"), MakeStringValue("Multi", "three"));

        // Every other value is as it was, byte for byte: with the three
        // changes undone the export is the one from before.
        for (const RegValue& v : stored)
            if (v.name == "DisplayIcon" || v.name == "Multi")
                app->set(Tool, v);
        QVERIFY(app->store().deleteValue(EditingApp::entryKey(Tool), "Added").ok());
        QCOMPARE(exportOf(Tool), before);
    }

    void aRenamedValueKeepsItsOldNameInTheStore() {
        addTypedEntry();
        auto editor = open();
        editValue(*editor, "UninstallString", "Uninstall2", "%ProgramFiles%\\Tool\\un2.exe");
        // Under its new name the row is not in the store yet.
        QVERIFY(!editor->findChild<QLabel*>("SB2")->isHidden());
        QVERIFY(editor->save());
        QCOMPARE(app->value(Tool, "Uninstall2"),
                 MakeStringValue("Uninstall2", "%ProgramFiles%\\Tool\\un2.exe", RegType::ExpandSz));
        QCOMPARE(app->value(Tool, "UninstallString")->type, RegType::ExpandSz);
    }

    void switchingProgramAsksAboutUnsavedChanges_data() {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("Yes saves") << MsgAnswer::Yes;
        QTest::newRow("No drops") << MsgAnswer::No;
    }
    void switchingProgramAsksAboutUnsavedChanges() {
        QFETCH(MsgAnswer, answer);
        app->addProgram(Other, "Other 2.0");
        app->addProgram(Tool, "Tool 1.0");
        auto editor = open();
        addValue(*editor, "Added", "x");
        app->fakes.messages.answers.enqueue(answer);
        auto* lst = editor->findChild<QComboBox*>("Lst");
        const int other = lst->findText("Other 2.0");
        lst->setCurrentIndex(other);
        editor->chooseProgram(other);
        const MsgBoxCall ask = app->lastMessage();
        QCOMPARE(ask.title, QString("Save Changes"));
        QCOMPARE(ask.text, QString("Did you want to save the changes to the \"Tool 1.0\" ?"));
        QCOMPARE(ask.buttons, MsgButtons::YesNo);
        QCOMPARE(ask.icon, MsgIcon::Exclamation);
        QCOMPARE(app->context.entries().value(Tool, "Added"),
                 QString(answer == MsgAnswer::Yes ? "x" : ""));
        QCOMPARE(editor->currentKey(), Other);
        QCOMPARE(Enabled(*editor, "TB_Save", "Mnu_File_Save"), 0);
        QCOMPARE(Enabled(*editor, "TB_Edit", "Mnu_Edit_Edit"), 0);
        QCOMPARE(Names(editor->values()), QStringList({"DisplayName", "UninstallString"}));
        QCOMPARE(editor->findChild<QLabel*>("SB1")->text(), QString("Other 2.0"));
        // Back to the first program: the dropped row is gone.
        editor->chooseProgram(lst->findText("Tool 1.0"));
        QCOMPARE(editor->values().findName("Added") >= 0, answer == MsgAnswer::Yes);
        editor->close();
        QCOMPARE(app->host.reloads, answer == MsgAnswer::Yes ? 1 : 0);
    }

    void deletingAValueAsksAndWritesAtOnce_data() {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("Yes") << MsgAnswer::Yes;
        QTest::newRow("No") << MsgAnswer::No;
    }
    void deletingAValueAsksAndWritesAtOnce() {
        QFETCH(MsgAnswer, answer);
        addTypedEntry();
        auto editor = open();
        editor->selectRow(editor->values().findName("Publisher"));
        app->fakes.messages.answers.enqueue(answer);
        Action(*editor, "TB_Delete")->trigger();
        const MsgBoxCall ask = app->lastMessage();
        QCOMPARE(ask.title, QString("Confirm Name Delete"));
        QCOMPARE(ask.text, QString("Are you sure you want to delete the name \"Publisher\" ?"));
        QCOMPARE(ask.icon, MsgIcon::Exclamation);
        const bool yes = answer == MsgAnswer::Yes;
        QCOMPARE(app->value(Tool, "Publisher").has_value(), !yes);
        QCOMPARE(editor->values().findName("Publisher") < 0, yes);
        QCOMPARE(Enabled(*editor, "TB_Delete", "Mnu_Edit_Delete"), yes ? 0 : 1);
        QCOMPARE(Enabled(*editor, "TB_Edit", "Mnu_Edit_Edit"), yes ? 0 : 1);
        QCOMPARE(Enabled(*editor, "TB_Save", "Mnu_File_Save"), 0);
        // A deletion alone does not reload the main list.
        editor->close();
        QCOMPARE(app->host.reloads, 0);
    }

    void aNameAnotherRowHasIsRefused() {
        app->addProgram(Tool, "Tool 1.0");
        auto editor = open();
        const int messages = app->fakes.messages.calls.size();
        bool okAfterRefusal = false;
        QString selected;
        ModalAnswer answer([&](QWidget* d) {
            QCOMPARE(d->windowTitle(), QString("New"));
            QVERIFY(!Button(d, "Cmd_Ok")->isEnabled());
            Type(d, "TxtName", "displayname");
            QVERIFY(!Button(d, "Cmd_Ok")->isEnabled());
            Type(d, "TxtValue", "x");
            Button(d, "Cmd_Ok")->click();
            okAfterRefusal = d->isVisible();
            selected = d->findChild<QLineEdit*>("TxtName")->selectedText();
            Button(d, "Cmd_Cancel")->click();
        });
        editor->newValue();
        QVERIFY2(answer.answered(), qPrintable(answer.failure()));
        QVERIFY(okAfterRefusal);
        QCOMPARE(selected, QString("displayname"));
        QCOMPARE(app->fakes.messages.calls.size(), messages + 1);
        QCOMPARE(app->lastMessage().text,
                 QString("The name \"displayname\" is already exists , Please type another name"));
        QCOMPARE(app->lastMessage().icon, MsgIcon::Critical);
        QCOMPARE(app->lastMessage().title, QString("Relvano"));
        QCOMPARE(editor->values().count(), 2);
        QVERIFY(!editor->hasUnsavedChanges());
    }

    void editingIgnoresLetterCase() {
        app->addProgram(Tool, "Tool 1.0");
        auto editor = open();
        editor->selectRow(0);
        bool okOnCaseOnly = true, okOnData = false, stillOpen = false;
        ModalAnswer answer([&](QWidget* d) {
            QCOMPARE(d->windowTitle(), QString("Edit"));
            Type(d, "TxtName", "DISPLAYNAME");
            Type(d, "TxtValue", "TOOL 1.0");
            okOnCaseOnly = Button(d, "Cmd_Ok")->isEnabled();
            Type(d, "TxtValue", "Tool 1.1");
            okOnData = Button(d, "Cmd_Ok")->isEnabled();
            // A new case of the row's own name is a duplicate of the row itself.
            Button(d, "Cmd_Ok")->click();
            stillOpen = d->isVisible();
            Button(d, "Cmd_Cancel")->click();
        });
        editor->ItemEdit();
        QVERIFY2(answer.answered(), qPrintable(answer.failure()));
        QVERIFY(!okOnCaseOnly);
        QVERIFY(okOnData);
        QVERIFY(stillOpen);
        QCOMPARE(app->lastMessage().text,
                 QString("The name \"DISPLAYNAME\" is already exists , Please type another name"));
        QCOMPARE(editor->values().row(0).data, QString("Tool 1.0"));
    }

    void closingAsksSavesAndReloadsOnlyAfterASave_data() {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("Yes") << MsgAnswer::Yes;
        QTest::newRow("No") << MsgAnswer::No;
    }
    void closingAsksSavesAndReloadsOnlyAfterASave() {
        QFETCH(MsgAnswer, answer);
        app->addProgram(Tool, "Tool 1.0");
        auto editor = open();
        addValue(*editor, "Added", "x");
        app->fakes.messages.answers.enqueue(answer);
        QTest::keyClick(editor.get(), Qt::Key_Escape);
        QVERIFY(!editor->isVisible());
        QCOMPARE(app->lastMessage().title, QString("Save Changes"));
        QCOMPARE(app->host.reloads, answer == MsgAnswer::Yes ? 1 : 0);
        QCOMPARE(app->value(Tool, "Added").has_value(), answer == MsgAnswer::Yes);
    }

    void showGridsIsKeptInTheSettings() {
        app->addProgram(Tool, "Tool 1.0");
        const QString ini = app->context.ConfigIniPath;
        WriteIni(ini, "Edt", "Grd", "2");
        auto editor = open();
        auto* lv = editor->findChild<QTableView*>("Lv");
        QVERIFY(!lv->showGrid());
        QVERIFY(!Action(*editor, "Mnu_View_Grids")->isChecked());
        Action(*editor, "Mnu_View_Grids")->trigger();
        QVERIFY(lv->showGrid());
        editor->close();
        QCOMPARE(ReadIni(ini, "Edt", "Grd", "<none>"), QString("1"));
        auto again = open();
        QVERIFY(again->findChild<QTableView*>("Lv")->showGrid());
        QVERIFY(Action(*again, "Mnu_View_Grids")->isChecked());
    }

    void aRefusedWriteIsToldAndTheChangesStay() {
        app->addProgram(Other, "Other 2.0");
        addTypedEntry();
        auto editor = open();
        addValue(*editor, "Added", "x");
        editValue(*editor, "Publisher", "Publisher", "Changed");
        {
            StoreWriteLock lock(app->folder.storePath());
            QVERIFY(lock.locked());
            QVERIFY(!editor->save());
            const MsgBoxCall told = app->lastMessage();
            QCOMPARE(told.title, QString("Relvano"));
            QCOMPARE(told.icon, MsgIcon::Critical);
            QVERIFY2(told.text.contains("\"Tool 1.0\"") && told.text.contains("Added") &&
                         told.text.contains("Publisher"),
                     qPrintable(told.text));
            QCOMPARE(Enabled(*editor, "TB_Save", "Mnu_File_Save"), 1);
            // Closing with "Yes" keeps the window open while the save fails.
            app->fakes.messages.answers.enqueue(MsgAnswer::Yes);
            editor->close();
            QVERIFY(editor->isVisible());
            // So does switching program.
            auto* lst = editor->findChild<QComboBox*>("Lst");
            app->fakes.messages.answers.enqueue(MsgAnswer::Yes);
            lst->setCurrentIndex(lst->findText("Other 2.0"));
            editor->chooseProgram(lst->currentIndex());
            QCOMPARE(editor->currentKey(), Tool);
            QCOMPARE(lst->currentText(), QString("Tool 1.0"));
            QCOMPARE(editor->values().findName("Added"), editor->values().count() - 1);
            // A refused delete is told too, and the row stays.
            editor->selectRow(editor->values().findName("DisplayName"));
            app->fakes.messages.answers.enqueue(MsgAnswer::Yes);
            editor->deleteValue();
            QVERIFY(app->lastMessage().text.contains("could not delete the value \"DisplayName\""));
            QVERIFY(editor->values().findName("DisplayName") >= 0);
        }
        QCOMPARE(app->context.entries().value(Tool, "Publisher"), QString("Example"));
        QCOMPARE(app->host.reloads, 0);
        // Once the store takes writes again, the kept changes are saved.
        QVERIFY(editor->save());
        QCOMPARE(app->context.entries().value(Tool, "Added"), QString("x"));
        QCOMPARE(app->context.entries().value(Tool, "Publisher"), QString("Changed"));
        editor->close();
        QCOMPARE(app->host.reloads, 1);
    }

    void onlyProgramsWithAStoredValueCanBeDeleted() {
        app->addProgram(Tool, "Tool 1.0");
        auto editor = open();
        addValue(*editor, "Added", "x");
        editor->selectRow(editor->values().findName("Added"));
        QCOMPARE(Enabled(*editor, "TB_Edit", "Mnu_Edit_Edit"), 1);
        QCOMPARE(Enabled(*editor, "TB_Delete", "Mnu_Edit_Delete"), 0);
        editor->selectRow(0);
        QCOMPARE(Enabled(*editor, "TB_Delete", "Mnu_Edit_Delete"), 1);
        QVERIFY(editor->findChild<QLabel*>("SB2")->isHidden());
        editor->selectRow(-1);
        QCOMPARE(Enabled(*editor, "TB_Edit", "Mnu_Edit_Edit"), 0);
    }
};

// The rows a save writes, without the window.
class EntryValuesModelTest : public QObject {
    Q_OBJECT
private slots:
    void pendingWrites() {
        EntryValuesModel m;
        m.load({{"Sz", RegType::Sz, "a"},
                {"Expand", RegType::ExpandSz, "%x%"},
                {"Bin", RegType::Binary, "b"},
                {"Same", RegType::Sz, "s"}});
        m.setRow(0, "Sz", "a2");
        m.setRow(1, "Expand2", "%y%");
        m.setRow(2, "Bin", "b2");
        m.setRow(3, "Same", "s"); // edited back to what it was
        m.append("New", "n");
        const QList<ValueWrite> w = m.pendingWrites();
        QCOMPARE(w.size(), 4);
        QCOMPARE(w[0].type, RegType::Sz);
        QCOMPARE(w[1].name, QString("Expand2"));
        QCOMPARE(w[1].type, RegType::ExpandSz);
        QCOMPARE(w[2].type, RegType::Sz);
        QCOMPARE(w[3].name, QString("New"));
        QCOMPARE(w[3].row, 4);
        QVERIFY(!m.isSaved(1) && !m.isSaved(4) && m.isSaved(3));
        m.markWritten(1, RegType::ExpandSz);
        QVERIFY(m.isSaved(1));
        QCOMPARE(m.pendingWrites().size(), 3);
    }
};

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    int status = 0;
    {
        EntryValuesModelTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        FrmEditTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}
#include "FrmEditTest.moc"
