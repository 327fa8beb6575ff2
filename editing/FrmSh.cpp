#include "editing/FrmSh.h"

#include "controls/BrowseFolders.h"
#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/FileFolder.h"
#include "core/TextHelpers.h"
#include "dialogs/MainWindowHost.h"
#include "editing/EntryStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

FrmSh::FrmSh(MainWindowHost& host, QWidget* parent)
    : QDialog(parent), host_(host),
      browser_(std::make_unique<BrowseFolders>(&host.context().dialogs())),
      shType_(new QComboBox(this)), shn_(new QLineEdit(this)),
      lbl1_(new QLabel(QStringLiteral("Shortcut Folder : "), this)), txt_(new QLineEdit(this)),
      btnBrowse_(new QPushButton(QStringLiteral("&Browse..."), this)),
      lbl2_(new QLabel(QStringLiteral("Shortcut Description : "), this)), tip_(new QLineEdit(this)),
      chk_(new QCheckBox(QStringLiteral("Add this shortcut to favorites"), this)),
      ok_(new QPushButton(QStringLiteral("Ok"), this)) {
    setObjectName(QStringLiteral("FrmSh"));
    setWindowTitle(QStringLiteral("Shortcut"));
    shType_->setObjectName(QStringLiteral("ShType"));
    shn_->setObjectName(QStringLiteral("Shn"));
    lbl1_->setObjectName(QStringLiteral("Lbl1"));
    txt_->setObjectName(QStringLiteral("Txt"));
    btnBrowse_->setObjectName(QStringLiteral("BtnBrowse"));
    btnBrowse_->setAutoDefault(false);
    lbl2_->setObjectName(QStringLiteral("Lbl2"));
    tip_->setObjectName(QStringLiteral("Tip"));
    chk_->setObjectName(QStringLiteral("Chk"));
    ok_->setObjectName(QStringLiteral("Cmd_ok"));
    ok_->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Shortcut For :"), this), 0, 0);
    grid->addWidget(shType_, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Shortcut Name : "), this), 1, 0);
    grid->addWidget(shn_, 1, 1, 1, 2);
    grid->addWidget(lbl1_, 2, 0);
    grid->addWidget(txt_, 2, 1);
    grid->addWidget(btnBrowse_, 2, 2);
    grid->addWidget(lbl2_, 3, 0);
    grid->addWidget(tip_, 3, 1, 1, 2);
    grid->addWidget(chk_, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    LayOutDialog(this, grid, {ok_, MakeCancelButton(this)});
    setMinimumWidth(500);

    shn_->installEventFilter(this);
    connect(shn_, &QLineEdit::textChanged, this, &FrmSh::updateOk);
    connect(txt_, &QLineEdit::textChanged, this, &FrmSh::updateOk);
    connect(shType_, &QComboBox::activated, this, &FrmSh::applyType);
    connect(chk_, &QCheckBox::toggled, this, &FrmSh::favoritesToggled);
    connect(btnBrowse_, &QPushButton::clicked, this, &FrmSh::browse);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (createShortcut())
            accept();
    });

    shn_->setText(SafeFileName(host_.selectedText()));
    EntryStore store(host_.context());
    const QString key = host_.selectedKey();
    choices_ = ShortcutChoices({store.text(key, QStringLiteral("InstallLocation")),
                                store.text(key, QStringLiteral("URLInfoAbout")),
                                store.text(key, QStringLiteral("HelpLink"))});
    for (const ShortcutChoice& choice : choices_)
        shType_->addItem(choice.caption);
    shType_->setCurrentIndex(choices_.isEmpty() ? -1 : 0);
    applyType();
    updateOk();
}

FrmSh::~FrmSh() = default;

int FrmSh::exec() {
    if (!hasChoices()) {
        host_.context().messages().MsgBox(
            QStringLiteral(
                "This program has no install folder or web address to make a shortcut to."),
            MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Relvano"));
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void FrmSh::applyType() {
    const int index = shType_->currentIndex();
    const bool folder = index >= 0 && choices_[index].kind == ShortcutKind::InstallFolder;
    // The description goes only into a link to the folder; favourites take
    // only web pages.
    lbl2_->setEnabled(folder);
    tip_->setEnabled(folder);
    if (folder)
        chk_->setChecked(false);
    chk_->setEnabled(!folder && index >= 0);
}

void FrmSh::favoritesToggled(bool checked) {
    if (checked) {
        savedFolder_ = txt_->text();
        txt_->setText(SpecialFolderPath(Csidl::Favorites));
    } else {
        txt_->setText(savedFolder_);
    }
    lbl1_->setEnabled(!checked);
    txt_->setEnabled(!checked);
    btnBrowse_->setEnabled(!checked);
}

void FrmSh::browse() {
    const QString folder = browser_->BrowseForFolder(
        this, QStringLiteral("Select the place where you want to save the shortcut."));
    if (!folder.isEmpty())
        txt_->setText(folder);
}

void FrmSh::updateOk() {
    ok_->setEnabled(HasNonSpace(txt_->text()) && QFileInfo(txt_->text()).isDir() &&
                    HasNonSpace(shn_->text()));
}

bool FrmSh::createShortcut() {
    const QString name = shn_->text();
    if (CountInvalidNameChars(name) > 0) {
        host_.context().messages().MsgBox(
            QStringLiteral("A filename cannot contain any of the following characters :\r\n"
                           "\\/:*?\"<>|"),
            MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Relvano"));
        shn_->selectAll();
        shn_->setFocus();
        return false;
    }
    const int index = shType_->currentIndex();
    if (index < 0)
        return false;
    const ShortcutRequest request{choices_[index], txt_->text(), name, tip_->text()};
    const WriteResult written =
        CreateShortcut(request, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    if (!written) {
        host_.context().messages().MsgBox(
            QStringLiteral("The shortcut could not be created:\r\n") + written.error,
            MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
        return false;
    }
    return true;
}

void FrmSh::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

bool FrmSh::eventFilter(QObject* watched, QEvent* event) {
    if (watched == shn_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        // The name cannot begin with a space: a space typed where only spaces
        // (or nothing) would come before it is dropped.
        const int at = shn_->hasSelectedText() ? shn_->selectionStart() : shn_->cursorPosition();
        if (!HasNonSpace(shn_->text().left(at)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
