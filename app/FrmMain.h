// FrmMain, "Relvano 4.1": the list of installed programs with its menus,
// toolbar, pop-up menus, find panel, status bar and tray mode.
//
// FrmMain.cpp keeps the list (load, reset, enabling, views, order, mode,
// settings, window events); FrmMainMenus.cpp builds the menus, toolbar and
// status bar and the table that drives their enabling; FrmMainCommands.cpp
// holds what the commands do. Other windows open through the WindowOpener the
// composition root gives, and see this window only as a MainWindowHost.
#pragma once

#include "app/IconCache.h"
#include "core/AppContext.h"
#include "core/Settings.h"
#include "dialogs/MainWindowHost.h"
#include "dialogs/WindowOpener.h"

#include <QMainWindow>

#include <functional>

class FindPanel;
class ProgBar;
class ProgramListView;
class QActionGroup;
class QLabel;
class QToolBar;
class TrayController;

class FrmMain : public QMainWindow, public MainWindowHost {
    Q_OBJECT
public:
    FrmMain(AppContext& context, const WindowOpener& windows, QWidget* parent = nullptr);
    ~FrmMain() override;

    // MainWindowHost
    AppContext& context() override { return context_; }
    QString selectedKey() const override;
    QString selectedText() const override;
    QList<ListedProgram> listedPrograms() const override;
    void reloadList() override { ResetList(); }
    QWidget* dialogParent() override { return this; }

    // The window's load: set-up, the first list load (its progress on
    // splashBar while the splash is up), closeSplash, the saved settings. The
    // caller shows the window.
    void load(ProgBar* splashBar = nullptr, const std::function<void()>& closeSplash = {});

    void ResetList();
    void ChkDis();
    void UpdateQuickLinks();
    void SetView(ListViewKind view);
    void SetSortOrder(SortOrder order);
    void SetMode(ListMode mode);
    void toggleFindPanel();

    bool splashClosed() const { return splashClosed_; }
    ListMode mode() const { return mode_; }
    ListViewKind view() const { return view_; }
    SortOrder order() const { return order_; }
    // A click or key press landed on an item since the last mouse press.
    bool itemClicked() const { return itemClicked_; }
    int selectedRow() const;

    ProgramListView* list() const { return list_; }
    FindPanel* findPanel() const { return findPanel_; }
    TrayController* tray() const { return tray_; }
    const IconCache& iconCache() const { return icons_; }

    // The options the list reads.
    OptionSettings options() const;

    // Commands (FrmMainCommands.cpp).
    void openWindow(AppWindow window);
    void deleteSelectedEntry();
    void exportSelectedEntry();
    void renameSelected();
    // Opens the address with the shell; tells the user when nothing opened it.
    void openAddress(const QString& address);
    void openInstallLocation();
    void openPublisherUrl();
    void openSupportUrl();
    void openProgramFiles();
    void openRegistryEditor();
    void openHelpTopics();
    void runSoftwareCentre(bool updates);
    void refresh();
    void removeItemColors();
    void runDoubleClickAction();

    // The menu bar, toolbar and pop-up menu entries, by the program's names.
    struct Actions {
        QAction *fileAdd, *fileUninstall, *fileSep1, *fileExport, *fileBackup, *fileRestore,
            *fileReport, *fileList, *fileExit;
        QAction *editAddEntry, *editEditEntry, *editRename, *editDelete, *editSep1, *editFind,
            *editChangeIcon, *editShortcut, *editSep3, *editRemoveColors;
        QAction *viewBasic, *viewAdvanced, *viewLarge, *viewSmall, *viewList, *viewDetails,
            *viewAscending, *viewDescending, *viewTray, *viewRefresh;
        QAction *infoInfo, *infoAll, *infoHistory, *infoQuickLinks, *infoLocation, *infoPublisher,
            *infoSupport;
        QAction *toolsProgramFiles, *toolsRegedit, *toolsComponents, *toolsUpdate, *toolsOptions;
        QAction *helpTopics, *helpTour, *helpAbout;
        QAction *popUninstall, *popInfo, *popSep1, *popEdit, *popDelete, *popShortcut,
            *popQuickLinks, *popLocation, *popPublisher, *popSupport;
        QAction *pop2AddEntry, *pop2AddNew, *pop2Large, *pop2Small, *pop2List, *pop2Details,
            *pop2Ascending, *pop2Descending, *pop2Refresh;
        QAction *trayOpen, *trayExit;
        QAction *tbAdd, *tbUninstall, *tbInfo, *tbFind, *tbSp2, *tbNewEntry, *tbEditEntry,
            *tbDeleteEntry, *tbReport, *tbOptions, *tbHelp;
    };
    const Actions& actions() const { return a_; }
    QMenu* itemPopup() const { return popItem_; }
    QMenu* listPopup() const { return popList_; }
    QLabel* statusPanel1() const { return sb1_; }

    // The settings as they stand now, as saved at exit.
    MainWindowSettings currentSettings() const;

signals:
    // A pop-up menu is about to open (tests watch this instead of the menu).
    void popupRequested(QMenu* menu);
    // The window was closed by any way (its close box, "Exit", the tray's
    // "Exit"), the other windows closed and the settings saved: the program
    // ends, also when the window was hidden in the tray.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // How a command's state follows the list (FrmMainMenus.cpp).
    struct CommandRule {
        QAction* action;
        bool needsList;      // enabled only while the list holds items
        bool needsSelection; // enabled only while an item is selected
        bool advancedOnly;   // shown only in Advanced mode
    };

    void SetupWindow();
    void ApplySettings();
    void buildMenus();
    void connectMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildCommandRules();
    void connectList();
    void LoadList();
    void itemActivated();
    void renameFinished(int row, const QString& newText);
    void showPopup(QMenu* menu);

    AppContext& context_;
    const WindowOpener& windows_;
    IconCache icons_;
    Actions a_{};
    QList<CommandRule> rules_;
    // Whether the list-wide commands are on; they change only when the list
    // becomes empty or stops being empty.
    bool listCommandsOn_ = true;
    QActionGroup* modeGroup_ = nullptr;
    QActionGroup* viewGroup_ = nullptr;
    QActionGroup* orderGroup_ = nullptr;
    ProgramListView* list_ = nullptr;
    FindPanel* findPanel_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMenu* popItem_ = nullptr;
    QMenu* popList_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QLabel* sb1_ = nullptr;
    QLabel* sb2_ = nullptr;
    QWidget* progPic_ = nullptr;
    ProgBar* prog_ = nullptr;
    ProgBar* splashBar_ = nullptr;
    TrayController* tray_ = nullptr;

    bool splashClosed_ = false;
    ListMode mode_ = ListMode::Basic;
    ListViewKind view_ = ListViewKind::LargeIcons;
    SortOrder order_ = SortOrder::Ascending;
    bool itemClicked_ = false;
    int lastMouseButton_ = 0;
    QString oldItemText_;
    bool unloaded_ = false;
};

// The main window's design geometry, in twips.
QRect DesignGeometryTwips();
