// FrmAddNew, "Add New Program": a three-page wizard that shows facts about an
// installer and the fixed drives, launches the installer, and when the user
// says the installation is over reloads the list. Every close after a launch
// appends an install record.
#pragma once

#include <QDialog>

#include <functional>

class AppContext;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTimer;
class QTreeWidget;

class FrmAddNew : public QDialog {
    Q_OBJECT
public:
    FrmAddNew(AppContext& context, std::function<void()> reloadList, QWidget* parent = nullptr);

    int page() const { return page_; }
    bool launched() const { return launched_; }
    int elapsedSeconds() const { return seconds_; }
    void fillProgramInfo();
    void fillSpaceInfo();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int r) override;

private:
    void next();
    void back();
    void finish();
    void browse();
    bool installerExists() const;

    AppContext& context_;
    std::function<void()> reloadList_;
    QLabel* tip_;
    QStackedWidget* pages_;
    QLineEdit* txt_;
    QTabBar* tabs_;
    QTreeWidget* lv_;
    QTreeWidget* lv2_;
    QLabel* lbTip_;
    QPushButton* back_;
    QPushButton* next_;
    QPushButton* cancel_;
    QPushButton* ok_;
    QTimer* time_;
    int page_ = 0;
    bool launched_ = false;
    int seconds_ = 0;
    bool recorded_ = false;
};
