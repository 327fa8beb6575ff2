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

namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QIcon StandardIcon(const char* theme, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QLatin1String(theme), QApplication::style()->standardIcon(fallback));
}

} // namespace

QRect DesignGeometryTwips() {
    return QRect(1200, 900, 11250, 7500); // 750 x 500 pixels
}

FrmMain::FrmMain(AppContext& context, QWidget* parent) : QMainWindow(parent), context_(context) {
    InitRelvanoResources();
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Relvano 4.1"));
    setWindowIcon(QIcon(QStringLiteral(":/relvano/relvano.png")));
    const QRect design = DesignGeometryTwips();
    resize(design.width() / TwipsPerPixel, design.height() / TwipsPerPixel);
    // The about box: the product, its version and where it comes from.
    windows_.setOpener(AppWindow::About, [](FrmMain& main) {
        if (MessageService* messages = main.context().services.messages)
            messages->MsgBox(QStringLiteral("Relvano 4.1\r\n\r\nManages the list of installed "
                                            "programs.\r\nhttps://relvano.invalid"),
                             MsgButtons::Ok, MsgIcon::Information, QStringLiteral("About Relvano"));
    });
}

FrmMain::~FrmMain() = default;

// ---------------------------------------------------------------------------
// Set-up

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
    connectList();
    tray_ = new TrayController(this, trayMenu_);
    connect(findPanel_, &FindPanel::itemsColoured, this, [this] {
        a_.editSep3->setVisible(true);
        a_.editRemoveColors->setVisible(true);
    });
}

void FrmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = AddMenu(bar, "Mnu_File", QStringLiteral("&File"));
    a_.fileAdd = AddItem(file, "Mnu_File_Add", QStringLiteral("Add New Program..."));
    a_.fileUninstall = AddItem(file, "Mnu_File_Uninstall", QStringLiteral("Uninstall Program"));
    a_.fileSep1 = AddSeparator(file, "Mnu_File_Sep1");
    a_.fileExport = AddItem(file, "Mnu_File_Export", QStringLiteral("Export Uninstall Info"));
    a_.fileBackup = AddItem(file, "Mnu_File_Backup", QStringLiteral("Backup Uninstall Info..."));
    a_.fileRestore = AddItem(file, "Mnu_File_Restore", QStringLiteral("Restore..."));
    AddSeparator(file, "Mnu_File_Sep2");
    a_.fileReport = AddItem(file, "Mnu_File_Report", QStringLiteral("Report..."));
    a_.fileList = AddItem(file, "Mnu_File_List", QStringLiteral("Programs List..."));
    AddSeparator(file, "Mnu_File_Sep3");
    a_.fileExit = AddItem(file, "Mnu_File_Exit", QStringLiteral("Exit"));

    QMenu* edit = AddMenu(bar, "Mnu_Edit", QStringLiteral("&Edit"));
    a_.editAddEntry = AddItem(edit, "Mnu_Edit_AddEntry", QStringLiteral("Add Entry..."));
    a_.editEditEntry = AddItem(edit, "Mnu_Edit_EditEntry", QStringLiteral("Edit Entry..."));
    a_.editRename = AddItem(edit, "Mnu_Edit_Rename", QStringLiteral("Rename"));
    a_.editDelete = AddItem(edit, "Mnu_Edit_Delete", QStringLiteral("Delete Entry"));
    a_.editSep1 = AddSeparator(edit, "Mnu_Edit_Sep1");
    a_.editFind = AddItem(edit, "Mnu_Edit_Find", QStringLiteral("Find"));
    a_.editFind->setCheckable(true);
    a_.editFind->setShortcut(QKeySequence::Find);
    a_.editChangeIcon = AddItem(edit, "Mnu_Edit_ChangeIcon", QStringLiteral("Change Icon..."));
    AddSeparator(edit, "Mnu_Edit_Sep2");
    a_.editShortcut = AddItem(edit, "Mnu_Edit_Shortcut", QStringLiteral("Create Shortcut..."));
    a_.editSep3 = AddSeparator(edit, "Mnu_Edit_Sep3");
    a_.editRemoveColors =
        AddItem(edit, "Mnu_Edit_RemoveColors", QStringLiteral("Remove Items Colors"));
    a_.editSep3->setVisible(false);
    a_.editRemoveColors->setVisible(false);

    QMenu* view = AddMenu(bar, "Mnu_View", QStringLiteral("&View"));
    a_.viewBasic = AddItem(view, "Mnu_View_Basic", QStringLiteral("Basic Mode"));
    a_.viewAdvanced = AddItem(view, "Mnu_View_Advanced", QStringLiteral("Advanced Mode"));
    AddSeparator(view, "Mnu_View_Sep1");
    a_.viewLarge = AddItem(view, "Mnu_View_Large", QStringLiteral("Large Icons"));
    a_.viewSmall = AddItem(view, "Mnu_View_Small", QStringLiteral("Small Icons"));
    a_.viewList = AddItem(view, "Mnu_View_List", QStringLiteral("List"));
    a_.viewDetails = AddItem(view, "Mnu_View_Details", QStringLiteral("Details"));
    AddSeparator(view, "Mnu_View_Sep2");
    a_.viewAscending = AddItem(view, "Mnu_View_Ascending", QStringLiteral("Ascending Order"));
    a_.viewDescending = AddItem(view, "Mnu_View_Descending", QStringLiteral("Descending Order"));
    AddSeparator(view, "Mnu_View_Sep3");
    a_.viewTray = AddItem(view, "Mnu_View_Tray", QStringLiteral("Minimize To Tray"));
    a_.viewRefresh = AddItem(view, "Mnu_View_Refresh", QStringLiteral("Refresh"));
    a_.viewRefresh->setShortcut(QKeySequence(Qt::Key_F5));

    QMenu* info = AddMenu(bar, "Mnu_Info", QStringLiteral("&Info"));
    a_.infoInfo = AddItem(info, "Mnu_Info_Info", QStringLiteral("Uninsatll Information..."));
    a_.infoAll = AddItem(info, "Mnu_Info_All", QStringLiteral("All Programs Info..."));
    a_.infoHistory = AddItem(info, "Mnu_Info_History", QStringLiteral("History..."));
    AddSeparator(info, "Mnu_Info_Sep1");
    QMenu* links = info->addMenu(QStringLiteral("Quick Links"));
    links->setObjectName(QStringLiteral("Mnu_Info_QuickLinks"));
    a_.infoQuickLinks = links->menuAction();
    a_.infoQuickLinks->setObjectName(QStringLiteral("Mnu_Info_QuickLinks"));
    a_.infoLocation = AddItem(links, "Mnu_Info_Location", QStringLiteral("Install Location"));
    a_.infoPublisher = AddItem(links, "Mnu_Info_Publisher", QStringLiteral("Publisher Url"));
    a_.infoSupport = AddItem(links, "Mnu_Info_Support", QStringLiteral("Support Url"));

    QMenu* tools = AddMenu(bar, "Mnu_Tools", QStringLiteral("&Tools"));
    a_.toolsProgramFiles =
        AddItem(tools, "Mnu_Tools_ProgramFiles", QStringLiteral("Program Files"));
    a_.toolsRegedit = AddItem(tools, "Mnu_Tools_Regedit", QStringLiteral("Registry Editor"));
    AddSeparator(tools, "Mnu_Tools_Sep1");
    a_.toolsComponents =
        AddItem(tools, "Mnu_Tools_Components", QStringLiteral("Windows Components"));
    a_.toolsUpdate = AddItem(tools, "Mnu_Tools_Update", QStringLiteral("Windows Update"));
    AddSeparator(tools, "Mnu_Tools_Sep2");
    a_.toolsOptions = AddItem(tools, "Mnu_Tools_Options", QStringLiteral("Options"));

    QMenu* help = AddMenu(bar, "Mnu_Help", QStringLiteral("&Help"));
    a_.helpTopics = AddItem(help, "Mnu_Help_Topics", QStringLiteral("Help Topics"));
    a_.helpTopics->setShortcut(QKeySequence::HelpContents);
    a_.helpTour = AddItem(help, "Mnu_Help_Tour", QStringLiteral("Quick Tour..."));
    AddSeparator(help, "Mnu_Help_Sep1");
    a_.helpAbout = AddItem(help, "Mnu_Help_About", QStringLiteral("About..."));

    popItem_ = new QMenu(this);
    popItem_->setObjectName(QStringLiteral("Mnu_Pop"));
    a_.popUninstall = AddItem(popItem_, "Mnu_Pop_Uninstall", QStringLiteral("Uninstall"));
    a_.popInfo = AddItem(popItem_, "Mnu_Pop_Info", QStringLiteral("Program Info"));
    a_.popSep1 = AddSeparator(popItem_, "Mnu_Pop_Sep1");
    a_.popEdit = AddItem(popItem_, "Mnu_Pop_Edit", QStringLiteral("Edit"));
    a_.popDelete = AddItem(popItem_, "Mnu_Pop_Delete", QStringLiteral("Delete"));
    AddSeparator(popItem_, "Mnu_Pop_Sep2");
    a_.popShortcut = AddItem(popItem_, "Mnu_Pop_Shortcut", QStringLiteral("Create Shortcut"));
    QMenu* popLinks = popItem_->addMenu(QStringLiteral("Quick Links"));
    popLinks->setObjectName(QStringLiteral("Mnu_Pop_QuickLinks"));
    a_.popQuickLinks = popLinks->menuAction();
    a_.popQuickLinks->setObjectName(QStringLiteral("Mnu_Pop_QuickLinks"));
    a_.popLocation = AddItem(popLinks, "Mnu_Pop_Location", QStringLiteral("Install Location"));
    a_.popPublisher = AddItem(popLinks, "Mnu_Pop_Publisher", QStringLiteral("Publisher Url"));
    a_.popSupport = AddItem(popLinks, "Mnu_Pop_Support", QStringLiteral("Support Url"));

    popList_ = new QMenu(this);
    popList_->setObjectName(QStringLiteral("Mnu_Pop2"));
    a_.pop2AddEntry = AddItem(popList_, "Mnu_Pop2_AddEntry", QStringLiteral("Add Entry"));
    a_.pop2AddNew = AddItem(popList_, "Mnu_Pop2_AddNew", QStringLiteral("Add New Program"));
    AddSeparator(popList_, "Mnu_Pop2_Sep1");
    a_.pop2Large = AddItem(popList_, "Mnu_Pop2_Large", QStringLiteral("Large Icons"));
    a_.pop2Small = AddItem(popList_, "Mnu_Pop2_Small", QStringLiteral("Small Icons"));
    a_.pop2List = AddItem(popList_, "Mnu_Pop2_List", QStringLiteral("List"));
    a_.pop2Details = AddItem(popList_, "Mnu_Pop2_Details", QStringLiteral("Details"));
    AddSeparator(popList_, "Mnu_Pop2_Sep2");
    a_.pop2Ascending = AddItem(popList_, "Mnu_Pop2_Ascending", QStringLiteral("Ascending"));
    a_.pop2Descending = AddItem(popList_, "Mnu_Pop2_Descending", QStringLiteral("Descending"));
    AddSeparator(popList_, "Mnu_Pop2_Sep3");
    a_.pop2Refresh = AddItem(popList_, "Mnu_Pop2_Refresh", QStringLiteral("Refresh"));
    for (QAction* check : {a_.pop2Large, a_.pop2Small, a_.pop2List, a_.pop2Details,
                           a_.pop2Ascending, a_.pop2Descending})
        check->setCheckable(true);
    a_.pop2Ascending->setChecked(true); // the list starts in ascending order

    trayMenu_ = new QMenu(this);
    trayMenu_->setObjectName(QStringLiteral("Mnu_Tray"));
    a_.trayOpen = AddItem(trayMenu_, "Mnu_Tray_Open", QStringLiteral("Open Tiv 4.0"));
    AddSeparator(trayMenu_, "Mnu_Tray_Sep1");
    a_.trayExit = AddItem(trayMenu_, "Mnu_Tray_Exit", QStringLiteral("Exit"));

    // Opening the Edit or Info menu first brings the quick links up to date.
    connect(edit, &QMenu::aboutToShow, this, &FrmMain::UpdateQuickLinks);
    connect(info, &QMenu::aboutToShow, this, &FrmMain::UpdateQuickLinks);

    // What each entry does.
    auto on = [this](QAction* action, auto&& slot) {
        connect(action, &QAction::triggered, this, slot);
    };
    auto opens = [this, &on](QAction* action, AppWindow window) {
        on(action, [this, window] { openWindow(window); });
    };
    opens(a_.fileAdd, AppWindow::AddNewProgram);
    opens(a_.fileUninstall, AppWindow::Uninstall);
    on(a_.fileExport, [this] { exportSelectedEntry(); });
    opens(a_.fileBackup, AppWindow::Backup);
    opens(a_.fileRestore, AppWindow::Restore);
    opens(a_.fileReport, AppWindow::Report);
    opens(a_.fileList, AppWindow::ProgramsList);
    on(a_.fileExit, [this] { close(); });
    opens(a_.editAddEntry, AppWindow::AddEntry);
    opens(a_.editEditEntry, AppWindow::EditEntry);
    on(a_.editRename, [this] { renameSelected(); });
    on(a_.editDelete, [this] { deleteSelectedEntry(); });
    on(a_.editFind, [this] { toggleFindPanel(); });
    opens(a_.editChangeIcon, AppWindow::ChangeIcon);
    opens(a_.editShortcut, AppWindow::Shortcut);
    on(a_.editRemoveColors, [this] { removeItemColors(); });
    on(a_.viewBasic, [this] { SetMode(0); });
    on(a_.viewAdvanced, [this] { SetMode(1); });
    on(a_.viewLarge, [this] { SetView(0); });
    on(a_.viewSmall, [this] { SetView(1); });
    on(a_.viewList, [this] { SetView(2); });
    on(a_.viewDetails, [this] { SetView(3); });
    on(a_.viewAscending, [this] { SetSortOrder(0); });
    on(a_.viewDescending, [this] { SetSortOrder(1); });
    on(a_.viewTray, [this] { tray_->minimizeToTray(); });
    on(a_.viewRefresh, [this] { refresh(); });
    opens(a_.infoInfo, AppWindow::ProgramInfo);
    opens(a_.infoAll, AppWindow::AllProgramsInfo);
    opens(a_.infoHistory, AppWindow::History);
    on(a_.infoLocation, [this] { openInstallLocation(); });
    on(a_.infoPublisher, [this] { openPublisherUrl(); });
    on(a_.infoSupport, [this] { openSupportUrl(); });
    on(a_.toolsProgramFiles, [this] { openProgramFiles(); });
    on(a_.toolsRegedit, [this] { openRegistryEditor(); });
    on(a_.toolsComponents, [this] { runSoftwareCentre(false); });
    on(a_.toolsUpdate, [this] { runSoftwareCentre(true); });
    opens(a_.toolsOptions, AppWindow::Options);
    on(a_.helpTopics, [this] { openHelpTopics(); });
    opens(a_.helpTour, AppWindow::QuickTour);
    opens(a_.helpAbout, AppWindow::About);
    opens(a_.popUninstall, AppWindow::Uninstall);
    opens(a_.popInfo, AppWindow::ProgramInfo);
    opens(a_.popEdit, AppWindow::EditEntry);
    on(a_.popDelete, [this] { deleteSelectedEntry(); });
    opens(a_.popShortcut, AppWindow::Shortcut);
    on(a_.popLocation, [this] { openInstallLocation(); });
    on(a_.popPublisher, [this] { openPublisherUrl(); });
    on(a_.popSupport, [this] { openSupportUrl(); });
    opens(a_.pop2AddEntry, AppWindow::AddEntry);
    opens(a_.pop2AddNew, AppWindow::AddNewProgram);
    on(a_.pop2Large, [this] { SetView(0); });
    on(a_.pop2Small, [this] { SetView(1); });
    on(a_.pop2List, [this] { SetView(2); });
    on(a_.pop2Details, [this] { SetView(3); });
    on(a_.pop2Ascending, [this] { SetSortOrder(0); });
    on(a_.pop2Descending, [this] { SetSortOrder(1); });
    on(a_.pop2Refresh, [this] { refresh(); });
    on(a_.trayOpen, [this] { tray_->openFromTray(); });
    on(a_.trayExit, [this] {
        tray_->removeIcon();
        close();
    });
}

void FrmMain::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("ToolBar"));
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
    auto button = [this](const char* name, const QString& caption, const QIcon& icon,
                         const QString& tip) {
        QAction* action = toolBar_->addAction(icon, caption);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(tip.isEmpty() ? caption.trimmed() : tip);
        return action;
    };
    auto separator = [this](const char* name) {
        QAction* action = toolBar_->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };
    a_.tbAdd = button("TB_Add", QStringLiteral("Add"),
                      StandardIcon("system-software-install", QStyle::SP_FileDialogNewFolder),
                      QStringLiteral("Add New Program"));
    a_.tbUninstall = button("TB_Uninstall", QStringLiteral("Uninstall"),
                            StandardIcon("edit-delete", QStyle::SP_TrashIcon),
                            QStringLiteral("Uninstall Current Selected Program"));
    separator("TB_Sp1");
    a_.tbInfo = button("TB_Info", QStringLiteral("Info"),
                       StandardIcon("dialog-information", QStyle::SP_MessageBoxInformation),
                       QStringLiteral("Uninstall Information"));
    a_.tbFind = button("TB_Find", QStringLiteral(" Find "),
                       StandardIcon("edit-find", QStyle::SP_FileDialogContentsView),
                       QStringLiteral("Search For a Program In The Installed Programs List"));
    a_.tbFind->setCheckable(true);
    a_.tbSp2 = separator("TB_Sp2");
    a_.tbNewEntry = button("TB_NewEntry", QStringLiteral(" New "),
                           StandardIcon("document-new", QStyle::SP_FileIcon),
                           QStringLiteral("Add New Entry to The Programs List"));
    a_.tbEditEntry = button("TB_EditEntry", QStringLiteral(" Edit "),
                            StandardIcon("document-edit", QStyle::SP_FileDialogDetailedView),
                            QStringLiteral("Edit Current Selected Program"));
    a_.tbDeleteEntry = button("TB_DeleteEntry", QStringLiteral(" Delete "),
                              StandardIcon("list-remove", QStyle::SP_DialogDiscardButton),
                              QStringLiteral("Delete Current Selected Program From The List"));
    separator("TB_Sp3");
    a_.tbReport = button("TB_Report", QStringLiteral(" Report "),
                         StandardIcon("document-print", QStyle::SP_FileDialogListView),
                         QStringLiteral("Create Report"));
    a_.tbOptions =
        button("TB_Options", QStringLiteral(" Option "),
               StandardIcon("preferences-system", QStyle::SP_FileDialogInfoView), QString());
    separator("TB_Sp4");
    a_.tbHelp = button("TB_Help", QStringLiteral(" Help "),
                       StandardIcon("help-contents", QStyle::SP_DialogHelpButton), QString());
    a_.tbOptions->setToolTip(QString());
    a_.tbHelp->setToolTip(QString());

    auto opens = [this](QAction* action, AppWindow window) {
        connect(action, &QAction::triggered, this, [this, window] { openWindow(window); });
    };
    opens(a_.tbAdd, AppWindow::AddNewProgram);
    opens(a_.tbUninstall, AppWindow::Uninstall);
    opens(a_.tbInfo, AppWindow::ProgramInfo);
    connect(a_.tbFind, &QAction::triggered, this, [this] { toggleFindPanel(); });
    opens(a_.tbNewEntry, AppWindow::AddEntry);
    opens(a_.tbEditEntry, AppWindow::EditEntry);
    connect(a_.tbDeleteEntry, &QAction::triggered, this, [this] { deleteSelectedEntry(); });
    opens(a_.tbReport, AppWindow::Report);
    opens(a_.tbOptions, AppWindow::Options);
    connect(a_.tbHelp, &QAction::triggered, this, [this] { openHelpTopics(); });
}

void FrmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("Sb"));
    auto* panel1 = new QWidget(bar);
    auto* row = new QHBoxLayout(panel1);
    row->setContentsMargins(2, 0, 2, 0);
    auto* image = new QLabel(panel1);
    image->setPixmap(QPixmap(QStringLiteral(":/relvano/program16.png")));
    sb1_ = new QLabel(QStringLiteral("Installed Programs : N/A"), panel1);
    sb1_->setObjectName(QStringLiteral("SB1"));
    sb1_->setMinimumWidth(140);
    row->addWidget(image);
    row->addWidget(sb1_);
    bar->addWidget(panel1);
    sb2_ = new QLabel(bar);
    sb2_->setObjectName(QStringLiteral("SB2"));
    sb2_->setMinimumWidth(64);
    bar->addWidget(sb2_, 1);

    progPic_ = new QWidget(bar);
    progPic_->setObjectName(QStringLiteral("ProgPic"));
    auto* progRow = new QHBoxLayout(progPic_);
    progRow->setContentsMargins(2, 0, 2, 0);
    progRow->addWidget(new QLabel(QStringLiteral("Loading ..."), progPic_));
    prog_ = new ProgBar(progPic_);
    prog_->setObjectName(QStringLiteral("Prog"));
    prog_->setMessageService(context_.services.messages);
    prog_->StartColor = 0xB4822F;
    prog_->EndColor = 0xF5DEB0;
    prog_->setFixedSize(160, 14);
    progRow->addWidget(prog_);
    bar->addPermanentWidget(progPic_);
    progPic_->hide();
}

void FrmMain::connectList() {
    connect(list_, &ProgramListView::mousePressed, this, [this](Qt::MouseButton button) {
        LastMouseButton = button == Qt::RightButton ? 2 : 1;
        ItemClicked = false;
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
            [this] { showPopup(ItemClicked ? popItem_ : popList_); });
    connect(list_, &ProgramListView::itemDoubleClicked, this, [this] {
        if (options().doubleClickRuns && LastMouseButton == 1)
            runDoubleClickAction();
    });
    connect(list_, &ProgramListView::selectionChanged, this, &FrmMain::ChkDis);
    connect(list_, &ProgramListView::nameHeaderClicked, this,
            [this] { SetSortOrder(list_->sortOrder() == 0 ? 1 : 0); });
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
    ProgBar* bar = SplashClosed ? prog_ : splashBar_;
    if (SplashClosed) {
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
    for (const ProgramItem& item : listing.items)
        rows.append({item.key, item.name, item.uninstall,
                     icons_.icon(listing.iconFiles[item.imageIndex]), item.imageIndex, QColor()});
    list_->setRows(std::move(rows));
    SetSortOrder(a_.pop2Ascending->isChecked() ? 0 : 1);
    sb1_->setText(QStringLiteral("Installed Programs : ") + QString::number(list_->count()));
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

void FrmMain::setListCommandsEnabled(bool on) {
    for (QAction* action : {a_.fileUninstall, a_.fileExport,     a_.fileBackup,     a_.fileList,
                            a_.fileReport,    a_.editEditEntry,  a_.editRename,     a_.editDelete,
                            a_.editFind,      a_.editChangeIcon, a_.editShortcut,   a_.viewBasic,
                            a_.viewAdvanced,  a_.viewLarge,      a_.viewSmall,      a_.viewList,
                            a_.viewDetails,   a_.viewAscending,  a_.viewDescending, a_.infoInfo,
                            a_.infoAll,       a_.infoQuickLinks, a_.tbUninstall,    a_.tbInfo,
                            a_.tbFind,        a_.tbEditEntry,    a_.tbDeleteEntry,  a_.tbReport})
        action->setEnabled(on);
}

void FrmMain::setSelectionCommandsEnabled(bool on) {
    for (QAction* action : {a_.tbUninstall, a_.tbInfo, a_.tbEditEntry, a_.tbDeleteEntry,
                            a_.fileUninstall, a_.fileExport, a_.editEditEntry, a_.editRename,
                            a_.editDelete, a_.editChangeIcon, a_.editShortcut, a_.infoInfo})
        action->setEnabled(on);
}

void FrmMain::ChkDis() {
    // "Report..." records whether the list-wide commands are on.
    if (list_->count() > 0 && !a_.fileReport->isEnabled())
        setListCommandsEnabled(true);
    else if (list_->count() == 0 && a_.fileReport->isEnabled())
        setListCommandsEnabled(false);
    setSelectionCommandsEnabled(list_->selectedRow() >= 0);
}

void FrmMain::UpdateQuickLinks() {
    const QString key = selectedKey();
    if (key.isEmpty())
        return;
    Registry& store = context_.store();
    const QString path = AppContext::UninstallKeyPath + key;
    const QString location = store.GetStringValue(RootKey::LocalMachine, path, "InstallLocation");
    const QString about = store.GetStringValue(RootKey::LocalMachine, path, "URLInfoAbout");
    const QString help = store.GetStringValue(RootKey::LocalMachine, path, "HelpLink");
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
    const QString key = selectedKey();
    if (key.isEmpty())
        return;
    ItemClicked = true;
    context_.SelectedUninstallString = context_.store().GetStringValue(
        RootKey::LocalMachine, AppContext::UninstallKeyPath + key, "UninstallString");
    ChkDis();
    UpdateQuickLinks();
}

void FrmMain::SetView(int v) {
    for (QAction* action : {a_.pop2Large, a_.pop2Small, a_.pop2List, a_.pop2Details})
        action->setChecked(false);
    static constexpr ListViewKind kinds[] = {ListViewKind::LargeIcons, ListViewKind::SmallIcons,
                                             ListViewKind::List, ListViewKind::Details};
    if (v < 0 || v > 3)
        return;
    list_->setView(kinds[v]);
    SetMenuRadio(this, 3, 4 + v, 4, 7);
    QAction* pops[] = {a_.pop2Large, a_.pop2Small, a_.pop2List, a_.pop2Details};
    pops[v]->setChecked(true);
    ViewSetting = v + 1;
    list_->fitColumns();
}

void FrmMain::SetSortOrder(int o) {
    list_->setSortOrder(o);
    if (o == 0) {
        SetMenuRadio(this, 3, 9, 9, 10);
        a_.pop2Ascending->setChecked(true);
        a_.pop2Descending->setChecked(false);
        OrderSetting = 1;
    } else if (o == 1) {
        SetMenuRadio(this, 3, 10, 9, 10);
        a_.pop2Descending->setChecked(true);
        a_.pop2Ascending->setChecked(false);
        OrderSetting = 2;
    }
}

void FrmMain::SetMode(int m) {
    const bool advanced = m == 1;
    ModeSetting = advanced ? 2 : 1;
    SetMenuRadio(this, 3, advanced ? 2 : 1, 1, 2);
    for (QAction* action :
         {a_.fileExport, a_.fileBackup, a_.fileRestore, a_.fileSep1, a_.editAddEntry,
          a_.editEditEntry, a_.editRename, a_.editDelete, a_.editSep1, a_.toolsRegedit, a_.popEdit,
          a_.popDelete, a_.popSep1, a_.pop2AddEntry, a_.tbSp2, a_.tbNewEntry, a_.tbEditEntry,
          a_.tbDeleteEntry})
        action->setVisible(advanced);
}

void FrmMain::toggleFindPanel() {
    const bool show = !findPanel_->isVisible();
    a_.tbFind->setChecked(show);
    a_.editFind->setChecked(show);
    findPanel_->setVisible(show);
    WriteIni(context_.ConfigIniPath, QStringLiteral("Main"), QStringLiteral("Fv"),
             show ? QStringLiteral("1") : QStringLiteral("0"));
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
    s.mode = ModeSetting == 1 ? ListMode::Basic : ListMode::Advanced;
    s.order = OrderSetting == 1 ? SortOrder::Ascending : SortOrder::Descending;
    s.view = static_cast<ListViewKind>(ViewSetting);
    const QRect g = geometry();
    s.geometryTwips = QRect(g.x() * TwipsPerPixel, g.y() * TwipsPerPixel, g.width() * TwipsPerPixel,
                            g.height() * TwipsPerPixel);
    return s;
}

void FrmMain::ApplySettings() {
    const MainWindowSettings s =
        LoadMainWindowSettings(context_.ConfigIniPath, DesignGeometryTwips());
    SetMode(s.mode == ListMode::Basic ? 0 : 1);
    SetView(static_cast<int>(s.view) - 1);
    SetSortOrder(s.order == SortOrder::Ascending ? 0 : 1);
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
    ItemClicked = false;
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
