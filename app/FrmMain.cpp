#include "app/FrmMain.h"

#include "app/FindPanel.h"
#include "app/ProgramList.h"
#include "app/ProgramListModel.h"
#include "app/ProgramListView.h"
#include "app/TrayController.h"
#include "controls/ProgBar.h"
#include "controls/WindowHelpers.h"
#include "core/FileFolder.h"
#include "core/IniFile.h"
#include "core/TextHelpers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>

#include <cmath>

QRect DesignGeometryTwips() {
    return QRect(1200, 900, 11250, 7500); // 750 x 500 pixels
}

FrmMain::FrmMain(AppContext& context, const WindowOpener& windows, QWidget* parent)
    : QMainWindow(parent), context_(context), windows_(windows) {
    InitRelvanoResources();
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Relvano 4.1"));
    setWindowIcon(QIcon(QStringLiteral(":/relvano/relvano.png")));
    const QRect design = DesignGeometryTwips();
    resize(design.width() / TwipsPerPixel, design.height() / TwipsPerPixel);
}

FrmMain::~FrmMain() = default;

// ---------------------------------------------------------------------------
// Load and set-up

void FrmMain::load(ProgBar* splashBar, const std::function<void()>& closeSplash) {
    SetupWindow();
    splashBar_ = splashBar;
    ResetList();
    if (closeSplash)
        closeSplash();
    splashBar_ = nullptr;
    splashClosed_ = true;
    ApplySettings();
}

void FrmMain::SetupWindow() {
    list_ = new ProgramListView(this);
    findPanel_ = new FindPanel(context_, list_, this);
    findPanel_->hide();
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(findPanel_);
    layout->addWidget(list_, 1);
    setCentralWidget(central);

    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildCommandRules();
    connectMenus();
    connectList();
    // Icons read in the background take their place in the list as they come.
    connect(&icons_, &IconCache::iconLoaded, list_, &ProgramListView::setFileIcon);
    tray_ = new TrayController(this, trayMenu_);
    connect(findPanel_, &FindPanel::itemsColoured, this, [this] {
        a_.editSep3->setVisible(true);
        a_.editRemoveColors->setVisible(true);
    });
}

void FrmMain::connectList() {
    connect(list_, &ProgramListView::mousePressed, this, [this](Qt::MouseButton button) {
        lastMouseButton_ = button == Qt::RightButton ? 2 : 1;
        itemClicked_ = false;
    });
    connect(list_, &ProgramListView::itemClicked, this, [this] { itemActivated(); });
    connect(list_, &ProgramListView::keyPressed, this, [this](int key) {
        if (list_->selectedRow() < 0)
            return;
        itemActivated();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && options().doubleClickRuns)
            runDoubleClickAction();
    });
    connect(list_, &ProgramListView::rightButtonReleased, this,
            [this] { showPopup(itemClicked_ ? popItem_ : popList_); });
    connect(list_, &ProgramListView::itemDoubleClicked, this, [this] {
        if (options().doubleClickRuns && lastMouseButton_ == 1)
            runDoubleClickAction();
    });
    connect(list_, &ProgramListView::selectionChanged, this, &FrmMain::ChkDis);
    connect(list_, &ProgramListView::nameHeaderClicked, this, [this] {
        SetSortOrder(list_->sortOrder() == SortOrder::Ascending ? SortOrder::Descending
                                                                : SortOrder::Ascending);
    });
    connect(list_, &ProgramListView::editStarted, this,
            [this](int row) { oldItemText_ = list_->text(row); });
    connect(list_, &ProgramListView::renameRequested, this, &FrmMain::renameFinished);
}

void FrmMain::showPopup(QMenu* menu) {
    emit popupRequested(menu);
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        menu->popup(QCursor::pos());
}

// ---------------------------------------------------------------------------
// The list

OptionSettings FrmMain::options() const {
    return LoadOptionSettings(context_.ConfigIniPath);
}

void FrmMain::ResetList() {
    list_->clear();
    LoadList();
    ChkDis();
}

void FrmMain::LoadList() {
    ProgBar* bar = splashClosed_ ? prog_ : splashBar_;
    if (splashClosed_) {
        progPic_->show();
        progPic_->repaint();
    }
    const bool showHidden = options().showHidden;
    int shownStep = 0;
    const ProgramListing listing = LoadProgramListing(
        context_.store(), AppContext::UninstallKeyPath, showHidden, [&](int done, int total) {
            // Repaint the bar about a hundred times over the load, not per entry.
            if (!bar || total == 0)
                return;
            const int step = done * 100 / total;
            if (step == shownStep && done != total)
                return;
            shownStep = step;
            bar->setMax(static_cast<short>(std::min(total, 32767)));
            bar->setValue(static_cast<int>(static_cast<qint64>(done) * bar->Max() / total));
        });
    QList<ProgramRow> rows;
    rows.reserve(listing.items.size());
    for (const ProgramItem& item : listing.items) {
        const QString& file = listing.iconFiles[item.imageIndex];
        rows.append({item.key, item.name, item.uninstall, icons_.icon(file), item.imageIndex, file,
                     QColor()});
    }
    list_->setRows(std::move(rows));
    SetSortOrder(a_.pop2Ascending->isChecked() ? SortOrder::Ascending : SortOrder::Descending);
    sb1_->setText(QStringLiteral("Installed Programs : ") + QString::number(list_->count()));
    // A store that cannot be read is said so, not shown as an empty list.
    if (listing.read.ok()) {
        sb2_->clear();
    } else {
        sb1_->setText(QStringLiteral("Installed Programs : N/A"));
        sb2_->setText(QStringLiteral("The list of installed programs could not be read: ") +
                      listing.read.message);
    }
    if (bar)
        bar->setValue(0);
    progPic_->hide();
    list_->fitColumns();
}

int FrmMain::selectedRow() const {
    return list_ ? list_->selectedRow() : -1;
}

QString FrmMain::selectedKey() const {
    const int row = selectedRow();
    return row < 0 ? QString() : list_->key(row);
}

QString FrmMain::selectedText() const {
    const int row = selectedRow();
    return row < 0 ? QString() : list_->text(row);
}

QList<ListedProgram> FrmMain::listedPrograms() const {
    QList<ListedProgram> programs;
    const int count = list_ ? list_->count() : 0;
    programs.reserve(count);
    for (int row = 0; row < count; ++row)
        programs.append({list_->key(row), list_->text(row)});
    return programs;
}

void FrmMain::ChkDis() {
    const bool listed = list_->count() > 0;
    const bool selected = list_->selectedRow() >= 0;
    // The list-wide commands change only when the list becomes empty or
    // stops being empty; the selection's commands follow every change.
    const bool listChanged = listed != listCommandsOn_;
    listCommandsOn_ = listed;
    for (const CommandRule& rule : std::as_const(rules_)) {
        if (rule.needsSelection)
            rule.action->setEnabled(selected);
        else if (rule.needsList && listChanged)
            rule.action->setEnabled(listed);
    }
}

void FrmMain::UpdateQuickLinks() {
    const QString key = selectedKey();
    if (key.isEmpty())
        return;
    UninstallEntries& entries = context_.entries();
    const QString location = entries.value(key, QStringLiteral("InstallLocation"));
    const QString about = entries.value(key, QStringLiteral("URLInfoAbout"));
    const QString help = entries.value(key, QStringLiteral("HelpLink"));
    const bool any = !(location.size() < 3 && about.size() < 4 && help.size() < 4);
    for (QAction* action : {a_.infoQuickLinks, a_.popQuickLinks, a_.editShortcut, a_.popShortcut})
        action->setEnabled(any);
    a_.infoLocation->setEnabled(location.size() >= 4);
    a_.popLocation->setEnabled(location.size() >= 4);
    a_.infoPublisher->setEnabled(about.size() >= 4);
    a_.popPublisher->setEnabled(about.size() >= 4);
    a_.infoSupport->setEnabled(help.size() >= 4);
    a_.popSupport->setEnabled(help.size() >= 4);
}

void FrmMain::itemActivated() {
    if (selectedKey().isEmpty())
        return;
    itemClicked_ = true;
    ChkDis();
    UpdateQuickLinks();
}

void FrmMain::SetView(ListViewKind view) {
    struct Items {
        ListViewKind kind;
        QAction* menuItem;
        QAction* popupItem;
    };
    const Items items[] = {{ListViewKind::LargeIcons, a_.viewLarge, a_.pop2Large},
                           {ListViewKind::SmallIcons, a_.viewSmall, a_.pop2Small},
                           {ListViewKind::List, a_.viewList, a_.pop2List},
                           {ListViewKind::Details, a_.viewDetails, a_.pop2Details}};
    for (const Items& item : items) {
        if (item.kind != view)
            continue;
        list_->setView(view);
        item.menuItem->setChecked(true);
        item.popupItem->setChecked(true);
        view_ = view;
        list_->fitColumns();
    }
}

void FrmMain::SetSortOrder(SortOrder order) {
    list_->setSortOrder(order);
    if (order == SortOrder::Unsorted)
        return;
    const bool ascending = order == SortOrder::Ascending;
    (ascending ? a_.viewAscending : a_.viewDescending)->setChecked(true);
    (ascending ? a_.pop2Ascending : a_.pop2Descending)->setChecked(true);
    order_ = order;
}

void FrmMain::SetMode(ListMode mode) {
    const bool advanced = mode == ListMode::Advanced;
    mode_ = mode;
    (advanced ? a_.viewAdvanced : a_.viewBasic)->setChecked(true);
    for (const CommandRule& rule : std::as_const(rules_)) {
        if (rule.advancedOnly)
            rule.action->setVisible(advanced);
    }
}

void FrmMain::toggleFindPanel() {
    const bool show = !findPanel_->isVisible();
    a_.tbFind->setChecked(show);
    a_.editFind->setChecked(show);
    findPanel_->setVisible(show);
    SaveFindPanelShown(context_.ConfigIniPath, show);
    if (show) {
        findPanel_->reset();
        findPanel_->focusSearchText();
    }
    list_->fitColumns();
}

// ---------------------------------------------------------------------------
// Settings

MainWindowSettings FrmMain::currentSettings() const {
    MainWindowSettings s;
    s.mode = mode_;
    s.order = order_;
    s.view = view_;
    const QRect g = geometry();
    s.geometryTwips = QRect(g.x() * TwipsPerPixel, g.y() * TwipsPerPixel, g.width() * TwipsPerPixel,
                            g.height() * TwipsPerPixel);
    return s;
}

void FrmMain::ApplySettings() {
    const MainWindowSettings s =
        LoadMainWindowSettings(context_.ConfigIniPath, DesignGeometryTwips());
    SetMode(s.mode);
    SetView(s.view);
    SetSortOrder(s.order);
    if (s.findPanel && !findPanel_->isVisible())
        toggleFindPanel();
    list_->setGridLines(s.gridLines);
    list_->setFullRowSelect(s.fullRowSelect);
    if (s.restorePosition) {
        setGeometry(s.geometryTwips.x() / TwipsPerPixel, s.geometryTwips.y() / TwipsPerPixel,
                    s.geometryTwips.width() / TwipsPerPixel,
                    s.geometryTwips.height() / TwipsPerPixel);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2);
    }
    // "Windows Update" needs a newer system and a software centre to open.
    const bool newer =
        std::nearbyint(LeadingNumber(
            QString(WindowsVersionText()).replace(QLocale().decimalPoint(), QStringLiteral(".")))) >
        4;
    const bool centre =
        !QStandardPaths::findExecutable(QStringLiteral("gnome-software")).isEmpty() ||
        !QStandardPaths::findExecutable(QStringLiteral("plasma-discover")).isEmpty();
    a_.toolsComponents->setVisible(centre);
    a_.toolsUpdate->setVisible(newer && centre);
    itemClicked_ = false;
    list_->update();
}

// ---------------------------------------------------------------------------
// Window events

void FrmMain::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        // The other windows go first, then the tray icon; the settings are saved last.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != this && window->isVisible() && !qobject_cast<QMenu*>(window))
                window->close();
        }
        tray_->removeIcon();
        SaveMainWindowSettings(context_.ConfigIniPath, currentSettings());
        unloaded_ = true;
        event->accept();
        emit unloaded();
        return;
    }
    event->accept();
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (list_)
        list_->fitColumns();
}

void FrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && tray_)
        tray_->windowResized();
}
