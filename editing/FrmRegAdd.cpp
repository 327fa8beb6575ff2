#include "editing/FrmRegAdd.h"

#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "dialogs/MainWindowHost.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString NewKeyNameProblem(const QString& key, const QStringList& keys) {
    const QString cannot = QStringLiteral("Can't add this program\r\n");
    // A backslash separates keys: "A\B" would make a key A with a subkey B.
    if (key.contains(u'\\'))
        return cannot + QStringLiteral("A registry key name cannot contain a backslash (\\).");
    // The registry's own limit for a key name.
    if (key.size() > MaxKeyNameLength)
        return cannot + QStringLiteral("A registry key name cannot be longer than %1 characters.")
                            .arg(MaxKeyNameLength);
    const QString lower = key.toLower();
    for (const QString& existing : keys) {
        if (existing.toLower() == lower)
            return cannot + QStringLiteral("The Program \"") + key +
                   QStringLiteral("\" is already exists in the installed programs list");
    }
    return QString();
}

FrmRegAdd::FrmRegAdd(MainWindowHost& host, QWidget* parent)
    : QDialog(parent), host_(host), store_(host.context()), txtKey_(new QLineEdit(this)),
      txtName_(new QLineEdit(this)), txtUn_(new QLineEdit(this)),
      add_(new QPushButton(QStringLiteral("Add"), this)),
      ok_(new QPushButton(QStringLiteral("Ok"), this)) {
    setObjectName(QStringLiteral("FrmRegAdd"));
    setWindowTitle(QStringLiteral("Add Entry"));
    txtKey_->setObjectName(QStringLiteral("TxtKey"));
    txtName_->setObjectName(QStringLiteral("TxtName"));
    txtUn_->setObjectName(QStringLiteral("TxtUn"));
    add_->setObjectName(QStringLiteral("Cmd_add"));
    ok_->setObjectName(QStringLiteral("Cmd_ok"));
    ok_->setDefault(true);
    add_->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Registry Key Name :"), this), 0, 0);
    grid->addWidget(txtKey_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Program Name :"), this), 1, 0);
    grid->addWidget(txtName_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Uninstall Command :"), this), 2, 0);
    grid->addWidget(txtUn_, 2, 1);
    LayOutDialog(this, grid, {add_, ok_, MakeCancelButton(this)});
    setMinimumWidth(460);

    for (QLineEdit* box : {txtKey_, txtName_, txtUn_})
        connect(box, &QLineEdit::textChanged, this, &FrmRegAdd::updateButtons);
    connect(add_, &QPushButton::clicked, this, [this] {
        if (!addEntry())
            return;
        txtKey_->clear();
        txtName_->clear();
        txtUn_->clear();
        txtKey_->setFocus();
    });
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (addEntry())
            accept();
    });
    lst_ = store_.keys();
    updateButtons();
}

void FrmRegAdd::updateButtons() {
    const bool filled =
        !txtKey_->text().isEmpty() && !txtName_->text().isEmpty() && !txtUn_->text().isEmpty();
    add_->setEnabled(filled);
    ok_->setEnabled(filled);
}

bool FrmRegAdd::addEntry() {
    const QString key = txtKey_->text();
    lst_ = store_.keys();
    const QString problem = NewKeyNameProblem(key, lst_);
    StoreResult written;
    if (problem.isEmpty())
        written = store_.addEntry(key, txtName_->text(), txtUn_->text());
    if (problem.isEmpty() && written.ok()) {
        reload_ = true;
        return true;
    }
    if (!problem.isEmpty())
        host_.context().messages().MsgBox(problem, MsgButtons::Ok, MsgIcon::Exclamation,
                                          QStringLiteral("Relvano"));
    else
        host_.context().messages().MsgBox(
            QStringLiteral("Can't add this program\r\n") + written.message, MsgButtons::Ok,
            MsgIcon::Critical, QStringLiteral("Relvano"));
    txtKey_->selectAll();
    txtKey_->setFocus();
    return false;
}

void FrmRegAdd::done(int r) {
    if (reload_) {
        hide();
        host_.reloadList();
    }
    QDialog::done(r);
}

void FrmRegAdd::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}
