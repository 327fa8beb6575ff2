#include "reports/FrmReport.h"

#include "controls/ColorValue.h"
#include "controls/Line.h"
#include "controls/ProgressPacer.h"
#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/FileFolder.h"
#include "reports/ReportWizardLogic.h"
#include "reports/ReportWriter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

const QString kProgramsTip = QStringLiteral("Select programs to include in report");
const QString kItemsTip = QStringLiteral("Check the item you want to show in the report");
const QString kFileTip = QStringLiteral("Select report file type , then file name");

} // namespace

FrmReport::FrmReport(MainWindowHost& host, QWidget* parent)
    : QDialog(parent), host_(host), programs_(host.listedPrograms()),
      reportDialog_(&host.context().dialogs()) {
    setObjectName(QStringLiteral("FrmReport"));
    setWindowTitle(QStringLiteral("Report"));

    // The banner: a gradient with the title and the hint of the current step.
    auto* pic = new GradientStrip(TranslateColor(0xD36C41), TranslateColor(0xFFFFFF), this);
    pic->setObjectName(QStringLiteral("Pic"));
    pic->setFixedHeight(52);
    auto* title = new QLabel(QStringLiteral("Installed Programs Report"), pic);
    title->setObjectName(QStringLiteral("Label1"));
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setBold(true);
    verdana.setPointSize(12);
    title->setFont(verdana);
    title->setStyleSheet(QStringLiteral("color: white"));
    tip_ = new QLabel(kProgramsTip, pic);
    tip_->setObjectName(QStringLiteral("Tip"));
    tip_->setStyleSheet(QStringLiteral("color: white"));
    auto* picLayout = new QVBoxLayout(pic);
    picLayout->setContentsMargins(10, 4, 10, 4);
    picLayout->setSpacing(2);
    picLayout->addWidget(title);
    picLayout->addWidget(tip_);
    auto* picSmall = new GradientStrip(TranslateColor(0xF4D2BD), TranslateColor(0xD36C41), this);
    picSmall->setObjectName(QStringLiteral("PicSmall"));
    picSmall->setFixedHeight(4);

    // Page 1: the programs.
    pic1_ = new QWidget(this);
    pic1_->setObjectName(QStringLiteral("Pic1"));
    unList_ = new QListWidget(pic1_);
    unList_->setObjectName(QStringLiteral("UnList"));
    unList_->setUniformItemSizes(true);
    for (const ListedProgram& program : programs_) {
        auto* item = new QListWidgetItem(program.text, unList_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    unList_->viewport()->installEventFilter(this);
    auto* p1Layout = new QVBoxLayout(pic1_);
    p1Layout->setContentsMargins(0, 0, 0, 0);
    p1Layout->addWidget(new QLabel(QStringLiteral("Programs List"), pic1_));
    p1Layout->addWidget(unList_, 1);

    mnuFile_ = new QMenu(QStringLiteral("&File"), this);
    mnuFile_->setObjectName(QStringLiteral("Mnu_File"));
    mnuFileSa_ = mnuFile_->addAction(QStringLiteral("Select All"));
    mnuFileSa_->setObjectName(QStringLiteral("Mnu_File_SA"));
    mnuFileDa_ = mnuFile_->addAction(QStringLiteral("Deselect All"));
    mnuFileDa_->setObjectName(QStringLiteral("Mnu_File_DA"));
    mnuFileDa_->setEnabled(false);

    // Page 2: the items.
    pic2_ = new QWidget(this);
    pic2_->setObjectName(QStringLiteral("Pic2"));
    auto* p2Layout = new QVBoxLayout(pic2_);
    p2Layout->setContentsMargins(0, 0, 0, 0);
    p2Layout->addWidget(new QLabel(QStringLiteral("Items to include in the report"), pic2_));
    for (int k = 0; k < 9; ++k) {
        chk_[k] = new QCheckBox(ReportItems()[k].caption, pic2_);
        chk_[k]->setObjectName(QStringLiteral("Chk(%1)").arg(k));
        p2Layout->addWidget(chk_[k]);
        connect(chk_[k], &QCheckBox::clicked, this, &FrmReport::updateNextForItems);
    }
    chkAll_ = new QCheckBox(QStringLiteral("Show Full Report"), pic2_);
    chkAll_->setObjectName(QStringLiteral("ChkAll"));
    QFont bold = chkAll_->font();
    bold.setBold(true);
    chkAll_->setFont(bold);
    p2Layout->addWidget(chkAll_);
    p2Layout->addStretch();

    // Page 3: the file, and the summary label that replaces it on step 4.
    pic3_ = new QWidget(this);
    pic3_->setObjectName(QStringLiteral("Pic3"));
    reportOptions_ = new QWidget(pic3_);
    reportOptions_->setObjectName(QStringLiteral("Report_Options"));
    rfn_ = new QLineEdit(reportOptions_);
    rfn_->setObjectName(QStringLiteral("Rfn"));
    rfn_->installEventFilter(this);
    bro_ = Button(reportOptions_, "Bro", QStringLiteral("&Browse..."));
    chkOpn_ = new QCheckBox(QStringLiteral("Open created file when finish it"), reportOptions_);
    chkOpn_->setObjectName(QStringLiteral("ChkOpn"));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(rfn_, 1);
    nameRow->addWidget(bro_);
    auto* noteTitle = new QLabel(QStringLiteral("Note :"), reportOptions_);
    noteTitle->setFont(bold);
    auto* optionsLayout = new QVBoxLayout(reportOptions_);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    optionsLayout->addWidget(new QLabel(QStringLiteral("Report File Name :"), reportOptions_));
    optionsLayout->addLayout(nameRow);
    optionsLayout->addWidget(chkOpn_);
    optionsLayout->addSpacing(12);
    optionsLayout->addWidget(noteTitle);
    for (const QString& note :
         {QStringLiteral("You can save the report file in :"),
          QStringLiteral("1 - Txt ( Text Format )"), QStringLiteral("2 - Html ( Web Page Format )"),
          QStringLiteral("By selecting the file type from the save dialog box.")})
        optionsLayout->addWidget(new QLabel(note, reportOptions_));
    optionsLayout->addStretch();
    lCreate_ = new QLabel(QStringLiteral("Press ' Finish ' to To Create Report"), pic3_);
    lCreate_->setObjectName(QStringLiteral("L_Create"));
    lCreate_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lCreate_->setWordWrap(true);
    lCreate_->hide();
    auto* p3Layout = new QVBoxLayout(pic3_);
    p3Layout->setContentsMargins(0, 0, 0, 0);
    p3Layout->addWidget(reportOptions_);
    p3Layout->addWidget(lCreate_, 1);

    auto* pages = new QGridLayout;
    pages->setContentsMargins(12, 8, 12, 4);
    for (QWidget* page : {pic1_, pic2_, pic3_})
        pages->addWidget(page, 0, 0);

    bak_ = Button(this, "Bak", QStringLiteral("<< Bac&k"));
    bak_->setEnabled(false);
    nxt_ = Button(this, "Nxt", QStringLiteral("&Next >>"));
    nxt_->setEnabled(false);
    cr_ = Button(this, "Cr", QStringLiteral("&Finish"));
    cr_->hide();
    can_ = Button(this, "Can", QStringLiteral("Cancel"));
    cl_ = Button(this, "Cl", QStringLiteral("Close"));
    cl_->hide();
    cl_->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 4, 12, 10);
    buttons->setSpacing(6);
    buttons->addStretch();
    buttons->addWidget(bak_);
    buttons->addWidget(nxt_);
    buttons->addWidget(cr_);
    buttons->addSpacing(12);
    buttons->addWidget(can_);
    buttons->addWidget(cl_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pic);
    layout->addWidget(picSmall);
    layout->addLayout(pages, 1);
    layout->addWidget(new Line(this));
    layout->addLayout(buttons);
    resize(440, 420);
    showPage(pic1_);

    connect(unList_, &QListWidget::itemChanged, this, &FrmReport::unListItemCheck);
    connect(unList_, &QListWidget::itemSelectionChanged, this, &FrmReport::unListClick);
    connect(mnuFileSa_, &QAction::triggered, this, &FrmReport::selectAll);
    connect(mnuFileDa_, &QAction::triggered, this, &FrmReport::deselectAll);
    connect(chkAll_, &QCheckBox::clicked, this, [this] {
        for (QCheckBox* box : chk_)
            box->setEnabled(!chkAll_->isChecked());
        updateNextForItems();
    });
    connect(rfn_, &QLineEdit::textChanged, this, &FrmReport::updateNextForFileName);
    connect(bro_, &QPushButton::clicked, this, &FrmReport::browse);
    connect(nxt_, &QPushButton::clicked, this, &FrmReport::next);
    connect(bak_, &QPushButton::clicked, this, &FrmReport::back);
    connect(cr_, &QPushButton::clicked, this, &FrmReport::finish);
    connect(can_, &QPushButton::clicked, this, &FrmReport::reject);
    connect(cl_, &QPushButton::clicked, this, &FrmReport::reject);
}

void FrmReport::showPage(QWidget* page) {
    for (QWidget* p : {pic1_, pic2_, pic3_})
        p->setVisible(p == page);
}

qsizetype FrmReport::chosenCount() const {
    qsizetype count = 0;
    for (int i = 0; i < unList_->count(); ++i)
        if (unList_->item(i)->checkState() == Qt::Checked)
            ++count;
    return count;
}

void FrmReport::unListClick() {
    if (wizardStep_ == 1)
        nxt_->setEnabled(chosenCount() > 0);
}

void FrmReport::unListItemCheck() {
    unListClick();
    const bool all = chosenCount() == unList_->count();
    mnuFileSa_->setEnabled(!all);
    mnuFileDa_->setEnabled(all);
}

void FrmReport::selectAll() {
    {
        // One check for the whole list, not one per item.
        const QSignalBlocker blocker(unList_);
        for (int i = 0; i < unList_->count(); ++i)
            unList_->item(i)->setCheckState(Qt::Checked);
    }
    unList_->viewport()->update();
    unListClick();
    mnuFileSa_->setEnabled(false);
    mnuFileDa_->setEnabled(true);
}

void FrmReport::deselectAll() {
    {
        const QSignalBlocker blocker(unList_);
        for (int i = 0; i < unList_->count(); ++i)
            unList_->item(i)->setCheckState(Qt::Unchecked);
    }
    unList_->viewport()->update();
    unListClick();
    mnuFileDa_->setEnabled(false);
    mnuFileSa_->setEnabled(true);
}

bool FrmReport::itemsChosen() const {
    if (chkAll_->isChecked())
        return true;
    return std::any_of(chk_.cbegin(), chk_.cend(), [](QCheckBox* box) { return box->isChecked(); });
}

void FrmReport::updateNextForItems() {
    nxt_->setEnabled(itemsChosen());
}

void FrmReport::updateNextForFileName() {
    if (wizardStep_ == 3)
        nxt_->setEnabled(!rfn_->text().isEmpty());
}

void FrmReport::next() {
    if (!nxt_->isEnabled() || nxt_->isHidden())
        return;
    switch (wizardStep_) {
    case 1:
        showPage(pic2_);
        tip_->setText(kItemsTip);
        wizardStep_ = 2;
        nxt_->setEnabled(itemsChosen());
        bak_->setEnabled(true);
        break;
    case 2:
        showPage(pic3_);
        tip_->setText(kFileTip);
        wizardStep_ = 3;
        updateNextForFileName();
        break;
    case 3: {
        const ReportNameCheck check = CheckReportFileName(rfn_->text());
        if (check.kind != ReportNameCheck::Ok) {
            host_.context().messages().MsgBox(check.message, MsgButtons::Ok, MsgIcon::Exclamation,
                                              QStringLiteral("Relvano"));
            if (check.kind == ReportNameCheck::MissingFolder) {
                rfn_->setSelection(0, static_cast<int>(check.selectLength));
                bro_->setFocus();
            } else {
                rfn_->setFocus();
            }
            return;
        }
        tip_->setText(QStringLiteral("Press ' Create report ' to start"));
        reportOptions_->hide();
        lCreate_->setText(ReportSummaryText(unList_->count(), chosenCount()));
        lCreate_->show();
        nxt_->hide();
        cr_->show();
        wizardStep_ = 4;
        break;
    }
    default:
        break;
    }
}

void FrmReport::back() {
    if (!bak_->isEnabled() || bak_->isHidden())
        return;
    switch (wizardStep_) {
    case 2:
        showPage(pic1_);
        tip_->setText(kProgramsTip);
        bak_->setEnabled(false);
        wizardStep_ = 1;
        unListClick();
        break;
    case 3:
        showPage(pic2_);
        tip_->setText(kItemsTip);
        wizardStep_ = 2;
        updateNextForItems();
        break;
    case 4:
        backToFilePage();
        break;
    default:
        break;
    }
}

void FrmReport::backToFilePage() {
    showPage(pic3_);
    tip_->setText(kFileTip);
    lCreate_->hide();
    reportOptions_->show();
    cr_->hide();
    nxt_->show();
    wizardStep_ = 3;
    updateNextForFileName();
}

void FrmReport::browse() {
    // A cancelled browse keeps the name and file type of the previous one.
    const QString previousName = reportDialog_.FileName;
    const int previousIndex = reportDialog_.FilterIndex;
    reportDialog_.hwnd = this;
    reportDialog_.flags = cCommonDialog::OverwritePrompt;
    reportDialog_.DialogTitle = QStringLiteral("Report File");
    reportDialog_.Filter = QStringLiteral("Text File (*.txt)|*.txt|Web Page (*.htm)|*.htm");
    reportDialog_.ShowSave();
    const QString chosen = reportDialog_.FileName;
    if (chosen.isEmpty()) {
        reportDialog_.FileName = previousName;
        reportDialog_.FilterIndex = previousIndex;
        return;
    }
    rfn_->setText(BrowsedReportName(chosen, reportDialog_.FilterIndex));
}

void FrmReport::prepareForWriting() {
    showPage(nullptr);
    can_->hide();
    cr_->hide();
    bak_->hide();
    cl_->show();
}

void FrmReport::finish() {
    if (wizardStep_ != 4 || writing_)
        return;
    writing_ = true;
    lCreate_->show();
    for (QPushButton* b : {cl_, cr_, bak_, can_})
        b->setEnabled(false);
    repaint();
    tip_->clear();
    lCreate_->setText(QStringLiteral("Creating Report , Please Wait..."));
    repaint();

    AppContext& context = host_.context();
    ReportInput input;
    input.computerName = ComputerName();
    input.userName = UserName();
    input.programs = programs_;
    for (int i = 0; i < unList_->count(); ++i)
        input.chosen.append(unList_->item(i)->checkState() == Qt::Checked);
    for (int k = 0; k < 9; ++k)
        input.items[k] = chk_[k]->isChecked();
    UninstallEntries& entries = context.entries();
    input.readValue = [&entries, this](qsizetype n, const QString& name) {
        return ReadReportValue(entries, programs_, n, name);
    };
    ProgressPacer pace;
    input.progress = [&pace](qsizetype) {
        pace();
    };
    const QString path = rfn_->text();

    prepareForWriting();
    WriteResult written;
    {
        // One consistent read of the store for the whole report.
        const auto batch = context.store().BeginReadBatch();
        written = ChooseReportWriter(reportDialog_.FilterIndex, chkAll_->isChecked())(path, input);
    }
    writing_ = false;
    if (!written) {
        // Nothing was put in place under the name: back to the file page.
        context.messages().MsgBox(QStringLiteral("The report could not be created.") +
                                      QStringLiteral("\r\n\r\n") + written.error,
                                  MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
        cl_->hide();
        for (QPushButton* b : {cr_, bak_, can_})
            b->setEnabled(true);
        bak_->show();
        can_->show();
        backToFilePage();
        rfn_->setFocus();
        return;
    }
    cl_->setEnabled(true);
    showPage(pic3_);
    if (chkOpn_->isChecked()) {
        lCreate_->setText(QStringLiteral("Open Created File..."));
        repaint();
        context.shell().ShellOpen(QFileInfo(path).absoluteFilePath());
    }
    lCreate_->setText(QStringLiteral("Report Creation Complete Suceesfully"));
    cl_->setEnabled(true);
}

bool FrmReport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == rfn_ && event->type() == QEvent::FocusOut) {
        const QString text = WithDefaultReportExtension(rfn_->text());
        if (text != rfn_->text())
            rfn_->setText(text);
    } else if (watched == unList_->viewport() && event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        mnuFile_->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    return QDialog::eventFilter(watched, event);
}

void FrmReport::keyPressEvent(QKeyEvent* event) {
    if (writing_)
        return;
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

void FrmReport::closeEvent(QCloseEvent* event) {
    if (writing_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void FrmReport::reject() {
    if (!writing_)
        QDialog::reject();
}
