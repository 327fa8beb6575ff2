// The entry editor's value list: one row per value, with its name and data
// as shown, and what the row stands for in the store (the value it was loaded
// from or last saved as, with that value's type and data). From that the
// model knows which rows a save must write, and with which type.
#pragma once

#include "editing/EntryStore.h"

#include <QAbstractTableModel>

struct EntryValueRow {
    QString name;
    QString data;
    bool stored = false; // the row was loaded from, or saved to, the store
    QString storedName;
    QString storedData;
    quint32 storedType = RegType::Sz;
};

// One value a save writes: the row, and the name, text and type to write.
struct ValueWrite {
    int row = 0;
    QString name;
    QString text;
    quint32 type = RegType::Sz;
};

// The type a changed value is written with: REG_EXPAND_SZ stays what it is
// (its %VARIABLES% keep working); any other type becomes REG_SZ, the text
// the user typed.
quint32 TypeToWrite(quint32 storedType);

class EntryValuesModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void load(const QList<EntryValue>& values);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const EntryValueRow& row(int r) const { return rows_[r]; }
    int count() const { return static_cast<int>(rows_.size()); }
    // The first row whose name equals name without regard to case; -1 if none.
    int findName(const QString& name) const;

    void append(const QString& name, const QString& data);
    void setRow(int r, const QString& name, const QString& data);
    void removeValueRow(int r);

    // The store holds a value under the row's current name: the row was
    // loaded or saved and has not been renamed since.
    bool isSaved(int r) const;
    // The rows a save writes, in list order: added rows, and rows whose name
    // or data differ from what the store holds. Untouched rows are not written.
    QList<ValueWrite> pendingWrites() const;
    // Records that a row was written with this type.
    void markWritten(int r, quint32 type);

private:
    QList<EntryValueRow> rows_;
};
