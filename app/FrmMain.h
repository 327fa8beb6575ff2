// FrmMain, "Relvano 4.1": the list of installed programs with its menus,
// toolbar, pop-up menus, find panel, status bar and tray mode.
//
// FrmMain.cpp builds the window and keeps the list (reset, load, enabling,
// views, order, mode, settings); FrmMainCommands.cpp holds what the commands
// do. The other windows open through windows().
#pragma once

#include "app/IconCache.h"
#include "app/WindowOpener.h"
#include "core/AppContext.h"
#include "core/Settings.h"

#include <QMainWindow>

class FindPanel;
class ProgBar;
class ProgramListView;
class QLabel;
class QToolBar;
class TrayController;

class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMain(AppContext& context, QWidget* parent = nullptr);
    ~FrmMain() override;

    AppContext& context() { return context_; }
    WindowOpener& windows() { return windows_; }
    ProgramListView* list() const { return list_; }
    FindPanel* findPanel() const { return findPanel_; }
    TrayController* tray() const { return tray_; }
    const IconCache& iconCache() const { return icons_; }

    // Where the load shows its progress while the splash is up.
    void setSplashBar(ProgBar* bar) { splashBar_ = bar; }
    bool SplashClosed = false;

    // The window's load: set-up, first list load, the saved settings. The
    // caller closes the splash between ResetList and ApplySettings.
    void SetupWindow();
    void ResetList();
    void ApplySettings();

    void ChkDis();
    void UpdateQuickLinks();
    void SetView(int v);      // 0 large icons, 1 small icons, 2 list, 3 details
    void SetSortOrder(int o); // 0 ascending, 1 descending, 2 unsorted
    void SetMode(int m);      // 0 Basic, 1 Advanced
    void toggleFindPanel();

    int ModeSetting = 1;
    int ViewSetting = 1;
    int OrderSetting = 1;
    bool ItemClicked = false;
    int LastMouseButton = 0;

    // The selected entry: its row, key and text; -1 / empty when none.
    int selectedRow() const;
    QString selectedKey() const;
    QString selectedText() const;

    // The options the list reads (from the options window once it exists).
    OptionSettings options() const;

    // Commands (FrmMainCommands.cpp).
    void openWindow(AppWindow window);
    void deleteSelectedEntry();
    void exportSelectedEntry();
    void renameSelected();
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

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void connectList();
    void LoadList();
    void itemActivated();
    void renameFinished(int row, const QString& newText);
    void showPopup(QMenu* menu);
    void setListCommandsEnabled(bool on);
    void setSelectionCommandsEnabled(bool on);

    AppContext& context_;
    WindowOpener windows_;
    IconCache icons_;
    Actions a_{};
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
    QString oldItemText_;
    bool unloaded_ = false;
};

// The main window's design geometry, in twips.
QRect DesignGeometryTwips();
