// The rows of the program list: key, text, second column, icon and the
// colour the find panel gave them. Filled in one go by each reload.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>

struct ProgramRow {
    QString key;
    QString text;
    QString subItem;
    QIcon icon;
    int imageIndex = 0;
    QString iconFile;  // the file the icon comes from; empty for the default icon
    QColor background; // invalid: none
};

class ProgramListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<ProgramRow> rows);
    const ProgramRow& row(int r) const { return rows_[r]; }
    void setText(int r, const QString& text);
    void setBackground(int r, const QColor& color);
    // Gives every row whose icon comes from file that icon.
    void setFileIcon(const QString& file, const QIcon& icon);
    void clearBackgrounds();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Orders the rows by their text, without regard to case.
    void sort(int column, Qt::SortOrder order) override;

private:
    QList<ProgramRow> rows_;
};
