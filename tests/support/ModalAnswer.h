// Answers the next modal dialog a test opens: the test arms the answer, then
// runs what opens the dialog (whose exec() blocks); once the dialog is the
// active modal widget the answer acts on it, and records whether it closed.
//
//   ModalAnswer answer([](QWidget* dialog) {
//       dialog->findChild<QPushButton*>("Cmd_Yes")->click();
//   });
//   main->deleteSelectedEntry();          // opens the dialog
//   QVERIFY2(answer.answered(), qPrintable(answer.failure()));
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QTimer;
class QWidget;

class ModalAnswer : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswer(std::function<void(QWidget* dialog)> act, int timeoutMs = 5000);
    ~ModalAnswer() override;

    // The dialog appeared, was acted on and closed.
    bool answered() const { return failure_.isEmpty() && acted_; }
    // Why it was not answered; empty when it was.
    QString failure() const;
    // The title of the dialog that was answered.
    QString title() const { return title_; }

private:
    void poll();

    std::function<void(QWidget*)> act_;
    QTimer* timer_;
    int remainingPolls_;
    bool acted_ = false;
    QString title_;
    QString failure_;
};
