// The main window's menu bar, pop-up menus, toolbar and status bar, what
// each entry does, and the table that drives their enabled and visible state.
#include "app/FrmMain.h"

#include "app/TrayController.h"
#include "controls/ProgBar.h"
#include "controls/WindowHelpers.h"

#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {

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

// Swallows the tool tips of a widget: a toolbar button without a tool tip of
// its own would otherwise show its caption as one.
class NoToolTip final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

QIcon StandardIcon(const char* theme, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QLatin1String(theme), QApplication::style()->standardIcon(fallback));
}

} // namespace

void FrmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = AddMenu(bar, "Mnu_File", QStringLiteral("&File"));
    a_.fileAdd = AddMenuItem(file, "Mnu_File_Add", QStringLiteral("Add New Program..."));
    a_.fileUninstall = AddMenuItem(file, "Mnu_File_Uninstall", QStringLiteral("Uninstall Program"));
    a_.fileSep1 = AddSeparator(file, "Mnu_File_Sep1");
    a_.fileExport = AddMenuItem(file, "Mnu_File_Export", QStringLiteral("Export Uninstall Info"));
    a_.fileBackup =
        AddMenuItem(file, "Mnu_File_Backup", QStringLiteral("Backup Uninstall Info..."));
    a_.fileRestore = AddMenuItem(file, "Mnu_File_Restore", QStringLiteral("Restore..."));
    AddSeparator(file, "Mnu_File_Sep2");
    a_.fileReport = AddMenuItem(file, "Mnu_File_Report", QStringLiteral("Report..."));
    a_.fileList = AddMenuItem(file, "Mnu_File_List", QStringLiteral("Programs List..."));
    AddSeparator(file, "Mnu_File_Sep3");
    a_.fileExit = AddMenuItem(file, "Mnu_File_Exit", QStringLiteral("Exit"));

    QMenu* edit = AddMenu(bar, "Mnu_Edit", QStringLiteral("&Edit"));
    a_.editAddEntry = AddMenuItem(edit, "Mnu_Edit_AddEntry", QStringLiteral("Add Entry..."));
    a_.editEditEntry = AddMenuItem(edit, "Mnu_Edit_EditEntry", QStringLiteral("Edit Entry..."));
    a_.editRename = AddMenuItem(edit, "Mnu_Edit_Rename", QStringLiteral("Rename"));
    a_.editDelete = AddMenuItem(edit, "Mnu_Edit_Delete", QStringLiteral("Delete Entry"));
    a_.editSep1 = AddSeparator(edit, "Mnu_Edit_Sep1");
    a_.editFind = AddMenuItem(edit, "Mnu_Edit_Find", QStringLiteral("Find"));
    a_.editFind->setCheckable(true);
    a_.editFind->setShortcut(QKeySequence::Find);
    a_.editChangeIcon = AddMenuItem(edit, "Mnu_Edit_ChangeIcon", QStringLiteral("Change Icon..."));
    AddSeparator(edit, "Mnu_Edit_Sep2");
    a_.editShortcut = AddMenuItem(edit, "Mnu_Edit_Shortcut", QStringLiteral("Create Shortcut..."));
    a_.editSep3 = AddSeparator(edit, "Mnu_Edit_Sep3");
    a_.editRemoveColors =
        AddMenuItem(edit, "Mnu_Edit_RemoveColors", QStringLiteral("Remove Items Colors"));
    a_.editSep3->setVisible(false);
    a_.editRemoveColors->setVisible(false);

    QMenu* view = AddMenu(bar, "Mnu_View", QStringLiteral("&View"));
    a_.viewBasic = AddMenuItem(view, "Mnu_View_Basic", QStringLiteral("Basic Mode"));
    a_.viewAdvanced = AddMenuItem(view, "Mnu_View_Advanced", QStringLiteral("Advanced Mode"));
    AddSeparator(view, "Mnu_View_Sep1");
    a_.viewLarge = AddMenuItem(view, "Mnu_View_Large", QStringLiteral("Large Icons"));
    a_.viewSmall = AddMenuItem(view, "Mnu_View_Small", QStringLiteral("Small Icons"));
    a_.viewList = AddMenuItem(view, "Mnu_View_List", QStringLiteral("List"));
    a_.viewDetails = AddMenuItem(view, "Mnu_View_Details", QStringLiteral("Details"));
    AddSeparator(view, "Mnu_View_Sep2");
    a_.viewAscending = AddMenuItem(view, "Mnu_View_Ascending", QStringLiteral("Ascending Order"));
    a_.viewDescending =
        AddMenuItem(view, "Mnu_View_Descending", QStringLiteral("Descending Order"));
    AddSeparator(view, "Mnu_View_Sep3");
    a_.viewTray = AddMenuItem(view, "Mnu_View_Tray", QStringLiteral("Minimize To Tray"));
    a_.viewRefresh = AddMenuItem(view, "Mnu_View_Refresh", QStringLiteral("Refresh"));
    a_.viewRefresh->setShortcut(QKeySequence(Qt::Key_F5));

    QMenu* info = AddMenu(bar, "Mnu_Info", QStringLiteral("&Info"));
    a_.infoInfo = AddMenuItem(info, "Mnu_Info_Info", QStringLiteral("Uninsatll Information..."));
    a_.infoAll = AddMenuItem(info, "Mnu_Info_All", QStringLiteral("All Programs Info..."));
    a_.infoHistory = AddMenuItem(info, "Mnu_Info_History", QStringLiteral("History..."));
    AddSeparator(info, "Mnu_Info_Sep1");
    QMenu* links = info->addMenu(QStringLiteral("Quick Links"));
    links->setObjectName(QStringLiteral("Mnu_Info_QuickLinks"));
    a_.infoQuickLinks = links->menuAction();
    a_.infoQuickLinks->setObjectName(QStringLiteral("Mnu_Info_QuickLinks"));
    a_.infoLocation = AddMenuItem(links, "Mnu_Info_Location", QStringLiteral("Install Location"));
    a_.infoPublisher = AddMenuItem(links, "Mnu_Info_Publisher", QStringLiteral("Publisher Url"));
    a_.infoSupport = AddMenuItem(links, "Mnu_Info_Support", QStringLiteral("Support Url"));

    QMenu* tools = AddMenu(bar, "Mnu_Tools", QStringLiteral("&Tools"));
    a_.toolsProgramFiles =
        AddMenuItem(tools, "Mnu_Tools_ProgramFiles", QStringLiteral("Program Files"));
    a_.toolsRegedit = AddMenuItem(tools, "Mnu_Tools_Regedit", QStringLiteral("Registry Editor"));
    AddSeparator(tools, "Mnu_Tools_Sep1");
    a_.toolsComponents =
        AddMenuItem(tools, "Mnu_Tools_Components", QStringLiteral("Windows Components"));
    a_.toolsUpdate = AddMenuItem(tools, "Mnu_Tools_Update", QStringLiteral("Windows Update"));
    AddSeparator(tools, "Mnu_Tools_Sep2");
    a_.toolsOptions = AddMenuItem(tools, "Mnu_Tools_Options", QStringLiteral("Options"));

    QMenu* help = AddMenu(bar, "Mnu_Help", QStringLiteral("&Help"));
    a_.helpTopics = AddMenuItem(help, "Mnu_Help_Topics", QStringLiteral("Help Topics"));
    a_.helpTopics->setShortcut(QKeySequence::HelpContents);
    a_.helpTour = AddMenuItem(help, "Mnu_Help_Tour", QStringLiteral("Quick Tour..."));
    AddSeparator(help, "Mnu_Help_Sep1");
    a_.helpAbout = AddMenuItem(help, "Mnu_Help_About", QStringLiteral("About..."));

    popItem_ = new QMenu(this);
    popItem_->setObjectName(QStringLiteral("Mnu_Pop"));
    a_.popUninstall = AddMenuItem(popItem_, "Mnu_Pop_Uninstall", QStringLiteral("Uninstall"));
    a_.popInfo = AddMenuItem(popItem_, "Mnu_Pop_Info", QStringLiteral("Program Info"));
    a_.popSep1 = AddSeparator(popItem_, "Mnu_Pop_Sep1");
    a_.popEdit = AddMenuItem(popItem_, "Mnu_Pop_Edit", QStringLiteral("Edit"));
    a_.popDelete = AddMenuItem(popItem_, "Mnu_Pop_Delete", QStringLiteral("Delete"));
    AddSeparator(popItem_, "Mnu_Pop_Sep2");
    a_.popShortcut = AddMenuItem(popItem_, "Mnu_Pop_Shortcut", QStringLiteral("Create Shortcut"));
    QMenu* popLinks = popItem_->addMenu(QStringLiteral("Quick Links"));
    popLinks->setObjectName(QStringLiteral("Mnu_Pop_QuickLinks"));
    a_.popQuickLinks = popLinks->menuAction();
    a_.popQuickLinks->setObjectName(QStringLiteral("Mnu_Pop_QuickLinks"));
    a_.popLocation = AddMenuItem(popLinks, "Mnu_Pop_Location", QStringLiteral("Install Location"));
    a_.popPublisher = AddMenuItem(popLinks, "Mnu_Pop_Publisher", QStringLiteral("Publisher Url"));
    a_.popSupport = AddMenuItem(popLinks, "Mnu_Pop_Support", QStringLiteral("Support Url"));

    popList_ = new QMenu(this);
    popList_->setObjectName(QStringLiteral("Mnu_Pop2"));
    a_.pop2AddEntry = AddMenuItem(popList_, "Mnu_Pop2_AddEntry", QStringLiteral("Add Entry"));
    a_.pop2AddNew = AddMenuItem(popList_, "Mnu_Pop2_AddNew", QStringLiteral("Add New Program"));
    AddSeparator(popList_, "Mnu_Pop2_Sep1");
    a_.pop2Large = AddMenuItem(popList_, "Mnu_Pop2_Large", QStringLiteral("Large Icons"));
    a_.pop2Small = AddMenuItem(popList_, "Mnu_Pop2_Small", QStringLiteral("Small Icons"));
    a_.pop2List = AddMenuItem(popList_, "Mnu_Pop2_List", QStringLiteral("List"));
    a_.pop2Details = AddMenuItem(popList_, "Mnu_Pop2_Details", QStringLiteral("Details"));
    AddSeparator(popList_, "Mnu_Pop2_Sep2");
    a_.pop2Ascending = AddMenuItem(popList_, "Mnu_Pop2_Ascending", QStringLiteral("Ascending"));
    a_.pop2Descending = AddMenuItem(popList_, "Mnu_Pop2_Descending", QStringLiteral("Descending"));
    AddSeparator(popList_, "Mnu_Pop2_Sep3");
    a_.pop2Refresh = AddMenuItem(popList_, "Mnu_Pop2_Refresh", QStringLiteral("Refresh"));
    // Radio marks: one exclusive group per choice, in the View menu and in
    // the list's pop-up menu.
    auto group = [this](std::initializer_list<QAction*> items) {
        auto* g = new QActionGroup(this);
        g->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        for (QAction* item : items) {
            item->setCheckable(true);
            g->addAction(item);
        }
        return g;
    };
    modeGroup_ = group({a_.viewBasic, a_.viewAdvanced});
    viewGroup_ = group({a_.viewLarge, a_.viewSmall, a_.viewList, a_.viewDetails});
    orderGroup_ = group({a_.viewAscending, a_.viewDescending});
    group({a_.pop2Large, a_.pop2Small, a_.pop2List, a_.pop2Details});
    group({a_.pop2Ascending, a_.pop2Descending});
    a_.pop2Ascending->setChecked(true); // the list starts in ascending order

    trayMenu_ = new QMenu(this);
    trayMenu_->setObjectName(QStringLiteral("Mnu_Tray"));
    a_.trayOpen = AddMenuItem(trayMenu_, "Mnu_Tray_Open", QStringLiteral("Open Tiv 4.0"));
    AddSeparator(trayMenu_, "Mnu_Tray_Sep1");
    a_.trayExit = AddMenuItem(trayMenu_, "Mnu_Tray_Exit", QStringLiteral("Exit"));

    // Opening the Edit or Info menu first brings the quick links up to date.
    connect(edit, &QMenu::aboutToShow, this, &FrmMain::UpdateQuickLinks);
    connect(info, &QMenu::aboutToShow, this, &FrmMain::UpdateQuickLinks);
}

void FrmMain::connectMenus() {
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
    on(a_.viewBasic, [this] { SetMode(ListMode::Basic); });
    on(a_.viewAdvanced, [this] { SetMode(ListMode::Advanced); });
    for (QAction* item : {a_.viewLarge, a_.pop2Large})
        on(item, [this] { SetView(ListViewKind::LargeIcons); });
    for (QAction* item : {a_.viewSmall, a_.pop2Small})
        on(item, [this] { SetView(ListViewKind::SmallIcons); });
    for (QAction* item : {a_.viewList, a_.pop2List})
        on(item, [this] { SetView(ListViewKind::List); });
    for (QAction* item : {a_.viewDetails, a_.pop2Details})
        on(item, [this] { SetView(ListViewKind::Details); });
    for (QAction* item : {a_.viewAscending, a_.pop2Ascending})
        on(item, [this] { SetSortOrder(SortOrder::Ascending); });
    for (QAction* item : {a_.viewDescending, a_.pop2Descending})
        on(item, [this] { SetSortOrder(SortOrder::Descending); });
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
    on(a_.pop2Refresh, [this] { refresh(); });
    on(a_.trayOpen, [this] { tray_->openFromTray(); });
    on(a_.trayExit, [this] {
        tray_->removeIcon();
        close();
    });
    opens(a_.tbAdd, AppWindow::AddNewProgram);
    opens(a_.tbUninstall, AppWindow::Uninstall);
    opens(a_.tbInfo, AppWindow::ProgramInfo);
    on(a_.tbFind, [this] { toggleFindPanel(); });
    opens(a_.tbNewEntry, AppWindow::AddEntry);
    opens(a_.tbEditEntry, AppWindow::EditEntry);
    on(a_.tbDeleteEntry, [this] { deleteSelectedEntry(); });
    opens(a_.tbReport, AppWindow::Report);
    opens(a_.tbOptions, AppWindow::Options);
    on(a_.tbHelp, [this] { openHelpTopics(); });
}

void FrmMain::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("ToolBar"));
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
    auto button = [this](const char* name, const QString& caption, const QIcon& icon,
                         const QString& tip) {
        QAction* action = AddToolButton(toolBar_, name, caption, icon);
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
    // "Option" and "Help" have no tool tip.
    auto* noToolTip = new NoToolTip(this);
    for (QAction* action : {a_.tbOptions, a_.tbHelp}) {
        action->setToolTip(QString());
        if (QWidget* button = toolBar_->widgetForAction(action))
            button->installEventFilter(noToolTip);
    }
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
    prog_->setMessageService(&context_.messages());
    prog_->StartColor = 0xB4822F;
    prog_->EndColor = 0xF5DEB0;
    prog_->setFixedSize(160, 14);
    progRow->addWidget(prog_);
    bar->addPermanentWidget(progPic_);
    progPic_->hide();
}

void FrmMain::buildCommandRules() {
    const Actions& a = a_;
    // action, needs list, needs selection, advanced only
    rules_ = {
        {a.fileUninstall, true, true, false},   {a.fileSep1, false, false, true},
        {a.fileExport, true, true, true},       {a.fileBackup, true, false, true},
        {a.fileRestore, false, false, true},    {a.fileReport, true, false, false},
        {a.fileList, true, false, false},       {a.editAddEntry, false, false, true},
        {a.editEditEntry, true, true, true},    {a.editRename, true, true, true},
        {a.editDelete, true, true, true},       {a.editSep1, false, false, true},
        {a.editFind, true, false, false},       {a.editChangeIcon, true, true, false},
        {a.editShortcut, true, true, false},    {a.viewBasic, true, false, false},
        {a.viewAdvanced, true, false, false},   {a.viewLarge, true, false, false},
        {a.viewSmall, true, false, false},      {a.viewList, true, false, false},
        {a.viewDetails, true, false, false},    {a.viewAscending, true, false, false},
        {a.viewDescending, true, false, false}, {a.infoInfo, true, true, false},
        {a.infoAll, true, false, false},        {a.infoQuickLinks, true, false, false},
        {a.toolsRegedit, false, false, true},   {a.popSep1, false, false, true},
        {a.popEdit, false, false, true},        {a.popDelete, false, false, true},
        {a.pop2AddEntry, false, false, true},   {a.tbUninstall, true, true, false},
        {a.tbInfo, true, true, false},          {a.tbFind, true, false, false},
        {a.tbSp2, false, false, true},          {a.tbNewEntry, false, false, true},
        {a.tbEditEntry, true, true, true},      {a.tbDeleteEntry, true, true, true},
        {a.tbReport, true, false, false},
    };
}
