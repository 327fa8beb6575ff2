#include "lifecycle/FrmLog.h"

#include "controls/WindowHelpers.h"
#include "core/AppContext.h"
#include "core/HistoryLog.h"
#include "core/IniFile.h"
#include "core/Settings.h"
#include "core/TextHelpers.h"
#include "dialogs/CommonDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <span>

QString HistoryReportText(bool installView, const QList<std::pair<QString, QString>>& rows,
                          const QDateTime& createdAt) {
    QStringList lines{installView ? QStringLiteral("Installed Programs")
                                  : QStringLiteral("Uninstalled Programs"),
                      QString()};
    for (const auto& [property, value] : rows)
        lines.append(property + QStringLiteral(" : ") + value);
    lines << QString() << QString() << QStringLiteral("History Report")
          << QStringLiteral("Created In : ") + HistoryLog::DateText(createdAt)
          << QStringLiteral("Created By : Relvano");
    return lines.join(QStringLiteral("\r\n"));
}

FrmLog::FrmLog(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("FrmLog"));
    setWindowTitle(QStringLiteral("History"));
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto button = [toolBar](const char* name, const QString& caption, bool toggle) {
        QAction* action = AddToolButton(toolBar, name, caption);
        action->setCheckable(toggle);
        return action;
    };
    tbIn_ = button("TB_In", QStringLiteral(" Installed "), true);
    toolBar->addSeparator();
    tbUn_ = button("TB_Un", QStringLiteral(" Uninstalled "), true);
    toolBar->addSeparator();
    tbClear_ = button("TB_Clear", QStringLiteral(" Clear "), false);
    tbPrint_ = button("TB_Print", QStringLiteral(" Print "), false);

    tv_ = new QTreeWidget(this);
    tv_->setObjectName(QStringLiteral("Tv"));
    tv_->setRootIsDecorated(false);
    tv_->setUniformRowHeights(true); // long histories lay out in constant time
    tv_->setColumnCount(1);
    tv_->setHeaderLabels({QStringLiteral("Installed Programs")});
    lv_ = new QTreeWidget(this);
    lv_->setObjectName(QStringLiteral("Lv"));
    lv_->setRootIsDecorated(false);
    lv_->setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    lv_->setColumnWidth(0, 1900 / 15);
    sb_ = new QLabel(this);
    sb_->setObjectName(QStringLiteral("Sb"));
    sb_->setFrameShape(QFrame::StyledPanel);
    txtPrint_ = new QPlainTextEdit(this);
    txtPrint_->setObjectName(QStringLiteral("TxtPrint"));
    txtPrint_->hide();

    auto* lists = new QHBoxLayout;
    lists->addWidget(tv_, 2);
    lists->addWidget(lv_, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(toolBar);
    layout->addLayout(lists, 1);
    layout->addWidget(sb_);
    resize(640, 380);

    connect(tbIn_, &QAction::triggered, this, &FrmLog::showInstalled);
    connect(tbUn_, &QAction::triggered, this, &FrmLog::showUninstalled);
    connect(tbClear_, &QAction::triggered, this, &FrmLog::clearHistory);
    connect(tbPrint_, &QAction::triggered, this, &FrmLog::printRecord);
    // A click on an entry, or a key released while one is selected, shows its
    // fields. The list taking the focus (which makes an item current) does not.
    connect(tv_, &QTreeWidget::itemClicked, this, [this] { fillDetails(); });
    tv_->installEventFilter(this);

    // The last view shown is restored once the window is up.
    auto* tm = new QTimer(this);
    tm->setObjectName(QStringLiteral("Tm"));
    tm->setInterval(10);
    tm->setSingleShot(true);
    connect(tm, &QTimer::timeout, this, [this] {
        const bool installs = LoadPageSetting(context_.ConfigIniPath, PageSetting::History) == 1;
        showHistory(installs ? 1 : 2);
        tbIn_->setChecked(installs);
        tbUn_->setChecked(!installs);
        updateButtons();
    });
    tm->start();
    updateButtons();
}

void FrmLog::showHistory(int view) {
    tv_->clear();
    const auto file = view == 1 ? HistoryLog::File::Install : HistoryLog::File::Uninstall;
    tv_->setHeaderLabels({view == 1 ? QStringLiteral("Installed Programs")
                                    : QStringLiteral("Uninstalled Programs")});
    // The file is read once for the list and the details of its records.
    shown_ = context_.history().read(file);
    const QList<qint64> records = shown_.records();
    QList<QTreeWidgetItem*> items;
    items.reserve(records.size());
    for (const qint64 record : records) {
        auto* item = new QTreeWidgetItem({shown_.field(record, QStringLiteral("ProgName"))});
        item->setData(0, Qt::UserRole, record);
        items.append(item);
    }
    tv_->addTopLevelItems(items);
    view_ = view;
}

void FrmLog::showInstalled() {
    tbUn_->setChecked(false);
    tbIn_->setChecked(true);
    if (view_ == 1)
        return;
    showHistory(1);
    lv_->clear();
    updateButtons();
    updateStatus();
}

void FrmLog::showUninstalled() {
    tbIn_->setChecked(false);
    tbUn_->setChecked(true);
    if (view_ == 2)
        return;
    showHistory(2);
    lv_->clear();
    updateButtons();
    updateStatus();
}

void FrmLog::selectEntry(int row) {
    if (QTreeWidgetItem* item = tv_->topLevelItem(row)) {
        tv_->setCurrentItem(item);
        fillDetails();
    }
}

bool FrmLog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tv_ && event->type() == QEvent::KeyRelease && tv_->currentItem() &&
        tv_->currentItem()->isSelected())
        fillDetails();
    return QDialog::eventFilter(watched, event);
}

void FrmLog::fillDetails() {
    QTreeWidgetItem* current = tv_->currentItem();
    if (!current)
        return;
    lv_->clear();
    const qint64 record = current->data(0, Qt::UserRole).toLongLong();
    const QString na = QStringLiteral("N/A");
    auto add = [this](const QString& property, const QString& value) {
        new QTreeWidgetItem(lv_, {property, value});
    };
    // Rows always shown (missing values read "N/A"), then the uninstall
    // rows shown only when they have a value.
    struct Row {
        const char* property;
        const char* key;
    };
    static constexpr Row installRows[] = {
        {"Program Name", "ProgName"},   {"Program Path", "ProgPath"},
        {"Program Version", "ProgVer"}, {"Installation Date", "Date"},
        {"Program Size", "ProgSize"},   {"Program Folder Size", "ProgFolderSize"},
        {"Installation Time", "InTime"}};
    static constexpr Row uninstallRows[] = {{"Program Name", "ProgName"},
                                            {"Uninstallation Date", "Date"},
                                            {"Uninstallation Status", "St"}};
    static constexpr Row optionalRows[] = {{"Uninstallation Time", "UnTime"},
                                           {"Additional Info", "Rm"}};
    const bool installs = tbIn_->isChecked();
    for (const Row& row :
         installs ? std::span<const Row>(installRows) : std::span<const Row>(uninstallRows))
        add(QLatin1String(row.property), shown_.field(record, QLatin1String(row.key), na));
    if (!installs) {
        for (const Row& row : optionalRows) {
            const QString value = shown_.field(record, QLatin1String(row.key));
            if (!value.isEmpty())
                add(QLatin1String(row.property), value);
        }
    }
    updateButtons();
}

void FrmLog::updateButtons() {
    tbClear_->setEnabled(tv_->topLevelItemCount() > 0);
    tbPrint_->setEnabled(lv_->topLevelItemCount() > 0);
}

void FrmLog::updateStatus() {
    sb_->setText((view_ == 1 ? QStringLiteral("Installed Programs : ")
                             : QStringLiteral("Uninstalled Programs : ")) +
                 QString::number(tv_->topLevelItemCount()));
}

void FrmLog::clearHistory() {
    const bool installs = view_ == 1;
    const MsgAnswer answer = context_.messages().MsgBox(
        installs
            ? QStringLiteral("Are you sure you want to clear the installed programs history ?")
            : QStringLiteral("Are you sure you want to clear the uninstalled programs history ?"),
        MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("Relvano"));
    if (answer == MsgAnswer::Yes) {
        context_.history().ClearHistory(installs ? HistoryLog::File::Install
                                                 : HistoryLog::File::Uninstall);
        lv_->clear();
        showHistory(view_);
    } else if (installs) {
        showHistory(1);
    }
    updateButtons();
    updateStatus();
}

QList<std::pair<QString, QString>> FrmLog::detailRows() const {
    QList<std::pair<QString, QString>> rows;
    for (int i = 0; i < lv_->topLevelItemCount(); ++i)
        rows.append({lv_->topLevelItem(i)->text(0), lv_->topLevelItem(i)->text(1)});
    return rows;
}

void FrmLog::printRecord() {
    txtPrint_->setPlainText(
        HistoryReportText(view_ == 1, detailRows(), QDateTime::currentDateTime()));
    cCommonDialog dialog(&context_.dialogs());
    dialog.hwnd = this;
    dialog.Copies = 1;
    if (dialog.ShowPrinter())
        context_.printer().PrintText(
            QStringLiteral("History Report"),
            txtPrint_->toPlainText().replace(u'\n', QStringLiteral("\r\n")),
            std::max(1, dialog.Copies));
    updateStatus();
}

void FrmLog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & Qt::ShiftModifier) {
        // Shift+1 and Shift+2, whatever character the layout makes of them.
        if (event->key() == Qt::Key_1 || event->key() == Qt::Key_Exclam) {
            showInstalled();
            tv_->setFocus();
            return;
        }
        if (event->key() == Qt::Key_2 || event->key() == Qt::Key_At ||
            event->key() == Qt::Key_QuoteDbl) {
            showUninstalled();
            tv_->setFocus();
            return;
        }
    }
    CloseOnEsc(event->key(), this);
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

void FrmLog::done(int r) {
    // Before the first page is shown there is no page to remember.
    if (view_ != 0)
        SavePageSetting(context_.ConfigIniPath, PageSetting::History, view_);
    QDialog::done(r);
}
