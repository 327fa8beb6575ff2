#include "backup/FrmBackup.h"

#include "backup/BackupLogic.h"
#include "controls/ProgBar.h"
#include "controls/ProgressPacer.h"
#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "dialogs/MainWindowHost.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr qsizetype kMaxNamesShown = 10;

} // namespace

FrmBackup::FrmBackup(MainWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("FrmBackup"));
    setWindowTitle(QStringLiteral("Backup"));

    // The panel with the hint lies over the progress text and bar until the
    // backup starts.
    auto* progress = new QWidget(this);
    lb_ = new QLabel(progress);
    lb_->setObjectName(QStringLiteral("Lb"));
    pro_ = new ProgBar(progress);
    pro_->setObjectName(QStringLiteral("Pro"));
    pro_->setFixedHeight(18);
    pro_->StartColor = 0xB4822F; // blue to light blue
    pro_->EndColor = 0xF5DEB0;
    auto* progressLayout = new QVBoxLayout(progress);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    progressLayout->addWidget(lb_);
    progressLayout->addWidget(pro_);
    pic_ = new QFrame(this);
    pic_->setObjectName(QStringLiteral("Pic"));
    pic_->setAutoFillBackground(true);
    auto* tip = new QLabel(QStringLiteral("Press Backup to start."), pic_);
    tip->setObjectName(QStringLiteral("Tip"));
    auto* picLayout = new QVBoxLayout(pic_);
    picLayout->setContentsMargins(0, 0, 0, 0);
    picLayout->addWidget(tip);
    auto* area = new QGridLayout;
    area->addWidget(progress, 0, 0);
    area->addWidget(pic_, 0, 0);

    cmdBackup_ = new QPushButton(QStringLiteral("Backup"), this);
    cmdBackup_->setObjectName(QStringLiteral("Cmd_Backup"));
    cmdBackup_->setDefault(true);
    cmdCancel_ = MakeCancelButton(this);
    LayOutDialog(this, area, {cmdBackup_, cmdCancel_});
    setFixedSize(400, 130);

    connect(cmdBackup_, &QPushButton::clicked, this, &FrmBackup::backupAll);
}

void FrmBackup::backupAll() {
    if (busy_)
        return;
    busy_ = true;
    UninstallEntries& entries = host_.context().entries();
    BackupBatch batch(entries);
    const bool folderMade = batch.prepare();
    repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cmdBackup_->hide();
    cmdCancel_->setEnabled(false);
    pic_->hide();

    const QList<ListedProgram> rows = folderMade ? host_.listedPrograms() : QList<ListedProgram>();
    const qsizetype n = rows.size();
    pro_->setMax(ProgressBarMax(n));
    pro_->setValue(0);
    QStringList unreadable;
    ProgressPacer pace;
    // One consistent read of the store for the whole list, which also spares
    // every read its own transaction.
    const auto snapshot = host_.context().store().BeginReadBatch();
    for (qsizetype i = 0; i < n; ++i) {
        lb_->setText(BackupProgressText(i, n));
        if (QueueBackup(batch, entries, rows[i].key) == RowBackup::NameUnreadable)
            unreadable.append(rows[i].text);
        if (const int value = ProgressBarValue(i + 1, n); value != pro_->Value())
            pro_->setValue(value);
        pace();
        emit rowDone(i + 1, n);
    }
    // The last files are still being written.
    const QStringList failed = unreadable + batch.finish();
    QApplication::restoreOverrideCursor();
    finish(failed, !folderMade);
}

void FrmBackup::finish(const QStringList& failed, bool folderMissing) {
    pro_->hide();
    cmdCancel_->setText(QStringLiteral("Close"));
    cmdCancel_->setEnabled(true);
    cmdCancel_->setFocus();
    busy_ = false;
    const QString folder = QDir::toNativeSeparators(host_.context().entries().backupFolder());
    if (folderMissing) {
        lb_->setText(QStringLiteral("No backup was created."));
        host_.context().messages().MsgBox(
            QStringLiteral("The backup folder \"%1\" could not be created, so nothing was "
                           "backed up.")
                .arg(folder),
            MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
        return;
    }
    if (failed.isEmpty()) {
        lb_->setText(QStringLiteral("Backup Creation Complete."));
        return;
    }
    lb_->setText(QStringLiteral("Backup finished, %1 of the programs could not be backed up.")
                     .arg(failed.size()));
    QStringList lines{
        QStringLiteral("These programs could not be backed up to \"%1\":").arg(folder), QString()};
    for (qsizetype i = 0; i < failed.size() && i < kMaxNamesShown; ++i)
        lines.append(failed[i]);
    if (failed.size() > kMaxNamesShown)
        lines.append(QStringLiteral("and %1 more").arg(failed.size() - kMaxNamesShown));
    host_.context().messages().MsgBox(lines.join(QStringLiteral("\r\n")), MsgButtons::Ok,
                                      MsgIcon::Exclamation, QStringLiteral("Relvano"));
}

void FrmBackup::keyPressEvent(QKeyEvent* event) {
    if (busy_)
        return;
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

void FrmBackup::closeEvent(QCloseEvent* event) {
    if (busy_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void FrmBackup::reject() {
    if (!busy_)
        QDialog::reject();
}
