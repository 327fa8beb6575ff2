#include "editing/FrmEdit.h"

#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/Settings.h"
#include "dialogs/MainWindowHost.h"
#include "editing/EntryValuesModel.h"
#include "editing/FrmEditValue.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QLatin1String(name), QApplication::style()->standardIcon(fallback));
}
} // namespace

FrmEdit::FrmEdit(MainWindowHost& host, QWidget* parent)
    : QDialog(parent), host_(host), store_(host.context()), model_(new EntryValuesModel(this)),
      lst_(new QComboBox(this)), lv_(new QTableView(this)), sb1_(new QLabel(this)),
      sb2_(new QLabel(QStringLiteral("This item is not saved"), this)) {
    setObjectName(QStringLiteral("FrmEdit"));
    setWindowTitle(QStringLiteral("Edit"));

    // The rebar: the toolbar band and the program selector band.
    auto* rebar = new QWidget(this);
    rebar->setObjectName(QStringLiteral("Rebar"));
    auto* bands = new QHBoxLayout(rebar);
    bands->setContentsMargins(2, 2, 2, 2);
    auto* toolBand = new QWidget(rebar);
    toolBand->setObjectName(QStringLiteral("ToolBar_Band"));
    buildToolBar(toolBand);
    lst_->setObjectName(QStringLiteral("Lst"));
    lst_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lst_->setMinimumContentsLength(20);
    bands->addWidget(toolBand);
    bands->addWidget(lst_, 1);
    buildMenus();

    lv_->setObjectName(QStringLiteral("Lv"));
    lv_->setModel(model_);
    lv_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv_->setSelectionMode(QAbstractItemView::SingleSelection);
    lv_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv_->setWordWrap(false);
    lv_->verticalHeader()->hide();
    lv_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lv_->verticalHeader()->setDefaultSectionSize(lv_->fontMetrics().height() + 6);
    lv_->horizontalHeader()->setHighlightSections(false);
    lv_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lv_->horizontalHeader()->setStretchLastSection(true);
    lv_->setColumnWidth(0, 2000 / TwipsPerPixel);
    lv_->setColumnWidth(1, 5000 / TwipsPerPixel);
    lv_->viewport()->installEventFilter(this);
    lv_->installEventFilter(this);

    sb1_->setObjectName(QStringLiteral("SB1"));
    sb2_->setObjectName(QStringLiteral("SB2"));
    QStatusBar* sb = MakeStatusBar(this, {sb1_, sb2_});
    sb2_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(rebar);
    layout->addWidget(lv_, 1);
    layout->addWidget(sb);
    resize(620, 400);

    connect(lst_, &QComboBox::activated, this, &FrmEdit::chooseProgram);
    connect(lv_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FrmEdit::selectionUpdate);
    connect(lv_, &QTableView::doubleClicked, this, [this] {
        if (lastButton_ == Qt::LeftButton)
            ItemEdit();
    });

    // The main list's rows, and the values of its selected one.
    const QList<ListedProgram> programs = host_.listedPrograms();
    const QString selected = host_.selectedKey();
    int index = -1;
    QStringList texts;
    keys_.reserve(programs.size());
    texts.reserve(programs.size());
    for (const ListedProgram& p : programs) {
        if (index < 0 && p.key == selected)
            index = static_cast<int>(keys_.size());
        keys_.append(p.key);
        texts.append(p.text);
    }
    lst_->addItems(texts);
    lst_->setCurrentIndex(index);
    sb1_->setText(lst_->currentText());
    loadValues(index);
    setGrids(LoadEditorGrid(host_.context().ConfigIniPath));
}

void FrmEdit::buildToolBar(QWidget* band) {
    auto* toolBar = new QToolBar(band);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->setIconSize(QSize(16, 16));
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(0, 0, 0, 0);
    bandLayout->addWidget(toolBar);
    tbNew_ = AddToolButton(toolBar, "TB_New", QStringLiteral(" New "),
                           ThemeIcon("document-new", QStyle::SP_FileIcon));
    tbSave_ = AddToolButton(toolBar, "TB_Save", QStringLiteral(" Save "),
                            ThemeIcon("document-save", QStyle::SP_DialogSaveButton));
    toolBar->addSeparator();
    tbEdit_ = AddToolButton(toolBar, "TB_Edit", QStringLiteral(" Edit "),
                            ThemeIcon("document-edit", QStyle::SP_FileDialogDetailedView));
    tbDelete_ = AddToolButton(toolBar, "TB_Delete", QStringLiteral(" Delete "),
                              ThemeIcon("edit-delete", QStyle::SP_DialogDiscardButton));
    connect(tbNew_, &QAction::triggered, this, &FrmEdit::newValue);
    connect(tbSave_, &QAction::triggered, this, [this] { save(); });
    connect(tbEdit_, &QAction::triggered, this, &FrmEdit::ItemEdit);
    connect(tbDelete_, &QAction::triggered, this, &FrmEdit::deleteValue);
    tbSave_->setEnabled(false);
    tbEdit_->setEnabled(false);
    tbDelete_->setEnabled(false);
}

void FrmEdit::buildMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MenuBar"));
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("Mnu_File"));
    mnuNew_ = AddMenuItem(file, "Mnu_File_New", QStringLiteral("New Value"));
    mnuSave_ = AddMenuItem(file, "Mnu_File_Save", QStringLiteral("Save"));
    file->addSeparator();
    mnuExit_ = AddMenuItem(file, "Mnu_File_Exit", QStringLiteral("Exit     Esc"));
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Mnu_Edit"));
    mnuEdit_ = AddMenuItem(edit, "Mnu_Edit_Edit", QStringLiteral("Edit Value"));
    mnuDelete_ = AddMenuItem(edit, "Mnu_Edit_Delete", QStringLiteral("Delete Value"));
    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("Mnu_View"));
    mnuGrids_ = AddMenuItem(view, "Mnu_View_Grids", QStringLiteral("Show Grids"));
    mnuGrids_->setCheckable(true);
    connect(mnuNew_, &QAction::triggered, this, &FrmEdit::newValue);
    connect(mnuSave_, &QAction::triggered, this, [this] { save(); });
    connect(mnuExit_, &QAction::triggered, this, &QDialog::close);
    connect(mnuEdit_, &QAction::triggered, this, &FrmEdit::ItemEdit);
    connect(mnuDelete_, &QAction::triggered, this, &FrmEdit::deleteValue);
    connect(mnuGrids_, &QAction::triggered, this, &FrmEdit::setGrids);
    mnuSave_->setEnabled(false);
    mnuEdit_->setEnabled(false);
    mnuDelete_->setEnabled(false);
    menuBar_ = bar;
}

QString FrmEdit::currentKey() const {
    return current_ >= 0 && current_ < keys_.size() ? keys_[current_] : QString();
}

QString FrmEdit::programName() const {
    return current_ >= 0 ? lst_->itemText(current_) : QString();
}

bool FrmEdit::hasUnsavedChanges() const {
    return tbSave_->isEnabled();
}

void FrmEdit::DoChange(bool changed) {
    tbSave_->setEnabled(changed);
    mnuSave_->setEnabled(changed);
}

void FrmEdit::loadValues(int index) {
    current_ = index;
    model_->load(index >= 0 ? store_.listedValues(keys_[index]) : QList<EntryValue>());
}

int FrmEdit::selectedRow() const {
    const QModelIndexList rows = lv_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FrmEdit::selectRow(int r) {
    if (r < 0)
        lv_->clearSelection();
    else
        lv_->selectRow(r);
}

void FrmEdit::setRowCommands(bool edit, bool remove) {
    tbEdit_->setEnabled(edit);
    mnuEdit_->setEnabled(edit);
    tbDelete_->setEnabled(remove);
    mnuDelete_->setEnabled(remove);
}

void FrmEdit::showNotSaved(bool shown) {
    sb2_->setVisible(shown);
}

void FrmEdit::selectionUpdate() {
    const int r = selectedRow();
    if (r < 0) {
        setRowCommands(false, false);
        return;
    }
    // A row without a value in the store under its name cannot be deleted.
    const bool saved = model_->isSaved(r);
    setRowCommands(true, saved);
    showNotSaved(!saved);
}

void FrmEdit::newValue() {
    if (current_ < 0)
        return;
    FrmEdit_Add dialog(*model_, host_.context().messages(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    model_->append(dialog.name(), dialog.value());
    DoChange(true);
    selectionUpdate();
}

void FrmEdit::ItemEdit() {
    const int r = selectedRow();
    if (r < 0)
        return;
    FrmEdit_Edit dialog(*model_, r, host_.context().messages(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    model_->setRow(r, dialog.name(), dialog.value());
    DoChange(true);
    selectionUpdate();
}

bool FrmEdit::save() {
    const QString key = currentKey();
    if (key.isEmpty())
        return true;
    QStringList failed;
    QString reason;
    for (const ValueWrite& w : model_->pendingWrites()) {
        const StoreResult written = store_.writeText(key, w.name, w.text, w.type);
        if (written.ok()) {
            model_->markWritten(w.row, w.type);
            reload_ = true;
        } else {
            failed.append(w.name);
            if (reason.isEmpty())
                reason = written.message;
        }
    }
    if (!failed.isEmpty()) {
        // Nothing typed is lost: the rows that were not written stay changed.
        const QString what =
            failed.size() == 1
                ? QStringLiteral("Relvano could not save the value \"%1\" of \"%2\":")
                      .arg(failed.first(), programName())
                : QStringLiteral("Relvano could not save these values of \"%1\":\r\n%2\r\n")
                      .arg(programName(), failed.join(QStringLiteral("\r\n")));
        host_.context().messages().MsgBox(
            what + QStringLiteral("\r\n") + reason +
                QStringLiteral("\r\n\r\nThe changes are kept in the window."),
            MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
        selectionUpdate();
        return false;
    }
    DoChange(false);
    if (tbEdit_->isEnabled())
        selectionUpdate();
    return true;
}

void FrmEdit::deleteValue() {
    const int r = selectedRow();
    if (r < 0 || !model_->isSaved(r))
        return;
    const QString name = model_->row(r).name;
    const MsgAnswer answer = host_.context().messages().MsgBox(
        QStringLiteral("Are you sure you want to delete the name \"") + name +
            QStringLiteral("\" ?"),
        MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Confirm Name Delete"));
    if (answer != MsgAnswer::Yes) {
        setRowCommands(true, true);
        return;
    }
    const StoreResult deleted = store_.deleteValue(currentKey(), name);
    if (!deleted.ok()) {
        host_.context().messages().MsgBox(
            QStringLiteral("Relvano could not delete the value \"%1\" of \"%2\":\r\n%3")
                .arg(name, programName(), deleted.message),
            MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
        setRowCommands(true, true);
        return;
    }
    model_->removeValueRow(r);
    lv_->clearSelection();
    lv_->setCurrentIndex(QModelIndex());
    setRowCommands(false, false);
}

void FrmEdit::setGrids(bool shown) {
    lv_->setShowGrid(shown);
    mnuGrids_->setChecked(shown);
}

bool FrmEdit::askToSave() {
    return host_.context().messages().MsgBox(
               QStringLiteral("Did you want to save the changes to the \"") + programName() +
                   QStringLiteral("\" ?"),
               MsgButtons::YesNo, MsgIcon::Exclamation,
               QStringLiteral("Save Changes")) == MsgAnswer::Yes;
}

void FrmEdit::chooseProgram(int index) {
    if (index < 0 || index >= keys_.size() || index == current_) {
        return;
    }
    if (hasUnsavedChanges()) {
        if (askToSave() && !save()) {
            // The changes could not be written: stay on this program.
            lst_->setCurrentIndex(current_);
            return;
        }
        DoChange(false);
    }
    lst_->setCurrentIndex(index);
    loadValues(index);
    setRowCommands(false, false);
    showNotSaved(false);
    sb1_->setText(lst_->itemText(index));
}

void FrmEdit::done(int r) {
    if (hasUnsavedChanges() && askToSave() && !save())
        return; // not saved: the window stays open with its changes
    if (reload_) {
        reload_ = false;
        hide();
        host_.reloadList();
    }
    SaveEditorGrid(host_.context().ConfigIniPath, lv_->showGrid());
    QDialog::done(r);
}

void FrmEdit::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

bool FrmEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lv_->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        lastButton_ = mouse->button();
        if (!lv_->indexAt(mouse->position().toPoint()).isValid()) {
            // A click where no row is: nothing to edit or delete.
            lv_->clearSelection();
            setRowCommands(false, false);
        }
    } else if (watched == lv_ && event->type() == QEvent::KeyRelease) {
        selectionUpdate();
    }
    return QDialog::eventFilter(watched, event);
}
