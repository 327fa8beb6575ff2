// FrmRestore, "Restore": the backup files of the backup folder; imports the
// selected ones back into the store and deletes selected files.
#pragma once

#include <QDialog>
#include <QStringList>

class MainWindowHost;
class ProgBar;
class QAction;
class QFrame;
class QLabel;
class QTimer;
class QTreeWidget;

class FrmRestore : public QDialog {
    Q_OBJECT
public:
    explicit FrmRestore(MainWindowHost& host, QWidget* parent = nullptr);

    // The commands, as the menus and the toolbar run them.
    void loadList();
    void restoreSelected();
    void deleteSelected();
    void selectAll() { setAllSelected(0); }
    void deselectAll() { setAllSelected(1); }
    void invertSelection() { setAllSelected(2); }

    // An import has run: the main list is reloaded when the window closes.
    bool restored() const { return restored_; }
    // Whether a restore is running (the window takes no commands then).
    bool busy() const { return busy_; }

signals:
    // Emitted before each file of a restore is imported (1-based), for tests
    // and screenshots that look at the window while it works.
    void restoringFile(qsizetype i, qsizetype n);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int r) override;

private:
    QStringList collectSelection() const;
    void refreshEnabled();
    void startTm();
    void setAllSelected(int how); // 0 select, 1 deselect, 2 invert
    void setBusy(bool busy);

    MainWindowHost& host_;
    QString folder_;
    QTreeWidget* lv_;
    QFrame* pic_;
    ProgBar* pro_;
    QLabel* lb_;
    QLabel* lb2_;
    QLabel* sb1_;
    QWidget* menuBar_;
    QWidget* toolBar_;
    QAction* mnuRestore_;
    QAction* mnuDelete_;
    QAction* mnuSelectAll_;
    QAction* mnuDeselectAll_;
    QAction* mnuInvert_;
    QAction* tbResFile_;
    QAction* tbDelete_;
    QTimer* tm_;
    bool restored_ = false;
    bool busy_ = false;
    bool closed_ = false;
};
