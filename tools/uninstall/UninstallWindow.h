// The window of relvano-uninstall: tells what it is doing, shows what would
// be removed and asks, then tells how it ended. Its controls carry object
// names for tests: messageLabel, packageList, deleteDataCheck,
// uninstallButton, cancelButton, closeButton.
#pragma once

#include "system/Uninstaller.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QEventLoop;

class UninstallWindow final : public QDialog, public UninstallUi {
    Q_OBJECT
public:
    explicit UninstallWindow(QWidget* parent = nullptr);

    void showProgress(const QString& text) override;
    UninstallChoice confirm(const UninstallPreview& preview) override;
    void showOutcome(UninstallOutcome outcome, const QString& message) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    enum class Answer { None, Yes, No };
    void waitForAnswer();

    QLabel* message_;
    QListWidget* list_;
    QCheckBox* deleteData_;
    QPushButton* uninstall_;
    QPushButton* cancel_;
    QPushButton* close_;
    QEventLoop* waiting_ = nullptr;
    Answer answer_ = Answer::None;
};
