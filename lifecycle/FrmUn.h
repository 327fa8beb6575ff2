// FrmUn, "Confirm Uninstall": runs the selected program's own uninstaller and
// watches the Uninstall key until the entry is gone. Four timers poll on the
// GUI thread: Smart (the entry's UninstallString, 50 ms), Tmc (the process,
// 50 ms), Tm (the launch, once, 200 ms after "Yes") and Time (seconds).
// When the entry stays, "Clean Program" backs it up and deletes it.
#pragma once

#include <QDialog>

#include <functional>

class AppContext;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;

class FrmUn : public QDialog {
    Q_OBJECT
public:
    // key, programName: the selected row's key and text; reloadList: the main
    // window's ResetList.
    FrmUn(AppContext& context, const QString& key, const QString& programName,
          std::function<void()> reloadList, QWidget* parent = nullptr);

    bool started() const { return started_; }
    bool completed() const { return completed_; }
    bool uninstallerFinished() const { return finished_; }
    int elapsedSeconds() const { return seconds_; }
    qint64 processId() const { return pid_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void smartTick();
    void launchTick();
    void processTick();
    void yes();
    void continueClicked();
    void completionCheck();
    void closeClicked();
    void cleanProgram();
    void noCommandState();
    QString uninstallString() const;
    void finish();

    AppContext& context_;
    QString key_;
    QString programName_;
    std::function<void()> reloadList_;
    QString command_; // the entry's UninstallString when "Yes" was pressed

    QLabel* pn_;
    QLabel* label1_;
    QLabel* image1_;
    QPushButton* yes_;
    QPushButton* no_;
    QWidget* pic_;
    QLabel* tip_;
    QPushButton* cont_;
    QPushButton* del_;
    QPushButton* close_;
    QTimer* smart_;
    QTimer* tmc_;
    QTimer* tm_;
    QTimer* time_;

    bool started_ = false;
    qint64 pid_ = 0;
    bool finished_ = false;
    bool completed_ = false;
    int seconds_ = 0;
    bool ending_ = false;
};
