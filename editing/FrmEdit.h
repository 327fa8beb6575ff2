// FrmEdit, "Edit": the values of one program's entry as a list of name and
// data, to add, change and delete values, and a selector to switch to any
// other program of the main list. Added and changed values stay in the window
// until "Save", which writes only those (a REG_EXPAND_SZ value stays one);
// deletions reach the store at once. A write that fails is told and the
// window keeps its changes.
#pragma once

#include "editing/EntryStore.h"

#include <QDialog>

class EntryValuesModel;
class MainWindowHost;
class QAction;
class QComboBox;
class QLabel;
class QMenuBar;
class QTableView;

class FrmEdit final : public QDialog {
    Q_OBJECT
public:
    // Opens on the main list's selected program.
    explicit FrmEdit(MainWindowHost& host, QWidget* parent = nullptr);

    // The commands.
    void newValue();
    void ItemEdit();
    // Writes the added and changed rows; false when one could not be written.
    bool save();
    void deleteValue();
    void setGrids(bool shown);
    // The user chose the program at this index of the selector.
    void chooseProgram(int index);
    // true enables "Save", false disables it: the unsaved-changes state.
    void DoChange(bool changed);

    bool hasUnsavedChanges() const;
    int currentProgram() const { return current_; }
    QString currentKey() const;
    const EntryValuesModel& values() const { return *model_; }
    // The row selected in the value list; -1 when none.
    int selectedRow() const;
    void selectRow(int r);

protected:
    void done(int r) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar(QWidget* band);
    void loadValues(int index);
    void selectionUpdate();
    void setRowCommands(bool edit, bool remove);
    void showNotSaved(bool shown);
    bool askToSave();
    QString programName() const;

    MainWindowHost& host_;
    EntryStore store_;
    QStringList keys_; // LvKeys: the subkey of each selector entry
    int current_ = -1;
    bool reload_ = false;
    Qt::MouseButton lastButton_ = Qt::NoButton;

    EntryValuesModel* model_;
    QMenuBar* menuBar_ = nullptr;
    QComboBox* lst_;
    QTableView* lv_;
    QLabel* sb1_;
    QLabel* sb2_;
    QAction* tbNew_ = nullptr;
    QAction* tbSave_ = nullptr;
    QAction* tbEdit_ = nullptr;
    QAction* tbDelete_ = nullptr;
    QAction* mnuNew_ = nullptr;
    QAction* mnuSave_ = nullptr;
    QAction* mnuExit_ = nullptr;
    QAction* mnuEdit_ = nullptr;
    QAction* mnuDelete_ = nullptr;
    QAction* mnuGrids_ = nullptr;
};
