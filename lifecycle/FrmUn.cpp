#include "lifecycle/FrmUn.h"

#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/TextHelpers.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QTimer* MakeTimer(QObject* parent, const char* name, int interval) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(interval);
    return timer;
}
} // namespace

FrmUn::FrmUn(AppContext& context, const QString& key, const QString& programName,
             std::function<void()> reloadList, QWidget* parent)
    : QDialog(parent), context_(context), key_(key), programName_(programName),
      reloadList_(std::move(reloadList)), pn_(new QLabel(this)),
      label1_(
          new QLabel(QStringLiteral("Are you sure you want to uninstall this program ?"), this)),
      image1_(new QLabel(this)), yes_(new QPushButton(QStringLiteral("Yes"), this)),
      no_(new QPushButton(QStringLiteral("No"), this)), pic_(new QWidget(this)),
      tip_(new QLabel(QStringLiteral("Initializing the program uninstaller , Pease wait... "),
                      pic_)),
      cont_(new QPushButton(QStringLiteral("Continue"), pic_)),
      del_(new QPushButton(QStringLiteral("Clean Program"), pic_)),
      close_(new QPushButton(QStringLiteral("Close"), pic_)), smart_(MakeTimer(this, "Smart", 50)),
      tmc_(MakeTimer(this, "Tmc", 50)), tm_(MakeTimer(this, "Tm", 200)),
      time_(MakeTimer(this, "Time", 1000)) {
    setObjectName(QStringLiteral("FrmUn"));
    setWindowTitle(QStringLiteral("Confirm Uninstall"));
    pn_->setObjectName(QStringLiteral("Pn"));
    label1_->setObjectName(QStringLiteral("Label1"));
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    yes_->setObjectName(QStringLiteral("Cmd_Yes"));
    no_->setObjectName(QStringLiteral("Cmd_No"));
    pic_->setObjectName(QStringLiteral("Pic"));
    tip_->setObjectName(QStringLiteral("Tip"));
    tip_->setWordWrap(true);
    tip_->setMinimumHeight(tip_->fontMetrics().height() * 3);
    cont_->setObjectName(QStringLiteral("Cmd_Cont"));
    del_->setObjectName(QStringLiteral("Del"));
    close_->setObjectName(QStringLiteral("Cmd_Close"));

    auto* question = new QHBoxLayout;
    question->addWidget(image1_, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(pn_);
    texts->addWidget(label1_);
    question->addLayout(texts, 1);
    auto* answers = new QHBoxLayout;
    answers->addStretch();
    answers->addWidget(yes_);
    answers->addWidget(no_);
    auto* panelButtons = new QHBoxLayout;
    panelButtons->addStretch();
    panelButtons->addWidget(cont_);
    panelButtons->addWidget(del_);
    panelButtons->addWidget(close_);
    auto* panel = new QVBoxLayout(pic_);
    panel->setContentsMargins(0, 6, 0, 0);
    panel->addWidget(tip_);
    panel->addLayout(panelButtons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addLayout(answers);
    layout->addWidget(pic_);
    setMinimumWidth(460);
    pic_->hide();
    cont_->hide();
    del_->hide();
    close_->hide();

    connect(yes_, &QPushButton::clicked, this, &FrmUn::yes);
    connect(no_, &QPushButton::clicked, this, [this] { finish(); });
    connect(cont_, &QPushButton::clicked, this, &FrmUn::continueClicked);
    connect(close_, &QPushButton::clicked, this, &FrmUn::closeClicked);
    connect(del_, &QPushButton::clicked, this, &FrmUn::cleanProgram);
    connect(smart_, &QTimer::timeout, this, &FrmUn::smartTick);
    connect(tmc_, &QTimer::timeout, this, &FrmUn::processTick);
    connect(tm_, &QTimer::timeout, this, &FrmUn::launchTick);
    connect(time_, &QTimer::timeout, this, [this] { ++seconds_; });

    // Load: no close box; the program name; the two watches run from now on.
    RemoveSystemMenuItems(this, 1, 2);
    pn_->setText(QStringLiteral("Program Name : ") + programName_);
    smart_->start();
    tmc_->start();
}

QString FrmUn::uninstallString() const {
    return context_.entries().value(key_, QStringLiteral("UninstallString"));
}

void FrmUn::noCommandState() {
    tip_->setText(QStringLiteral("Can,t find uninstall string"));
    for (QWidget* w :
         {static_cast<QWidget*>(no_), static_cast<QWidget*>(yes_), static_cast<QWidget*>(image1_),
          static_cast<QWidget*>(pn_), static_cast<QWidget*>(label1_)})
        w->hide();
}

void FrmUn::smartTick() {
    const ValueRead read = context_.entries().read(key_, QStringLiteral("UninstallString"));
    // A store that cannot be read now says nothing about the entry: the
    // watch goes on and looks again on the next tick.
    if (read.failed() || HasNonSpace(read.text))
        return;
    setWindowTitle(QStringLiteral("Relvano"));
    if (started_) {
        tip_->setText(QStringLiteral("Uninstall complete successfully..."));
        completed_ = true;
    } else {
        noCommandState();
        del_->show();
    }
    pic_->show();
    no_->hide();
    yes_->hide();
    cont_->hide();
    close_->show();
}

void FrmUn::yes() {
    // The question is answered: a second "Yes" would start a second uninstaller.
    yes_->hide();
    no_->hide();
    // The command started is the one of the entry this dialog names and watches.
    command_ = uninstallString();
    started_ = true;
    pic_->show();
    tm_->start();
}

void FrmUn::launchTick() {
    tm_->stop();
    setWindowTitle(QStringLiteral("Uninstalling Program"));
    cont_->show();
    cont_->setFocus();
    const LaunchResult launch = context_.processes().Start(command_);
    if (launch.ok()) {
        pid_ = launch.pid;
        tip_->setText(
            QStringLiteral("Initializing Success , Waiting for uninstaller to compelete\r\n"
                           "Press 'Continue' when the program uninstaller complete."));
        time_->start();
        return;
    }
    // Every launch failure ends the same way: the command did not run, so the
    // entry can only be cleaned away. A missing program reads as the program
    // always said it; any other failure shows its reason too.
    noCommandState();
    if (launch.error != LaunchError::FileNotFound && launch.error != LaunchError::PathNotFound)
        tip_->setText(QStringLiteral("Can,t start the uninstall command\r\n") + launch.message);
    // Nothing runs: "Continue" checks the entry at once instead of waiting.
    finished_ = true;
    repaint();
    del_->show();
    close_->setText(QStringLiteral("Cancel"));
    close_->show();
    del_->setFocus();
}

void FrmUn::processTick() {
    if (pid_ == 0)
        return;
    if (context_.processes().IsRunning(pid_)) {
        finished_ = false;
        return;
    }
    finished_ = true;
    time_->stop();
    pid_ = 0;
}

void FrmUn::continueClicked() {
    if (finished_) {
        completionCheck();
        return;
    }
    tip_->setText(
        QStringLiteral("Program Uninstaller is already opened\r\nUninstallation not complete."));
    close_->show();
    close_->setFocus();
}

void FrmUn::completionCheck() {
    const ValueRead read = context_.entries().read(key_, QStringLiteral("UninstallString"));
    if (read.failed()) {
        // Neither gone nor still there: say so and let the user look again.
        tip_->setText(QStringLiteral("The list of installed programs cannot be read at the "
                                     "moment.\r\nPress 'Continue' to check again."));
        close_->show();
        return;
    }
    const bool gone = read.text.isEmpty();
    cont_->hide();
    no_->hide();
    yes_->hide();
    if (gone) {
        tip_->setText(QStringLiteral("Uninstall complete successfully..."));
        close_->show();
        close_->setFocus();
        completed_ = true;
    } else {
        tip_->setText(QStringLiteral("Uninstallation not complete\r\nProgram name was not removed "
                                     "from the list \r\nClick 'Clean Program' to remove it."));
        completed_ = false;
        del_->show();
        del_->setFocus();
        close_->setText(QStringLiteral("Cancel"));
        close_->show();
    }
    time_->stop();
    pid_ = 0;
}

void FrmUn::closeClicked() {
    hide();
    if (completed_ && reloadList_)
        reloadList_();
    context_.history().AppendUninstallRecord(programName_, completed_, false, seconds_);
    finish();
}

void FrmUn::cleanProgram() {
    del_->setEnabled(false);
    close_->setEnabled(false);
    // An entry that is already gone (its uninstaller removed it late, or it
    // was gone when the dialog opened) is simply recorded as removed.
    UninstallEntries& entries = context_.entries();
    if (entries.backupAndRemove(key_, programName_) ==
        UninstallEntries::RemoveOutcome::NotBackedUp) {
        context_.messages().MsgBox(entries.notBackedUpMessage(key_, programName_), MsgButtons::Ok,
                                   MsgIcon::Critical, QStringLiteral("Relvano"));
        del_->setEnabled(true);
        close_->setEnabled(true);
        return;
    }
    context_.history().AppendUninstallRecord(programName_, completed_, true, seconds_);
    hide();
    if (reloadList_)
        reloadList_();
    finish();
}

void FrmUn::finish() {
    ending_ = true;
    smart_->stop();
    tmc_->stop();
    tm_->stop();
    time_->stop();
    done(QDialog::Accepted);
}

void FrmUn::closeEvent(QCloseEvent* event) {
    // The close box is gone; a close from the window manager is refused too.
    if (ending_)
        event->accept();
    else
        event->ignore();
}

void FrmUn::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        finish();
        return;
    }
    QDialog::keyPressEvent(event);
}
