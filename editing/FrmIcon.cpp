#include "editing/FrmIcon.h"

#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "dialogs/CommonDialog.h"
#include "dialogs/MainWindowHost.h"
#include "editing/EntryValuesModel.h"
#include "editing/IconPreview.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int LargeIcon = 32;
const QString DisplayIcon = QStringLiteral("DisplayIcon");

// The picture shown when there is no icon file: an empty, dashed frame.
QPixmap Placeholder() {
    QPixmap pixmap(LargeIcon, LargeIcon);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(128, 128, 128), 1.5, Qt::DashLine));
    painter.setBrush(QColor(240, 240, 240));
    painter.drawRoundedRect(QRectF(2, 2, LargeIcon - 4, LargeIcon - 4), 4, 4);
    painter.setPen(QColor(128, 128, 128));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(16);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, LargeIcon, LargeIcon), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

} // namespace

FrmIcon::FrmIcon(MainWindowHost& host, QWidget* parent)
    : QDialog(parent), host_(host), store_(host.context()), key_(host.selectedKey()),
      lName_(new QLabel(this)), txt_(new QLineEdit(this)), pic_(new QLabel(this)),
      tmpPic_(new QLabel(this)), ok_(new QPushButton(QStringLiteral("Ok"), this)) {
    setObjectName(QStringLiteral("FrmIcon"));
    setWindowTitle(QStringLiteral("Change Icon"));
    lName_->setObjectName(QStringLiteral("LName"));
    txt_->setObjectName(QStringLiteral("Txt"));
    auto* bro = new QPushButton(QStringLiteral("..."), this);
    bro->setObjectName(QStringLiteral("Bro"));
    bro->setFixedWidth(32);
    bro->setAutoDefault(false);
    ok_->setObjectName(QStringLiteral("Cmd_ok"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cmd_Cancel"));
    cancel->setAutoDefault(false);
    auto* frame = new QGroupBox(QStringLiteral(" Preview "), this);
    frame->setObjectName(QStringLiteral("Frame"));
    pic_->setObjectName(QStringLiteral("Pic"));
    pic_->setFixedSize(LargeIcon + 8, LargeIcon + 8);
    pic_->setAlignment(Qt::AlignCenter);
    tmpPic_->setObjectName(QStringLiteral("TmpPic"));
    tmpPic_->setPixmap(Placeholder());
    tmpPic_->hide();
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->addStretch();
    frameLayout->addWidget(pic_);
    frameLayout->addStretch();

    auto* iconRow = new QHBoxLayout;
    iconRow->addWidget(new QLabel(QStringLiteral("Icon :"), this));
    iconRow->addWidget(txt_, 1);
    iconRow->addWidget(bro);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(lName_);
    left->addLayout(iconRow);
    left->addWidget(frame);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    connect(txt_, &QLineEdit::textChanged, this, &FrmIcon::textChanged);
    connect(bro, &QPushButton::clicked, this, &FrmIcon::browse);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (apply())
            accept();
    });

    initialText_ = store_.text(key_, DisplayIcon);
    txt_->setText(initialText_);
    lName_->setText(QStringLiteral("Program Name : ") + host_.selectedText());
    textChanged();
}

void FrmIcon::textChanged() {
    const QString text = txt_->text();
    // Only a text that names an existing file as a whole can be kept; the
    // initial text (letter case aside) is no change.
    if (text.toLower() == initialText_.toLower())
        ok_->setEnabled(false);
    else
        ok_->setEnabled(QFileInfo(text).isFile());
    updatePreview();
}

void FrmIcon::updatePreview() {
    const QPixmap icon = PreviewIcon(PreviewIconPath(txt_->text()), LargeIcon);
    showsIcon_ = !icon.isNull();
    pic_->setPixmap(showsIcon_ ? icon : tmpPic_->pixmap());
}

void FrmIcon::browse() {
    cCommonDialog dialog(&host_.context().dialogs());
    dialog.hwnd = this;
    // Besides programs and icon files, the images a Linux program uses for its icon.
    dialog.Filter = QStringLiteral("Exe Fles |*.exe|Icons |*.ico;*.png;*.svg;*.xpm|All Supported "
                                   "Types |*.exe;*.ico;*.png;*.svg;*.xpm");
    dialog.FilterIndex = 2;
    dialog.ShowOpen();
    if (!dialog.FileName.isEmpty()) {
        txt_->setText(dialog.FileName);
        updatePreview();
    }
}

bool FrmIcon::apply() {
    const quint32 type = TypeToWrite(store_.valueType(key_, DisplayIcon));
    const StoreResult written = store_.writeText(key_, DisplayIcon, txt_->text(), type);
    if (!written.ok()) {
        host_.context().messages().MsgBox(
            QStringLiteral("Relvano could not change the icon of \"%1\":\r\n%2")
                .arg(host_.selectedText(), written.message),
            MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
        return false;
    }
    hide();
    host_.reloadList();
    return true;
}

void FrmIcon::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}
