#include "app/ProgramListModel.h"

#include <algorithm>
#include <numeric>

void ProgramListModel::setRows(QList<ProgramRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ProgramListModel::setText(int r, const QString& text) {
    if (r < 0 || r >= rows_.size())
        return;
    rows_[r].text = text;
    emit dataChanged(index(r, 0), index(r, 0));
}

void ProgramListModel::setBackground(int r, const QColor& color) {
    if (r < 0 || r >= rows_.size())
        return;
    rows_[r].background = color;
    emit dataChanged(index(r, 0), index(r, 1), {Qt::BackgroundRole});
}

void ProgramListModel::setFileIcon(const QString& file, const QIcon& icon) {
    for (qsizetype r = 0; r < rows_.size(); ++r) {
        if (rows_[r].iconFile != file)
            continue;
        rows_[r].icon = icon;
        const QModelIndex at = index(static_cast<int>(r), 0);
        emit dataChanged(at, at, {Qt::DecorationRole});
    }
}

void ProgramListModel::clearBackgrounds() {
    for (ProgramRow& row : rows_)
        row.background = QColor();
    if (!rows_.isEmpty())
        emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, 1),
                         {Qt::BackgroundRole});
}

int ProgramListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ProgramListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ProgramListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size())
        return QVariant();
    const ProgramRow& row = rows_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return index.column() == 0 ? row.text : row.subItem;
    case Qt::DecorationRole:
        return index.column() == 0 ? QVariant(row.icon) : QVariant();
    case Qt::BackgroundRole:
        return row.background.isValid() ? QVariant(row.background) : QVariant();
    case Qt::ToolTipRole:
        return index.column() == 0 ? row.text : row.subItem;
    default:
        return QVariant();
    }
}

QVariant ProgramListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return section == 0 ? QStringLiteral("Program Name") : QStringLiteral("Uninstall String");
}

Qt::ItemFlags ProgramListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == 0)
        f |= Qt::ItemIsEditable;
    return f;
}

void ProgramListModel::sort(int, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<int> order_(rows_.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const int c = rows_[a].text.compare(rows_[b].text, Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    QList<ProgramRow> sorted;
    sorted.reserve(rows_.size());
    QList<int> newRow(rows_.size());
    for (int i = 0; i < order_.size(); ++i) {
        sorted.append(std::move(rows_[order_[i]]));
        newRow[order_[i]] = i;
    }
    rows_ = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from)
        to.append(this->index(newRow[index.row()], index.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
