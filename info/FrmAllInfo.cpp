#include "info/FrmAllInfo.h"

#include "controls/ProgBar.h"
#include "controls/Url.h"
#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/FileFolder.h"
#include "core/Settings.h"
#include "dialogs/MainWindowHost.h"
#include "info/FolderSizeJob.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString PleaseWait = QStringLiteral("Please wait ...");
const QString SizeCaption = QStringLiteral("Programs Folder Size : ");
constexpr int PathRole = Qt::UserRole;
// The progress bar counts in 16 bits; longer lists advance it in proportion.
constexpr int BarLimit = 32767;
} // namespace

FrmAllInfo::FrmAllInfo(MainWindowHost& host, const QString& programsFolder, QWidget* parent)
    : QDialog(parent), host_(host), programsFolder_(programsFolder) {
    setObjectName(QStringLiteral("FrmAllInfo"));
    setWindowTitle(QStringLiteral("Installed Programs Info"));

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbGen_ = toolBar->addAction(style()->standardIcon(QStyle::SP_FileDialogInfoView),
                                QStringLiteral(" General "));
    tbGen_->setObjectName(QStringLiteral("TB_Gen"));
    tbGen_->setCheckable(true);
    tbGen_->setChecked(true);
    toolBar->addSeparator();
    tbPf_ = toolBar->addAction(style()->standardIcon(QStyle::SP_DirIcon),
                               QStringLiteral(" Program Files "));
    tbPf_->setObjectName(QStringLiteral("TB_Pf"));
    tbPf_->setCheckable(true);

    // The General page.
    pic_ = new QWidget(this);
    pic_->setObjectName(QStringLiteral("Pic"));
    pic_->setAutoFillBackground(true);
    QPalette white = pic_->palette();
    white.setColor(QPalette::Window, Qt::white);
    pic_->setPalette(white);
    lb1_ = new QLabel(pic_);
    lb1_->setObjectName(QStringLiteral("Lb1"));
    auto* folderLabel = new QLabel(QStringLiteral("Programs Folder :  "), pic_);
    folderLink_ = new Url(pic_);
    folderLink_->setObjectName(QStringLiteral("Url"));
    folderLink_->BackColor = 0xFFFFFF;
    folderLink_->ForeColor = 0xC00000; // blue, as links are
    folderLink_->OverColor = 0xFF0000;
    folderLink_->setShellService(&host.context().shell());
    lb3_ = new QLabel(pic_);
    lb3_->setObjectName(QStringLiteral("Lb3"));
    auto* folderRow = new QHBoxLayout;
    folderRow->setSpacing(0);
    folderRow->addWidget(folderLabel);
    folderRow->addWidget(folderLink_);
    folderRow->addStretch(1);
    auto* general = new QVBoxLayout(pic_);
    general->setContentsMargins(16, 16, 16, 16);
    general->setSpacing(12);
    general->addWidget(lb1_);
    general->addLayout(folderRow);
    general->addWidget(lb3_);
    general->addStretch(1);

    // The Program Files page, and the progress bar shown in its place while
    // it is filled.
    lv_ = new QTreeWidget(this);
    lv_->setObjectName(QStringLiteral("Lv"));
    lv_->setRootIsDecorated(false);
    lv_->setAllColumnsShowFocus(true);
    lv_->setHeaderLabels(
        {QStringLiteral("Folder"), QStringLiteral("Size"), QStringLiteral("Date Modified")});
    lv_->setColumnWidth(0, 2850 / 15);
    lv_->setColumnWidth(1, 1099 / 15);
    lv_->setColumnWidth(2, 2000 / 15);
    lv_->installEventFilter(this);
    progressPage_ = new QWidget(this);
    p_ = new ProgBar(progressPage_);
    p_->setObjectName(QStringLiteral("P"));
    p_->StartColor = 0xB4822F; // blue to light blue
    p_->EndColor = 0xF5DEB0;
    p_->setFixedHeight(18);
    auto* progress = new QVBoxLayout(progressPage_);
    progress->setContentsMargins(40, 0, 40, 0);
    progress->addStretch(1);
    progress->addWidget(p_);
    progress->addStretch(1);

    pages_ = new QStackedWidget(this);
    pages_->addWidget(pic_);
    pages_->addWidget(lv_);
    pages_->addWidget(progressPage_);
    pages_->setFrameShape(QFrame::StyledPanel);

    sb_ = new QLabel(this);
    sb_->setObjectName(QStringLiteral("Sb"));
    sb_->setFrameShape(QFrame::StyledPanel);
    sb_->setMinimumHeight(sb_->fontMetrics().height() + 4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(toolBar);
    layout->addWidget(pages_, 1);
    layout->addWidget(sb_);
    resize(440, 320);

    sizes_ = new FolderSizeJob(this);
    connect(sizes_, &FolderSizeJob::measured, this, &FrmAllInfo::folderMeasured);
    connect(sizes_, &FolderSizeJob::finished, this, [this] {
        if (measuring_ == Measuring::Subfolders)
            programFilesDone();
        measuring_ = Measuring::Nothing;
        tbPf_->setEnabled(true);
    });
    connect(tbGen_, &QAction::triggered, this, &FrmAllInfo::clickGeneral);
    connect(tbPf_, &QAction::triggered, this, &FrmAllInfo::clickProgramFiles);
    connect(folderLink_, &Url::clicked, this,
            [this] { folderLink_->OpenPath(programsFolder_, 1); });
    connect(lv_, &QTreeWidget::itemClicked, this, [this] { showSelectedPath(); });
    connect(lv_, &QTreeWidget::itemDoubleClicked, this, [this] { openSelectedFolder(); });

    ListSubfolders(programsFolder_, folderNames_);

    // The window is drawn first; the page is chosen on the timer's tick.
    auto* tm = new QTimer(this);
    tm->setObjectName(QStringLiteral("Tm"));
    tm->setSingleShot(true);
    tm->setInterval(10);
    connect(tm, &QTimer::timeout, this, [this] {
        if (LoadPageSetting(host_.context().ConfigIniPath, PageSetting::AllProgramsInfo) == 1) {
            tbGen_->setChecked(true);
            tbPf_->setChecked(false);
            page_ = 1;
            showGeneral();
        } else {
            tbPf_->setChecked(true);
            tbGen_->setChecked(false);
            page_ = 2;
            showProgramFiles();
        }
    });
    tm->start();
}

FrmAllInfo::~FrmAllInfo() {
    sizes_->stop();
}

bool FrmAllInfo::measuring() const {
    return sizes_->busy();
}

void FrmAllInfo::clickGeneral() {
    if (!tbGen_->isEnabled())
        return;
    tbGen_->setChecked(true);
    tbPf_->setChecked(false);
    if (page_ == 1)
        return;
    page_ = 1;
    showGeneral();
}

void FrmAllInfo::clickProgramFiles() {
    if (!tbPf_->isEnabled())
        return;
    tbPf_->setChecked(true);
    tbGen_->setChecked(false);
    if (page_ == 2)
        return;
    page_ = 2;
    showProgramFiles();
}

void FrmAllInfo::showGeneral() {
    pages_->setCurrentWidget(pic_);
    tbPf_->setEnabled(false);
    lb1_->setText(QStringLiteral("Installed Programs : ") +
                  QString::number(host_.listedPrograms().size()));
    folderLink_->setCaption(programsFolder_);
    folderLink_->setFixedWidth(folderLink_->sizeHint().width());
    lb3_->setText(SizeCaption + PleaseWait);
    measuring_ = Measuring::ProgramsFolder;
    sizes_->start({programsFolder_});
}

void FrmAllInfo::showProgramFiles() {
    sb_->setText(PleaseWait);
    lv_->clear();
    p_->setMax(static_cast<short>(std::min<qsizetype>(folderNames_.size(), BarLimit)));
    p_->setValue(0);
    pages_->setCurrentWidget(progressPage_);
    tbGen_->setEnabled(false);
    QStringList paths;
    for (const QString& name : std::as_const(folderNames_))
        paths.append(QDir(programsFolder_).filePath(name));
    measuring_ = Measuring::Subfolders;
    sizes_->start(paths);
}

void FrmAllInfo::folderMeasured(int index, const QString& sizeText) {
    if (measuring_ == Measuring::ProgramsFolder) {
        lb3_->setText(SizeCaption + sizeText);
        return;
    }
    if (measuring_ != Measuring::Subfolders || index < 0 || index >= folderNames_.size())
        return;
    const QString path = QDir(programsFolder_).filePath(folderNames_[index]);
    const QDateTime modified = QFileInfo(path).lastModified();
    auto* item = new QTreeWidgetItem(
        lv_, {folderNames_[index], sizeText,
              modified.isValid() ? QLocale().toString(modified, QLocale::ShortFormat) : QString()});
    item->setData(0, PathRole, path);
    item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    const qsizetype total = folderNames_.size();
    p_->setValue(static_cast<int>(static_cast<qint64>(index + 1) * p_->Max() / total));
}

void FrmAllInfo::programFilesDone() {
    p_->setValue(0);
    pages_->setCurrentWidget(lv_);
    sb_->clear();
    tbGen_->setEnabled(true);
}

void FrmAllInfo::showSelectedPath() {
    QTreeWidgetItem* item = lv_->currentItem();
    if (item && item->isSelected())
        sb_->setText(item->data(0, PathRole).toString());
}

void FrmAllInfo::openSelectedFolder() {
    QTreeWidgetItem* item = lv_->currentItem();
    if (item && item->isSelected())
        host_.context().shell().ShellOpen(item->data(0, PathRole).toString());
}

bool FrmAllInfo::pageKey(QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ShiftModifier))
        return false;
    // Shift+1 and Shift+2, whatever character the layout makes of them.
    const int key = event->key();
    if (key == Qt::Key_1 || key == Qt::Key_Exclam) {
        clickGeneral();
        return true;
    }
    if (key == Qt::Key_2 || key == Qt::Key_At || key == Qt::Key_QuoteDbl) {
        clickProgramFiles();
        return true;
    }
    return false;
}

bool FrmAllInfo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lv_) {
        if (event->type() == QEvent::KeyPress && pageKey(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::KeyRelease) {
            showSelectedPath();
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                openSelectedFolder();
        }
        // Enter opens the folder (on release) and presses no button.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmAllInfo::keyPressEvent(QKeyEvent* event) {
    if (pageKey(event))
        return;
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

void FrmAllInfo::done(int r) {
    sizes_->stop();
    // The page is kept only once one was shown: a window closed before its
    // first page would otherwise store 0, which opens the Program Files page.
    if (page_ != 0)
        SavePageSetting(host_.context().ConfigIniPath, PageSetting::AllProgramsInfo, page_);
    QDialog::done(r);
}
