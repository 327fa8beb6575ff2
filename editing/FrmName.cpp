#include "editing/FrmName.h"

#include "controls/WindowHelpers.h"
#include "core/Settings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

FrmName::FrmName(const QString& configIni, QWidget* parent)
    : QDialog(parent), configIni_(configIni), message_(new QLabel(this)),
      dontAsk_(new QCheckBox(QStringLiteral("Don't show this dialog a gain"), this)) {
    setObjectName(QStringLiteral("FrmName"));
    setWindowTitle(QStringLiteral("Confirm Program Rename"));
    message_->setObjectName(QStringLiteral("Lb"));
    message_->setWordWrap(true);
    dontAsk_->setObjectName(QStringLiteral("Chk"));
    auto* picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    auto* yes = new QPushButton(QStringLiteral("Yes"), this);
    yes->setObjectName(QStringLiteral("Cmd_Yes"));
    auto* no = new QPushButton(QStringLiteral("No"), this);
    no->setObjectName(QStringLiteral("Cmd_No"));
    connect(yes, &QPushButton::clicked, this, [this] {
        result_ = true;
        accept();
    });
    connect(no, &QPushButton::clicked, this, [this] {
        result_ = false;
        reject();
    });

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(message_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(dontAsk_);
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(440);
}

void FrmName::RenErrorShow(const QString& newName) {
    message_->setText(QStringLiteral("A program with the name '") + newName +
                      QStringLiteral("' is already exists.\r\nyou can name two programs with the "
                                     "same name, but this is not recommended\r\n\r\nDid you want "
                                     "to continue with this name ?"));
}

void FrmName::done(int r) {
    SaveSkipRenameQuestion(configIni_, dontAsk_->isChecked());
    QDialog::done(r);
}

void FrmName::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}
