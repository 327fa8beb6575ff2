#include "app/ProgramListView.h"

#include "app/ProgramListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

// Hands the edited text to the list instead of writing it to the model, so
// the main window decides whether the rename stands.
class RenameDelegate : public QStyledItemDelegate {
public:
    RenameDelegate(ProgramListView* list, QObject* parent)
        : QStyledItemDelegate(parent), list_(list) {}
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        const QString text = editor->property("text").toString();
        QMetaObject::invokeMethod(
            list_,
            [list = list_, row = index.row(), text] { emit list->renameRequested(row, text); },
            Qt::QueuedConnection);
    }

private:
    ProgramListView* list_;
};

} // namespace

ProgramListView::ProgramListView(QWidget* parent)
    : QStackedWidget(parent), model_(new ProgramListModel(this)), list_(new QListView(this)),
      table_(new QTableView(this)) {
    setObjectName(QStringLiteral("Lv"));

    list_->setObjectName(QStringLiteral("LvIcons"));
    list_->setModel(model_);
    list_->setModelColumn(0);
    list_->setLayoutMode(QListView::Batched);
    list_->setBatchSize(500);
    list_->setResizeMode(QListView::Adjust);
    list_->setWordWrap(true);

    table_->setObjectName(QStringLiteral("LvDetails"));
    table_->setModel(model_);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->horizontalHeader()->setSectionsClickable(true);
    table_->setColumnWidth(0, 2000 / 15 + 60);
    table_->setWordWrap(false);
    table_->setShowGrid(false);
    table_->setIconSize(QSize(16, 16));
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == 0)
            emit nameHeaderClicked();
    });

    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(list_), static_cast<QAbstractItemView*>(table_)}) {
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setItemDelegateForColumn(0, new RenameDelegate(this, view));
        view->setContextMenuPolicy(Qt::NoContextMenu);
        connectView(view);
        addWidget(view);
    }
    // Both views share one selection.
    table_->setSelectionModel(list_->selectionModel());
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ProgramListView::selectionChanged);
    setFullRowSelect(true);
    setView(ListViewKind::LargeIcons);
}

void ProgramListView::connectView(QAbstractItemView* view) {
    view->viewport()->installEventFilter(this);
    view->installEventFilter(this);
    connect(view, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { emit itemClicked(index.row()); });
    connect(view, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit itemDoubleClicked(index.row()); });
}

bool ProgramListView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        emit mousePressed(static_cast<QMouseEvent*>(event)->button());
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        // A right click selects what is under it first, as the list control did.
        auto* view = qobject_cast<QAbstractItemView*>(watched->parent());
        if (view) {
            const QModelIndex index =
                view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (index.isValid()) {
                view->setCurrentIndex(index);
                emit itemClicked(index.row());
            }
        }
        emit rightButtonReleased();
    } else if (event->type() == QEvent::KeyPress && qobject_cast<QAbstractItemView*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // The key moves the selection first; the window then sees it.
        QMetaObject::invokeMethod(
            this, [this, key] { emit keyPressed(key); }, Qt::QueuedConnection);
    }
    return QStackedWidget::eventFilter(watched, event);
}

void ProgramListView::clear() {
    model_->setRows({});
}

void ProgramListView::setRows(QList<ProgramRow> rows) {
    model_->setRows(std::move(rows));
}

QAbstractItemModel* ProgramListView::model() const {
    return model_;
}

int ProgramListView::count() const {
    return model_->rowCount();
}

QString ProgramListView::key(int row) const {
    return row >= 0 && row < count() ? model_->row(row).key : QString();
}

QString ProgramListView::text(int row) const {
    return model_->index(row, 0).data().toString();
}

QString ProgramListView::subItem(int row) const {
    return model_->index(row, 1).data().toString();
}

int ProgramListView::imageIndex(int row) const {
    return row >= 0 && row < count() ? model_->row(row).imageIndex : -1;
}

QIcon ProgramListView::icon(int row) const {
    return model_->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
}

void ProgramListView::setText(int row, const QString& text) {
    model_->setText(row, text);
}

int ProgramListView::selectedRow() const {
    const QModelIndexList rows = list_->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ProgramListView::selectRow(int row) {
    const QModelIndex index = model_->index(row, 0);
    if (!index.isValid())
        return;
    list_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect |
                   (table_->selectionBehavior() == QAbstractItemView::SelectRows
                        ? QItemSelectionModel::Rows
                        : QItemSelectionModel::NoUpdate));
    currentView()->scrollTo(index);
}

void ProgramListView::clearSelection() {
    list_->selectionModel()->clearSelection();
}

QAbstractItemView* ProgramListView::currentView() const {
    return view_ == ListViewKind::Details ? static_cast<QAbstractItemView*>(table_)
                                          : static_cast<QAbstractItemView*>(list_);
}

void ProgramListView::setView(ListViewKind view) {
    view_ = view;
    switch (view) {
    case ListViewKind::LargeIcons:
        list_->setViewMode(QListView::IconMode);
        list_->setIconSize(QSize(32, 32));
        list_->setGridSize(QSize(104, 76));
        list_->setFlow(QListView::LeftToRight);
        list_->setWrapping(true);
        list_->setMovement(QListView::Static);
        list_->setTextElideMode(Qt::ElideRight);
        list_->setUniformItemSizes(false);
        break;
    case ListViewKind::SmallIcons:
        list_->setViewMode(QListView::ListMode);
        list_->setIconSize(QSize(16, 16));
        list_->setGridSize(QSize(200, 20));
        list_->setUniformItemSizes(false);
        list_->setFlow(QListView::LeftToRight);
        list_->setWrapping(true);
        break;
    case ListViewKind::List:
        list_->setViewMode(QListView::ListMode);
        list_->setIconSize(QSize(16, 16));
        list_->setGridSize(QSize(200, 20));
        list_->setUniformItemSizes(false);
        list_->setFlow(QListView::TopToBottom);
        list_->setWrapping(true);
        break;
    case ListViewKind::Details:
        break;
    }
    setCurrentWidget(currentView());
    setSortOrder(order_);
    if (selectedRow() >= 0)
        currentView()->scrollTo(model_->index(selectedRow(), 0));
}

void ProgramListView::setSortOrder(SortOrder order) {
    order_ = order;
    QHeaderView* header = table_->horizontalHeader();
    if (order == SortOrder::Unsorted) {
        header->setSortIndicatorShown(false);
        return;
    }
    const Qt::SortOrder qtOrder =
        order == SortOrder::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    header->setSortIndicatorShown(true);
    header->setSortIndicator(0, qtOrder);
    model_->sort(0, qtOrder);
}

void ProgramListView::setGridLines(bool on) {
    table_->setShowGrid(on);
}

void ProgramListView::setFullRowSelect(bool on) {
    table_->setSelectionBehavior(on ? QAbstractItemView::SelectRows
                                    : QAbstractItemView::SelectItems);
}

void ProgramListView::setFileIcon(const QString& file, const QIcon& icon) {
    model_->setFileIcon(file, icon);
}

void ProgramListView::setItemBackground(int row, const QColor& color) {
    model_->setBackground(row, color);
}

QColor ProgramListView::itemBackground(int row) const {
    const QColor color = row >= 0 && row < count() ? model_->row(row).background : QColor();
    return color.isValid() ? color : QColor(Qt::white);
}

void ProgramListView::clearItemBackgrounds() {
    model_->clearBackgrounds();
}

void ProgramListView::editSelected() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const QModelIndex index = model_->index(row, 0);
    emit editStarted(row);
    currentView()->setCurrentIndex(index);
    currentView()->edit(index);
}

void ProgramListView::resizeEvent(QResizeEvent* event) {
    QStackedWidget::resizeEvent(event);
    fitColumns();
}

void ProgramListView::fitColumns() {
    // The second column takes the rest; room for the scroll bar when it shows.
    const int rowsHeight = count() * table_->verticalHeader()->defaultSectionSize();
    const bool scroll = rowsHeight > table_->viewport()->height();
    const int rest = width() - table_->columnWidth(0) - (scroll ? 310 : 60) / 15;
    table_->setColumnWidth(1, std::max(rest, 100));
}
