#include "backup/FrmRestore.h"

#include "backup/BackupLogic.h"
#include "controls/ProgBar.h"
#include "controls/ProgressPacer.h"
#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/HistoryLog.h"
#include "dialogs/MainWindowHost.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

FrmRestore::FrmRestore(MainWindowHost& host, QWidget* parent)
    : QDialog(parent), host_(host), folder_(host.context().BackupFolder) {
    setObjectName(QStringLiteral("FrmRestore"));
    setWindowTitle(QStringLiteral("Restore"));

    auto* menuBar = new QMenuBar(this);
    menuBar_ = menuBar;
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("Mnu_File"));
    mnuRestore_ = AddMenuItem(file, "Mnu_File_Restore", QStringLiteral("Restore"),
                              QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuDelete_ = AddMenuItem(file, "Mnu_File_Delete", QStringLiteral("Delete"),
                             QKeySequence(Qt::Key_Delete));
    file->addSeparator();
    QAction* exit = AddMenuItem(file, "Mnu_File_Exit", QStringLiteral("Exit     Esc"));
    QMenu* edit = menuBar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Mnu_Edit"));
    mnuSelectAll_ = AddMenuItem(edit, "Mnu_Edit_SelectAll", QStringLiteral("Select All"),
                                QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuDeselectAll_ = AddMenuItem(edit, "Mnu_Edit_DeselectAll", QStringLiteral("Deselect All"),
                                  QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuDeselectAll_->setEnabled(false);
    mnuInvert_ = AddMenuItem(edit, "Mnu_Edit_Invert", QStringLiteral("Invert Selection"));

    auto* toolBar = new QToolBar(this);
    toolBar_ = toolBar;
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tbResFile_ = toolBar->addAction(QStringLiteral(" Restore "));
    tbResFile_->setObjectName(QStringLiteral("TB_ResFile"));
    toolBar->addSeparator();
    tbDelete_ = toolBar->addAction(QStringLiteral(" Delete "));
    tbDelete_->setObjectName(QStringLiteral("TB_Delete"));
    for (QAction* a : {mnuRestore_, mnuDelete_, mnuInvert_, tbResFile_, tbDelete_})
        a->setEnabled(false);

    lv_ = new QTreeWidget(this);
    lv_->setObjectName(QStringLiteral("Lv"));
    lv_->setRootIsDecorated(false);
    lv_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lv_->setHeaderLabels({QStringLiteral("Programs"), QStringLiteral("Creation Date")});
    lv_->setColumnWidth(0, 4200 / 15);
    lv_->setColumnWidth(1, 2200 / 15);
    lv_->setUniformRowHeights(true);
    lv_->viewport()->setMouseTracking(true);
    lv_->viewport()->installEventFilter(this);
    lv_->installEventFilter(this);

    // The progress panel, centred over the list's place.
    pic_ = new QFrame(this);
    pic_->setObjectName(QStringLiteral("Pic"));
    pic_->setFrameShape(QFrame::StyledPanel);
    pic_->setFixedWidth(360);
    lb_ = new QLabel(pic_);
    lb_->setObjectName(QStringLiteral("Lb"));
    lb2_ = new QLabel(pic_);
    lb2_->setObjectName(QStringLiteral("Lb2"));
    lb2_->setTextFormat(Qt::PlainText);
    pro_ = new ProgBar(pic_);
    pro_->setObjectName(QStringLiteral("Pro"));
    pro_->setFixedHeight(18);
    pro_->StartColor = 0xB4822F; // blue to light blue
    pro_->EndColor = 0xF5DEB0;
    auto* picLayout = new QVBoxLayout(pic_);
    picLayout->addWidget(lb_);
    picLayout->addWidget(lb2_);
    picLayout->addWidget(pro_);
    pic_->hide();
    auto* area = new QGridLayout;
    area->addWidget(lv_, 0, 0);
    area->addWidget(pic_, 0, 0, Qt::AlignCenter);

    sb1_ = new QLabel(this);
    sb1_->setObjectName(QStringLiteral("SB1"));
    QStatusBar* statusBar = MakeStatusBar(this, {sb1_});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(toolBar);
    layout->addLayout(area, 1);
    layout->addWidget(statusBar);
    resize(480, 340);

    connect(mnuRestore_, &QAction::triggered, this, &FrmRestore::restoreSelected);
    connect(tbResFile_, &QAction::triggered, this, &FrmRestore::restoreSelected);
    connect(mnuDelete_, &QAction::triggered, this, &FrmRestore::deleteSelected);
    connect(tbDelete_, &QAction::triggered, this, &FrmRestore::deleteSelected);
    connect(exit, &QAction::triggered, this, &QDialog::reject);
    connect(mnuSelectAll_, &QAction::triggered, this, &FrmRestore::selectAll);
    connect(mnuDeselectAll_, &QAction::triggered, this, &FrmRestore::deselectAll);
    connect(mnuInvert_, &QAction::triggered, this, &FrmRestore::invertSelection);
    connect(lv_, &QTreeWidget::itemSelectionChanged, this, &FrmRestore::startTm);

    // Tmr fills the list once the window is drawn; Tm recomputes which
    // commands are enabled and stops until something starts it again.
    auto* tmr = new QTimer(this);
    tmr->setObjectName(QStringLiteral("Tmr"));
    tmr->setInterval(50);
    tmr->setSingleShot(true);
    connect(tmr, &QTimer::timeout, this, &FrmRestore::loadList);
    tmr->start();
    tm_ = new QTimer(this);
    tm_->setObjectName(QStringLiteral("Tm"));
    tm_->setInterval(10);
    connect(tm_, &QTimer::timeout, this, &FrmRestore::refreshEnabled);
    tm_->start();
}

void FrmRestore::loadList() {
    lv_->clear();
    const QList<BackupFile> files = ListBackupFiles(folder_);
    sb1_->setText(BackupCountText(files.size()));
    QList<QTreeWidgetItem*> items;
    items.reserve(files.size());
    for (const BackupFile& f : files)
        items.append(new QTreeWidgetItem({f.name, HistoryLog::DateText(f.created)}));
    lv_->addTopLevelItems(items);
    startTm();
}

QStringList FrmRestore::collectSelection() const {
    QStringList paths;
    for (int row = 0; row < lv_->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = lv_->topLevelItem(row);
        if (item->isSelected())
            paths.append(JoinPath(folder_, item->text(0)));
    }
    return paths;
}

void FrmRestore::refreshEnabled() {
    if (busy_)
        return;
    const bool any = !collectSelection().isEmpty();
    for (QAction* a : {mnuRestore_, mnuDelete_, mnuInvert_, tbResFile_, tbDelete_})
        a->setEnabled(any);
    const int rows = lv_->topLevelItemCount();
    if (rows > 0) {
        const bool all = static_cast<int>(lv_->selectedItems().size()) == rows;
        mnuSelectAll_->setEnabled(!all);
        mnuDeselectAll_->setEnabled(all);
    } else {
        mnuSelectAll_->setEnabled(false);
        mnuDeselectAll_->setEnabled(false);
    }
    tm_->stop();
}

void FrmRestore::startTm() {
    if (!busy_)
        tm_->start();
}

void FrmRestore::setAllSelected(int how) {
    // The new selection is set in one step, not one change per row.
    QAbstractItemModel* model = lv_->model();
    const int lastColumn = model->columnCount() - 1;
    QItemSelection selection;
    for (int row = 0; row < lv_->topLevelItemCount(); ++row) {
        const bool selected = how == 0   ? true
                              : how == 1 ? false
                                         : !lv_->topLevelItem(row)->isSelected();
        if (selected)
            selection.select(model->index(row, 0), model->index(row, lastColumn));
    }
    lv_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    startTm();
}

void FrmRestore::setBusy(bool busy) {
    busy_ = busy;
    if (busy)
        tm_->stop();
    menuBar_->setEnabled(!busy);
    toolBar_->setEnabled(!busy);
    lv_->setEnabled(!busy);
    setCursor(busy ? Qt::WaitCursor : Qt::ArrowCursor);
}

void FrmRestore::restoreSelected() {
    if (busy_)
        return;
    const QStringList files = collectSelection();
    const qsizetype n = files.size();
    if (n == 0) {
        startTm();
        return;
    }
    setBusy(true);
    if (n > 3) {
        lv_->hide();
        pic_->show();
    }
    pro_->setMax(ProgressBarMax(n));
    pro_->setValue(0);
    repaint();
    Registry& store = host_.context().store();
    QList<RestoreProblem> problems;
    ProgressPacer pace;
    for (qsizetype i = 0; i < n; ++i) {
        lb_->setText(RestoringStepText(i + 1, n));
        lb2_->setText(QFileInfo(files[i]).fileName());
        pace();
        emit restoringFile(i + 1, n);
        if (std::optional<RestoreProblem> problem = RestoreFile(store, files[i]))
            problems.append(std::move(*problem));
        if (const int value = ProgressBarValue(i + 1, n); value != pro_->Value())
            pro_->setValue(value);
    }
    restored_ = true;
    pro_->setValue(0);
    pic_->hide();
    lv_->show();
    setBusy(false);
    const RestoreMessage message = RestoredMessage(n, problems);
    host_.context().messages().MsgBox(message.text, MsgButtons::Ok, message.icon,
                                      QStringLiteral("Relvano"));
    startTm();
}

void FrmRestore::deleteSelected() {
    if (busy_)
        return;
    const QStringList files = collectSelection();
    if (files.isEmpty()) {
        startTm();
        return;
    }
    if (host_.context().messages().MsgBox(
            QStringLiteral("Are you sure you want to delete selected file/files from the restore "
                           "folder"),
            MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("Relvano")) != MsgAnswer::Yes) {
        startTm();
        return;
    }
    tm_->stop();
    qsizetype deleted = 0;
    QStringList notDeleted;
    for (const QString& path : files) {
        QFile file(path);
        if (file.remove())
            ++deleted;
        else
            notDeleted.append(QFileInfo(path).fileName() + QStringLiteral(" : ") +
                              file.errorString());
    }
    loadList();
    const RestoreMessage message = DeletedMessage(deleted, notDeleted);
    host_.context().messages().MsgBox(message.text, MsgButtons::Ok, message.icon,
                                      QStringLiteral("Relvano"));
    startTm();
}

bool FrmRestore::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == lv_->viewport() && event->type() == QEvent::MouseMove) ||
        event->type() == QEvent::KeyPress)
        startTm();
    return QDialog::eventFilter(watched, event);
}

void FrmRestore::keyPressEvent(QKeyEvent* event) {
    startTm();
    if (busy_)
        return;
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

void FrmRestore::closeEvent(QCloseEvent* event) {
    if (busy_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void FrmRestore::done(int r) {
    if (busy_)
        return;
    if (!closed_) {
        closed_ = true;
        hide();
        if (restored_)
            host_.reloadList();
    }
    QDialog::done(r);
}
