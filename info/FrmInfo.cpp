#include "info/FrmInfo.h"

#include "controls/Url.h"
#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "dialogs/MainWindowHost.h"
#include "info/FolderSizeJob.h"
#include "info/ProgramInfo.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString PleaseWait = QStringLiteral("Please wait ...");
constexpr int SizeRow = 1; // the "Program Size" row, counted from 0
} // namespace

FrmInfo::FrmInfo(MainWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("FrmInfo"));
    auto* label = new QLabel(QStringLiteral("Program Name :"), this);
    lst_ = new QComboBox(this);
    lst_->setObjectName(QStringLiteral("Lst"));
    lst_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lst_->setMinimumContentsLength(20);
    label->setBuddy(lst_);

    lv_ = new QTreeWidget(this);
    lv_->setObjectName(QStringLiteral("Lv"));
    lv_->setRootIsDecorated(false);
    lv_->setAllColumnsShowFocus(true);
    lv_->setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    lv_->setColumnWidth(0, 2100 / 15);
    lv_->setColumnWidth(1, 4075 / 15);
    lv_->setIconSize(QSize(16, 16));
    lv_->installEventFilter(this);

    // Over the right end of the selected row, inside the list.
    btn_ = new QToolButton(lv_->viewport());
    btn_->setObjectName(QStringLiteral("Btn"));
    btn_->setText(QStringLiteral("..."));
    btn_->setToolTip(QStringLiteral("Open"));
    btn_->hide();

    url_ = new Url(this);
    url_->setShellService(&host.context().shell());
    url_->hide();

    sizes_ = new FolderSizeJob(this);

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(lst_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lv_, 1);
    resize(450, 280);

    connect(lv_, &QTreeWidget::itemClicked, this, [this] { updateButton(); });
    connect(lv_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { updateButton(); });
    connect(btn_, &QToolButton::clicked, this, &FrmInfo::openSelected);
    connect(lst_, &QComboBox::activated, this, &FrmInfo::chooseProgram);
    connect(sizes_, &FolderSizeJob::measured, this, [this](int, const QString& sizeText) {
        if (QTreeWidgetItem* row = lv_->topLevelItem(SizeRow))
            row->setText(1, sizeText.isEmpty() ? NotAvailable : sizeText);
    });

    // The selector lists the main list's rows in its order; the selected
    // program is chosen in it.
    const QString selected = host.selectedKey();
    QStringList texts;
    for (const ListedProgram& program : host.listedPrograms()) {
        texts.append(program.text);
        tmpLst_.append(program.key);
    }
    lst_->addItems(texts);
    lst_->setCurrentIndex(static_cast<int>(tmpLst_.indexOf(selected)));
    setWindowTitle(QStringLiteral("Information : ") + host.selectedText());
    ShowInfo(selected);
}

FrmInfo::~FrmInfo() {
    sizes_->stop();
}

bool FrmInfo::measuring() const {
    return sizes_->busy();
}

void FrmInfo::ShowInfo(const QString& key) {
    lv_->clear();
    btn_->hide();
    UninstallEntries& entries = host_.context().entries();
    const QString location = InstallLocationOf(entries, key);
    // An empty location names no folder: nothing to wait for.
    const QString sizeText = location.isEmpty() ? QString() : PleaseWait;
    const QIcon icon = style()->standardIcon(QStyle::SP_FileDialogInfoView);
    QList<QTreeWidgetItem*> items;
    for (const InfoRow& row : ProgramInfoRows(entries, key, sizeText)) {
        auto* item = new QTreeWidgetItem({row.property, row.value});
        item->setIcon(0, icon);
        items.append(item);
    }
    lv_->addTopLevelItems(items);
    if (location.isEmpty())
        sizes_->stop();
    else
        sizes_->start({location});
}

void FrmInfo::chooseProgram(int index) {
    if (index < 0 || index >= tmpLst_.size())
        return;
    btn_->hide();
    lst_->setCurrentIndex(index);
    ShowInfo(tmpLst_[index]);
    setWindowTitle(QStringLiteral("Information : ") + lst_->itemText(index));
}

int FrmInfo::selectedRow() const {
    QTreeWidgetItem* item = lv_->currentItem();
    if (!item || !item->isSelected())
        return 0;
    return lv_->indexOfTopLevelItem(item) + 1;
}

void FrmInfo::updateButton() {
    const int row = selectedRow();
    if (row == 0 || !RowOpens(row, lv_->topLevelItem(row - 1)->text(1))) {
        btn_->hide();
        return;
    }
    const QRect rect = lv_->visualItemRect(lv_->topLevelItem(row - 1));
    const int height = rect.height();
    btn_->resize(std::max(height + 6, btn_->sizeHint().width()), height);
    btn_->move(lv_->viewport()->width() - btn_->width() - 2, rect.top());
    btn_->show();
    btn_->raise();
}

void FrmInfo::openSelected() {
    const int row = selectedRow();
    if (row == 0)
        return;
    const QString value = lv_->topLevelItem(row - 1)->text(1);
    if (IsMailAddress(value))
        url_->SendEmail(value);
    else
        url_->OpenPath(value, 1);
}

bool FrmInfo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lv_) {
        if (event->type() == QEvent::KeyRelease) {
            updateButton();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (btn_->isVisible())
                    openSelected();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmInfo::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

void FrmInfo::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (btn_->isVisible())
        updateButton();
}
