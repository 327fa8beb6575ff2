// FrmLog, "History": the install and uninstall histories, one at a time; the
// fields of the selected record; clearing a history and printing a record.
#pragma once

#include "core/HistoryLog.h"

#include <QDateTime>
#include <QDialog>

class AppContext;
class QAction;
class QLabel;
class QPlainTextEdit;
class QTreeWidget;

// The printed report of one record: the view's title, the rows, and the
// "History Report" footer; CR LF line ends, none after the last line.
QString HistoryReportText(bool installView, const QList<std::pair<QString, QString>>& rows,
                          const QDateTime& createdAt);

class FrmLog : public QDialog {
    Q_OBJECT
public:
    explicit FrmLog(AppContext& context, QWidget* parent = nullptr);

    int view() const { return view_; } // 1 installs, 2 uninstalls, 0 before the first
    void showInstalled();
    void showUninstalled();
    void clearHistory();
    void printRecord();
    void selectEntry(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int r) override;

private:
    void showHistory(int view);
    void fillDetails();
    void updateButtons();
    void updateStatus();
    QList<std::pair<QString, QString>> detailRows() const;

    AppContext& context_;
    QAction* tbIn_;
    QAction* tbUn_;
    QAction* tbClear_;
    QAction* tbPrint_;
    QTreeWidget* tv_;
    QTreeWidget* lv_;
    QLabel* sb_;
    QPlainTextEdit* txtPrint_;
    int view_ = 0;
    HistoryLog::View shown_; // the history file of the view shown
};
