#include "lifecycle/FrmAddNew.h"

#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/FileFolder.h"
#include "core/HistoryLog.h"
#include "core/TextHelpers.h"
#include "dialogs/CommonDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QTreeWidget* MakeList(QWidget* parent, const char* name, const QStringList& columns,
                      const QList<int>& twips) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setRootIsDecorated(false);
    list->setColumnCount(static_cast<int>(twips.size()));
    list->setHeaderLabels(columns);
    list->setHeaderHidden(columns.join(QString()).isEmpty());
    for (int i = 0; i < twips.size(); ++i)
        list->setColumnWidth(i, twips[i] / 15);
    return list;
}

} // namespace

FrmAddNew::FrmAddNew(AppContext& context, std::function<void()> reloadList, QWidget* parent)
    : QDialog(parent), context_(context), reloadList_(std::move(reloadList)) {
    setObjectName(QStringLiteral("FrmAddNew"));
    setWindowTitle(QStringLiteral("Add New Program"));
    const QColor blue(65, 108, 211);
    auto* header = new QWidget(this);
    auto* pic = new GradientStrip(Qt::white, blue, header);
    pic->setObjectName(QStringLiteral("Pic"));
    auto* pic2 = new GradientStrip(blue, QColor(189, 210, 244), header);
    pic2->setObjectName(QStringLiteral("Pic2"));
    pic2->setFixedHeight(4);
    auto* title = new QLabel(QStringLiteral("Add New Program"), pic);
    title->setObjectName(QStringLiteral("Label1"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 3);
    title->setFont(bold);
    tip_ = new QLabel(QStringLiteral("Preparing For Program Installation"), pic);
    tip_->setObjectName(QStringLiteral("Tip"));
    auto* picLayout = new QVBoxLayout(pic);
    picLayout->addWidget(title);
    picLayout->addWidget(tip_);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(0);
    headerLayout->addWidget(pic);
    headerLayout->addWidget(pic2);

    pages_ = new QStackedWidget(this);
    auto* p1 = new QWidget(pages_);
    p1->setObjectName(QStringLiteral("P1"));
    auto* p1Layout = new QVBoxLayout(p1);
    p1Layout->addWidget(new QLabel(
        QStringLiteral("Insert your program first installation disk or CD-Rom  , Then"), p1));
    p1Layout->addWidget(new QLabel(QStringLiteral("Press \"Next\" to continue"), p1));
    p1Layout->addStretch();

    auto* p2 = new QWidget(pages_);
    p2->setObjectName(QStringLiteral("P2"));
    txt_ = new QLineEdit(p2);
    txt_->setObjectName(QStringLiteral("Txt"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."), p2);
    browse->setObjectName(QStringLiteral("Command4"));
    tabs_ = new QTabBar(p2);
    tabs_->setObjectName(QStringLiteral("Ts"));
    tabs_->addTab(QStringLiteral(" Program Info "));
    tabs_->addTab(QStringLiteral(" Space Info "));
    lv_ = MakeList(p2, "Lv", {QString(), QString()}, {2000, 4100});
    lv2_ = MakeList(
        p2, "Lv2",
        {QStringLiteral("Drive"), QStringLiteral("Capacity"), QStringLiteral("Free Space")},
        {2000, 1500, 1500});
    lv2_->hide();
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(new QLabel(QStringLiteral("Installer path :"), p2));
    pathRow->addWidget(txt_, 1);
    pathRow->addWidget(browse);
    auto* p2Layout = new QVBoxLayout(p2);
    p2Layout->addLayout(pathRow);
    p2Layout->addWidget(tabs_);
    p2Layout->addWidget(lv_);
    p2Layout->addWidget(lv2_);

    auto* p3 = new QWidget(pages_);
    p3->setObjectName(QStringLiteral("P3"));
    lbTip_ = new QLabel(p3);
    lbTip_->setObjectName(QStringLiteral("Lb_Tip"));
    lbTip_->setWordWrap(true);
    auto* p3Layout = new QVBoxLayout(p3);
    p3Layout->addWidget(lbTip_);
    p3Layout->addStretch();
    pages_->addWidget(p1);
    pages_->addWidget(p2);
    pages_->addWidget(p3);

    back_ = new QPushButton(QStringLiteral("<< Back"), this);
    back_->setObjectName(QStringLiteral("Bak"));
    back_->setEnabled(false);
    next_ = new QPushButton(QStringLiteral("Next >>"), this);
    next_->setObjectName(QStringLiteral("Nxt"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Cmd_Cancel"));
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setObjectName(QStringLiteral("Cmd_Cont"));
    ok_->hide();
    ok_->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {back_, next_, cancel_, ok_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(header);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);
    resize(520, 380);

    time_ = new QTimer(this);
    time_->setObjectName(QStringLiteral("Time"));
    time_->setInterval(1000);
    connect(time_, &QTimer::timeout, this, [this] { ++seconds_; });
    connect(next_, &QPushButton::clicked, this, [this] { page_ == 0 ? next() : finish(); });
    connect(back_, &QPushButton::clicked, this, &FrmAddNew::back);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok_, &QPushButton::clicked, this, [this] {
        hide();
        if (reloadList_)
            reloadList_();
        accept();
    });
    connect(browse, &QPushButton::clicked, this, &FrmAddNew::browse);
    connect(txt_, &QLineEdit::textChanged, this, [this] {
        next_->setEnabled(page_ == 0 || installerExists());
        fillProgramInfo();
    });
    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        if (tab == 1)
            fillSpaceInfo();
        lv_->setVisible(tab == 0);
        lv2_->setVisible(tab == 1);
    });
    connect(lv_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item->data(0, Qt::UserRole).toString() == u"PPath")
            context_.shell().ShellOpen(item->text(1));
    });
    connect(lv2_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        context_.shell().ShowFileProperties(item->data(0, Qt::UserRole).toString());
    });
    fillProgramInfo();
}

bool FrmAddNew::installerExists() const {
    return !txt_->text().isEmpty() && QFileInfo(txt_->text()).isFile();
}

void FrmAddNew::fillProgramInfo() {
    lv_->clear();
    auto add = [this](const QString& caption, const char* key, const QString& value) {
        auto* item = new QTreeWidgetItem(lv_, {caption, value});
        item->setData(0, Qt::UserRole, QLatin1String(key));
        return item;
    };
    if (!installerExists()) {
        add(txt_->text().isEmpty() ? QStringLiteral(" No Programs Selected")
                                   : QStringLiteral(" Path Not Exists"),
            "", QString());
        return;
    }
    const QFileInfo file(txt_->text());
    add(QStringLiteral(" Program Name"), "PName", file.fileName());
    add(QStringLiteral(" Program Path"), "PPath", QDir::toNativeSeparators(file.absolutePath()));
    add(QStringLiteral(" Program Size"), "PSize", SizeText(static_cast<double>(file.size())));
    QTreeWidgetItem* folder =
        add(QStringLiteral(" Program Folder Size"), "PFSize", QStringLiteral("Please Wait..."));
    add(QStringLiteral(" Program Created"), "PC",
        HistoryLog::DateText(file.birthTime().isValid() ? file.birthTime()
                                                        : file.metadataChangeTime()));
    add(QStringLiteral(" Program Modified"), "PM", HistoryLog::DateText(file.lastModified()));
    add(QStringLiteral(" Program Accessed"), "PA", HistoryLog::DateText(file.lastRead()));
    lv_->repaint();
    folder->setText(1, FolderSizeText(file.absolutePath()));
}

void FrmAddNew::fillSpaceInfo() {
    lv2_->clear();
    for (const DriveEntry& drive : FixedDrives()) {
        auto* item = new QTreeWidgetItem(
            lv2_, {drive.text, DiskSpaceText(drive.root, 0), DiskSpaceText(drive.root, 1)});
        item->setData(0, Qt::UserRole, drive.root);
    }
}

void FrmAddNew::next() {
    pages_->setCurrentIndex(1);
    next_->setText(QStringLiteral("Finish"));
    next_->setEnabled(installerExists());
    back_->setEnabled(true);
    tip_->setText(QStringLiteral("Run Installation Program"));
    page_ = 1;
}

void FrmAddNew::back() {
    pages_->setCurrentIndex(0);
    next_->setText(QStringLiteral("Next >>"));
    next_->setEnabled(true);
    back_->setEnabled(false);
    tip_->setText(QStringLiteral("Preparing For Program Installation"));
    page_ = 0;
}

void FrmAddNew::finish() {
    pages_->setCurrentIndex(2);
    back_->hide();
    next_->hide();
    cancel_->hide();
    ok_->show();
    lbTip_->setText(QStringLiteral("Opening Program , Please Wait..."));
    lbTip_->repaint();
    const QString path = txt_->text();
    const QString name = QFileInfo(path).fileName();
    // A program is started; any other file (a package) goes to its handler.
    bool opened = false;
    QString why;
    if (QFileInfo(path).isExecutable()) {
        // The path is the program itself, never parsed: quotes and blanks in
        // it are part of the name. It runs in the program folder, as the
        // shell opens files.
        const LaunchResult launch =
            context_.processes().StartProgram(path, {}, context_.programFolder());
        opened = launch.ok();
        why = launch.message;
    } else {
        opened = context_.shell().ShellOpen(path);
    }
    if (opened) {
        lbTip_->setText(QStringLiteral("The Program \"") + name +
                        QStringLiteral("\" Was Successfully Opened.\r\n\r\nPress \"Ok\" when the "
                                       "program installation completed"));
        launched_ = true;
        time_->start();
    } else {
        lbTip_->setText(QStringLiteral("The Program \"") + name +
                        QStringLiteral("\" could not be opened.") +
                        (why.isEmpty() ? QString() : QStringLiteral("\r\n") + why) +
                        QStringLiteral("\r\n\r\nPress \"Ok\" to close this window."));
    }
    ok_->setEnabled(true);
}

void FrmAddNew::browse() {
    cCommonDialog dialog(&context_.dialogs());
    dialog.hwnd = this;
    dialog.Filter = QStringLiteral("Programs |*.exe;*.msi|Exe Files |*.exe|All Files (*.*)|*.*");
    dialog.ShowOpen();
    if (!dialog.FileName.isEmpty())
        txt_->setText(dialog.FileName);
}

void FrmAddNew::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5 && tabs_->currentIndex() == 1) {
        fillSpaceInfo();
        return;
    }
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

void FrmAddNew::done(int r) {
    // Every way out records a launched installer, once.
    time_->stop();
    if (launched_ && !recorded_) {
        recorded_ = true;
        context_.history().AppendInstallRecord(txt_->text(), seconds_);
    }
    QDialog::done(r);
}
