#include "editing/EntryValuesModel.h"

quint32 TypeToWrite(quint32 storedType) {
    return storedType == RegType::ExpandSz ? RegType::ExpandSz : RegType::Sz;
}

void EntryValuesModel::load(const QList<EntryValue>& values) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(values.size());
    for (const EntryValue& v : values)
        rows_.append({v.name, v.text, true, v.name, v.text, v.type});
    endResetModel();
}

int EntryValuesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int EntryValuesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant EntryValuesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    const EntryValueRow& r = rows_[index.row()];
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return index.column() == 0 ? r.name : r.data;
    return {};
}

QVariant EntryValuesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Name") : QStringLiteral("Data");
}

int EntryValuesModel::findName(const QString& name) const {
    for (int r = 0; r < count(); ++r) {
        if (rows_[r].name.compare(name, Qt::CaseInsensitive) == 0)
            return r;
    }
    return -1;
}

void EntryValuesModel::append(const QString& name, const QString& data) {
    beginInsertRows(QModelIndex(), count(), count());
    rows_.append({name, data, false, QString(), QString(), RegType::Sz});
    endInsertRows();
}

void EntryValuesModel::setRow(int r, const QString& name, const QString& data) {
    rows_[r].name = name;
    rows_[r].data = data;
    emit dataChanged(index(r, 0), index(r, 1));
}

void EntryValuesModel::removeValueRow(int r) {
    beginRemoveRows(QModelIndex(), r, r);
    rows_.removeAt(r);
    endRemoveRows();
}

bool EntryValuesModel::isSaved(int r) const {
    const EntryValueRow& row = rows_[r];
    return row.stored && row.name.compare(row.storedName, Qt::CaseInsensitive) == 0;
}

QList<ValueWrite> EntryValuesModel::pendingWrites() const {
    QList<ValueWrite> writes;
    for (int r = 0; r < count(); ++r) {
        const EntryValueRow& row = rows_[r];
        if (!row.stored)
            writes.append({r, row.name, row.data, RegType::Sz});
        else if (row.name != row.storedName || row.data != row.storedData)
            writes.append({r, row.name, row.data, TypeToWrite(row.storedType)});
    }
    return writes;
}

void EntryValuesModel::markWritten(int r, quint32 type) {
    EntryValueRow& row = rows_[r];
    row.stored = true;
    row.storedName = row.name;
    row.storedData = row.data;
    row.storedType = type;
}
