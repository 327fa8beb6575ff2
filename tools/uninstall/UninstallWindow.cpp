#include "tools/uninstall/UninstallWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

UninstallWindow::UninstallWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Uninstall"));
    setWindowIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("messageLabel"));
    message_->setWordWrap(true);
    message_->setMinimumWidth(420);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("packageList"));
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    deleteData_ = new QCheckBox(QStringLiteral("Also delete the app's own data"), this);
    deleteData_->setObjectName(QStringLiteral("deleteDataCheck"));
    uninstall_ = new QPushButton(QStringLiteral("Uninstall"), this);
    uninstall_->setObjectName(QStringLiteral("uninstallButton"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setObjectName(QStringLiteral("closeButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(uninstall_);
    buttons->addWidget(cancel_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(list_);
    layout->addWidget(deleteData_);
    layout->addLayout(buttons);

    connect(uninstall_, &QPushButton::clicked, this, [this] {
        answer_ = Answer::Yes;
        if (waiting_)
            waiting_->quit();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        answer_ = Answer::No;
        if (waiting_)
            waiting_->quit();
    });
    connect(close_, &QPushButton::clicked, this, [this] {
        answer_ = Answer::No;
        if (waiting_)
            waiting_->quit();
    });
    list_->hide();
    deleteData_->hide();
    uninstall_->hide();
    cancel_->hide();
    close_->hide();
}

void UninstallWindow::waitForAnswer() {
    answer_ = Answer::None;
    QEventLoop loop;
    waiting_ = &loop;
    loop.exec();
    waiting_ = nullptr;
}

void UninstallWindow::closeEvent(QCloseEvent* event) {
    // Closing the window is a "no" while a question is open; otherwise it
    // only ends the wait.
    if (waiting_) {
        answer_ = Answer::No;
        waiting_->quit();
    }
    QDialog::closeEvent(event);
}

void UninstallWindow::reject() {
    if (waiting_) {
        answer_ = Answer::No;
        waiting_->quit();
    }
}

void UninstallWindow::showProgress(const QString& text) {
    message_->setText(text);
    list_->hide();
    deleteData_->hide();
    uninstall_->hide();
    cancel_->hide();
    close_->hide();
    if (!isVisible())
        show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

UninstallChoice UninstallWindow::confirm(const UninstallPreview& preview) {
    setWindowTitle(QStringLiteral("Uninstall %1").arg(preview.displayName));
    message_->setText(preview.question);
    list_->clear();
    list_->addItems(preview.items);
    list_->setVisible(!preview.items.isEmpty());
    deleteData_->setChecked(false);
    deleteData_->setVisible(preview.offerDeleteData);
    uninstall_->show();
    cancel_->show();
    close_->hide();
    uninstall_->setDefault(true);
    cancel_->setFocus();
    if (!isVisible())
        show();
    waitForAnswer();
    UninstallChoice choice;
    choice.accepted = answer_ == Answer::Yes;
    choice.deleteData = choice.accepted && preview.offerDeleteData && deleteData_->isChecked();
    uninstall_->hide();
    cancel_->hide();
    deleteData_->hide();
    return choice;
}

void UninstallWindow::showOutcome(UninstallOutcome outcome, const QString& message) {
    if (outcome == UninstallOutcome::Success) {
        // The uninstall dialog of the main window says it is done.
        hide();
        return;
    }
    message_->setText(message);
    uninstall_->hide();
    cancel_->hide();
    deleteData_->hide();
    close_->show();
    close_->setDefault(true);
    close_->setFocus();
    if (!isVisible())
        show();
    waitForAnswer();
    hide();
}
