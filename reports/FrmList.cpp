#include "reports/FrmList.h"

#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/FileFolder.h"
#include "core/TextHelpers.h"
#include "core/WholeFile.h"
#include "dialogs/CommonDialog.h"
#include "reports/ReportWriter.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString ProgramsListText(const QString& computerName, const QString& userName,
                         const QList<ListedProgram>& programs, const QDateTime& createdAt) {
    QStringList lines{QStringLiteral("Installed Programs List "),
                      QString(23, u'=') + u' ',
                      QString(),
                      QStringLiteral("Computer Name : ") + computerName,
                      QStringLiteral("User Name : ") + userName,
                      QStringLiteral("Installed Programs Number : ") +
                          QString::number(programs.size()),
                      QString(),
                      QStringLiteral("Programs List"),
                      QString(22, u'-')};
    lines.reserve(lines.size() + programs.size() + 5);
    for (qsizetype i = 0; i < programs.size(); ++i)
        lines.append(QString::number(i + 1) + QStringLiteral(" - ") + programs[i].text);
    lines << QString() << QString() << QStringLiteral("Installed Programs List")
          << QStringLiteral("Created In : ") + GeneralDateText(createdAt)
          << QStringLiteral("Created by : Relvano");
    return lines.join(kCrLf);
}

QString ListFileName(const QString& chosen) {
    return chosen.right(4).toLower() == u".txt" ? chosen : chosen + QStringLiteral(".txt");
}

FrmList::FrmList(MainWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("FrmList"));
    setWindowTitle(QStringLiteral("Programs List"));

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("Mnu_File"));
    mnuSave_ = AddMenuItem(file, "Mnu_File_Save", QStringLiteral("Save"),
                           QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuPrint_ = AddMenuItem(file, "Mnu_File_Print", QStringLiteral("Print"),
                            QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator()->setObjectName(QStringLiteral("Mnu_File_Sp1"));
    QAction* exit = AddMenuItem(file, "Mnu_File_Exit", QStringLiteral("Exit     Esc"));
    QMenu* edit = menuBar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Mnu_Edit"));
    mnuCopy_ = AddMenuItem(edit, "Mnu_Edit_Copy", QStringLiteral("Copy"),
                           QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEdit_ = AddMenuItem(edit, "Mnu_Edit_Edit", QStringLiteral("Edit"),
                           QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuEdit_->setCheckable(true);

    // The rebar's one band: the toolbar.
    auto* reb = new QWidget(this);
    reb->setObjectName(QStringLiteral("Reb"));
    auto* toolBar = new QToolBar(reb);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tbSave_ = AddToolButton(toolBar, "TB_Save", QStringLiteral(" Save "));
    toolBar->addSeparator();
    tbCopy_ = AddToolButton(toolBar, "TB_Copy", QStringLiteral(" Copy "));
    tbPrint_ = AddToolButton(toolBar, "TB_Print", QStringLiteral(" Print "));
    toolBar->addSeparator();
    tbEdit_ = AddToolButton(toolBar, "TB_Edit", QStringLiteral(" Edit "));
    tbEdit_->setCheckable(true);
    auto* rebLayout = new QVBoxLayout(reb);
    rebLayout->setContentsMargins(0, 0, 0, 0);
    rebLayout->addWidget(toolBar);

    txt_ = new QPlainTextEdit(this);
    txt_->setObjectName(QStringLiteral("Txt"));
    txt_->setFont(QFont(QStringLiteral("Verdana")));
    txt_->setReadOnly(true);
    txt_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt_->hide();
    tip_ = new QLabel(QStringLiteral("Loading List , Please Wait ..."), this);
    tip_->setObjectName(QStringLiteral("Tip"));
    tip_->setContentsMargins(70 / 15, 300 / 15, 0, 0);
    tip_->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    sb1_ = new QLabel(this);
    sb1_->setObjectName(QStringLiteral("SB1"));
    QStatusBar* sb = MakeStatusBar(this, {sb1_});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(reb);
    layout->addWidget(txt_, 1);
    layout->addWidget(tip_, 1);
    layout->addWidget(sb);
    resize(520, 420);

    connect(mnuSave_, &QAction::triggered, this, &FrmList::save);
    connect(tbSave_, &QAction::triggered, this, &FrmList::save);
    connect(mnuPrint_, &QAction::triggered, this, &FrmList::print);
    connect(tbPrint_, &QAction::triggered, this, &FrmList::print);
    connect(mnuCopy_, &QAction::triggered, this, &FrmList::copy);
    connect(tbCopy_, &QAction::triggered, this, &FrmList::copy);
    connect(mnuEdit_, &QAction::triggered, this, &FrmList::toggleEdit);
    connect(tbEdit_, &QAction::triggered, this, &FrmList::toggleEdit);
    connect(exit, &QAction::triggered, this, &QDialog::reject);
    connect(txt_, &QPlainTextEdit::textChanged, this, &FrmList::textChanged);
    textChanged();

    // Tm builds the text once the window is drawn; Tim clears the status message.
    auto* tm = new QTimer(this);
    tm->setObjectName(QStringLiteral("Tm"));
    tm->setInterval(50);
    tm->setSingleShot(true);
    connect(tm, &QTimer::timeout, this, &FrmList::buildList);
    tm->start();
    tim_ = new QTimer(this);
    tim_->setObjectName(QStringLiteral("Tim"));
    tim_->setInterval(2000);
    tim_->setSingleShot(true);
    connect(tim_, &QTimer::timeout, this, [this] { sb1_->clear(); });
}

void FrmList::buildList() {
    // The box keeps line feeds; text() gives the lines back with CR LF.
    txt_->setPlainText(ProgramsListText(ComputerName(), UserName(), host_.listedPrograms(),
                                        QDateTime::currentDateTime())
                           .replace(kCrLf, QStringLiteral("\n")));
    tip_->hide();
    txt_->show();
}

QString FrmList::text() const {
    return txt_->toPlainText().replace(u'\n', kCrLf);
}

void FrmList::textChanged() {
    const bool any = HasNonSpace(txt_->toPlainText());
    for (QAction* a : {mnuSave_, mnuPrint_, mnuCopy_, tbSave_, tbPrint_, tbCopy_})
        a->setEnabled(any);
}

void FrmList::save() {
    if (!mnuSave_->isEnabled())
        return;
    AppContext& context = host_.context();
    cCommonDialog dialog(&context.dialogs());
    dialog.hwnd = this;
    dialog.DialogTitle = QStringLiteral("Save As");
    dialog.Filter = QStringLiteral("Text File (*.txt)|*.txt");
    dialog.FileName.clear();
    dialog.ShowSave();
    if (dialog.FileName.isEmpty())
        return;
    const QString path = ListFileName(dialog.FileName);
    if (const WriteResult written = WriteWholeFile(path, QString(text() + kCrLf).toUtf8());
        !written)
        context.messages().MsgBox(QStringLiteral("The list could not be saved.\r\n\r\n") +
                                      written.error,
                                  MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
}

void FrmList::print() {
    if (!mnuPrint_->isEnabled())
        return;
    AppContext& context = host_.context();
    cCommonDialog dialog(&context.dialogs());
    dialog.hwnd = this;
    dialog.Copies = 1;
    if (!dialog.ShowPrinter())
        return;
    // The copies follow one another in one job, without a page break between.
    const QString copy = text() + kCrLf;
    QString all;
    const int copies = std::max(1, dialog.Copies);
    all.reserve(copy.size() * copies);
    for (int i = 0; i < copies; ++i)
        all += copy;
    if (!context.printer().PrintText(QStringLiteral("Programs List"), all, 1))
        context.messages().MsgBox(
            QStringLiteral("The list could not be printed: the printer reported an error."),
            MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Relvano"));
}

void FrmList::copy() {
    if (!mnuCopy_->isEnabled())
        return;
    host_.context().clipboard().SetText(txt_->toPlainText());
    showStatus(QStringLiteral("Text was copied to clipboard"));
}

void FrmList::showStatus(const QString& message) {
    sb1_->setText(message);
    tim_->start();
}

void FrmList::toggleEdit() {
    // Both the menu item and the button may have toggled themselves already;
    // the box's state decides.
    const bool editable = txt_->isReadOnly();
    mnuEdit_->setChecked(editable);
    tbEdit_->setChecked(editable);
    txt_->setReadOnly(!editable);
    if (editable)
        txt_->setFocus();
}

void FrmList::keyPressEvent(QKeyEvent* event) {
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}
