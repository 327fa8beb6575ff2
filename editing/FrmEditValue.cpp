#include "editing/FrmEditValue.h"

#include "controls/WindowHelpers.h"
#include "core/Services.h"
#include "editing/EntryValuesModel.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString DuplicateValueNameMessage(const QString& name) {
    return QStringLiteral("The name \"") + name +
           QStringLiteral("\" is already exists , Please type another name");
}

ValueDialog::ValueDialog(const char* objectName, const QString& caption,
                         const EntryValuesModel& values, MessageService& messages, QWidget* parent)
    : QDialog(parent), values_(values), messages_(messages), txtName_(new QLineEdit(this)),
      txtValue_(new QLineEdit(this)), ok_(new QPushButton(QStringLiteral("Ok"), this)) {
    setObjectName(QLatin1String(objectName));
    setWindowTitle(caption);
    txtName_->setObjectName(QStringLiteral("TxtName"));
    txtValue_->setObjectName(QStringLiteral("TxtValue"));
    ok_->setObjectName(QStringLiteral("Cmd_Ok"));
    ok_->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Name :"), this), 0, 0);
    grid->addWidget(txtName_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Data :"), this), 1, 0);
    grid->addWidget(txtValue_, 1, 1);
    LayOutDialog(this, grid, {ok_, MakeCancelButton(this)});
    setMinimumWidth(420);
}

QString ValueDialog::name() const {
    return txtName_->text();
}

QString ValueDialog::value() const {
    return txtValue_->text();
}

void ValueDialog::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

bool ValueDialog::refuseDuplicate() {
    if (values_.findName(name()) < 0)
        return false;
    messages_.MsgBox(DuplicateValueNameMessage(name()), MsgButtons::Ok, MsgIcon::Critical,
                     QStringLiteral("Relvano"));
    txtName_->selectAll();
    txtName_->setFocus();
    return true;
}

FrmEdit_Add::FrmEdit_Add(const EntryValuesModel& values, MessageService& messages, QWidget* parent)
    : ValueDialog("FrmEdit_Add", QStringLiteral("New"), values, messages, parent) {
    connect(txtName_, &QLineEdit::textChanged, this, &FrmEdit_Add::updateOk);
    connect(txtValue_, &QLineEdit::textChanged, this, &FrmEdit_Add::updateOk);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (!refuseDuplicate())
            accept();
    });
    updateOk();
}

void FrmEdit_Add::updateOk() {
    ok_->setEnabled(!name().isEmpty() && !value().isEmpty());
}

FrmEdit_Edit::FrmEdit_Edit(const EntryValuesModel& values, int r, MessageService& messages,
                           QWidget* parent)
    : ValueDialog("FrmEdit_Edit", QStringLiteral("Edit"), values, messages, parent),
      initialName_(values.row(r).name), initialValue_(values.row(r).data) {
    txtName_->setText(initialName_);
    txtValue_->setText(initialValue_);
    connect(txtName_, &QLineEdit::textChanged, this, &FrmEdit_Edit::updateOk);
    connect(txtValue_, &QLineEdit::textChanged, this, &FrmEdit_Edit::updateOk);
    connect(ok_, &QPushButton::clicked, this, [this] {
        // A new name must not be any row's name, this row's included: a
        // change of letter case alone is no new name.
        if (name() != initialName_ && refuseDuplicate())
            return;
        accept();
    });
    updateOk();
}

void FrmEdit_Edit::updateOk() {
    ok_->setEnabled(name().toLower() != initialName_.toLower() ||
                    value().toLower() != initialValue_.toLower());
}
