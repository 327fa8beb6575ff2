// FrmBackup, "Backup": exports every entry of the main list, in list order,
// to its backup file in the backup folder, with a progress bar.
#pragma once

#include <QDialog>

class MainWindowHost;
class ProgBar;
class QLabel;
class QPushButton;

class FrmBackup : public QDialog {
    Q_OBJECT
public:
    explicit FrmBackup(MainWindowHost& host, QWidget* parent = nullptr);

    // "Backup": runs to the end, then the dialog shows the outcome and "Close".
    void backupAll();
    bool busy() const { return busy_; }
    // Closes the window, unless it is writing.
    void reject() override;

signals:
    // Emitted after each row (1-based), for tests and screenshots that look
    // at the dialog while it works.
    void rowDone(qsizetype row, qsizetype rows);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void finish(const QStringList& failed, bool folderMissing);

    MainWindowHost& host_;
    QWidget* pic_;
    ProgBar* pro_;
    QLabel* lb_;
    QPushButton* cmdBackup_;
    QPushButton* cmdCancel_;
    bool busy_ = false;
};
