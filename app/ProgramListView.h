// Lv: the program list. One model shown by two views: a list view for large
// icons, small icons and list, a table for details. Each row is one entry:
// its key (the subkey name), its text (DisplayName), its second column
// (UninstallString) and its icon.
#pragma once

#include "core/Settings.h"

#include <QIcon>
#include <QStackedWidget>

class QAbstractItemView;
class QListView;
class ProgramListModel;
class QAbstractItemModel;
class QTableView;
class QModelIndex;

class ProgramListView : public QStackedWidget {
    Q_OBJECT
public:
    explicit ProgramListView(QWidget* parent = nullptr);

    // Filling: all rows at once; the order is applied by setSortOrder().
    void clear();
    void setRows(QList<struct ProgramRow> rows);
    int count() const;
    QString key(int row) const;
    QString text(int row) const;
    QString subItem(int row) const;
    int imageIndex(int row) const;
    QIcon icon(int row) const;
    void setText(int row, const QString& text);

    // -1 when nothing is selected.
    int selectedRow() const;
    void selectRow(int row); // selects and scrolls into view
    void clearSelection();

    void setView(ListViewKind view);
    ListViewKind view() const { return view_; }
    void setSortOrder(SortOrder order);
    SortOrder sortOrder() const { return order_; }
    void setGridLines(bool on);
    void setFullRowSelect(bool on);

    void setItemBackground(int row, const QColor& color);
    void setFileIcon(const QString& file, const QIcon& icon);
    QColor itemBackground(int row) const;
    void clearItemBackgrounds();

    // Starts the in-place edit of the selected row's text.
    void editSelected();
    // Fits the "Uninstall String" column to the width the first one leaves.
    void fitColumns();

    QAbstractItemView* currentView() const;
    QTableView* detailsView() const { return table_; }
    QListView* iconView() const { return list_; }
    QAbstractItemModel* model() const;

signals:
    void itemClicked(int row);
    void itemDoubleClicked(int row);
    void mousePressed(Qt::MouseButton button);
    void rightButtonReleased();
    void keyPressed(int key);
    void selectionChanged();
    void nameHeaderClicked();
    void editStarted(int row);
    // The edit ended with text; the slot decides (setText to keep it).
    void renameRequested(int row, const QString& newText);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectView(QAbstractItemView* view);

    ProgramListModel* model_;
    QListView* list_;
    QTableView* table_;
    ListViewKind view_ = ListViewKind::LargeIcons;
    SortOrder order_ = SortOrder::Ascending;
};
