#include "tests/support/ModalAnswer.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {
constexpr int PollMs = 10;
} // namespace

ModalAnswer::ModalAnswer(std::function<void(QWidget*)> act, int timeoutMs)
    : act_(std::move(act)), timer_(new QTimer(this)), remainingPolls_(timeoutMs / PollMs) {
    timer_->setInterval(PollMs);
    connect(timer_, &QTimer::timeout, this, &ModalAnswer::poll);
    timer_->start();
}

ModalAnswer::~ModalAnswer() = default;

QString ModalAnswer::failure() const {
    if (!failure_.isEmpty())
        return failure_;
    return acted_ ? QString() : QStringLiteral("no modal dialog appeared");
}

void ModalAnswer::poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) {
        if (--remainingPolls_ <= 0) {
            timer_->stop();
            failure_ = QStringLiteral("no modal dialog appeared in time");
        }
        return;
    }
    timer_->stop();
    title_ = dialog->windowTitle();
    QPointer<QWidget> watched(dialog);
    act_(dialog);
    acted_ = true;
    if (watched && watched->isVisible())
        failure_ = QStringLiteral("the dialog \"%1\" is still open after the answer").arg(title_);
}
