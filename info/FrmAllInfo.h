// FrmAllInfo, "Installed Programs Info": the installed software as a whole.
// The " General " page counts the programs of the main list and gives the
// programs folder with its total size; the " Program Files " page lists the
// programs folder's subfolders with their sizes and dates. The page shown
// last is kept in Config.Ini (Aa/St).
//
// The sizes are measured off the GUI thread (FolderSizeJob), so the window
// repaints, answers and closes while a large folder is walked; the waiting
// texts, the progress bar and the disabled page button stay as they are.
#pragma once

#include <QDialog>
#include <QStringList>

class FolderSizeJob;
class Lbl;
class MainWindowHost;
class ProgBar;
class QAction;
class QLabel;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class Url;

class FrmAllInfo : public QDialog {
    Q_OBJECT
public:
    // programsFolder: the folder whose subfolders the second page lists.
    FrmAllInfo(MainWindowHost& host, const QString& programsFolder, QWidget* parent = nullptr);
    ~FrmAllInfo() override;

    // 1 General, 2 Program Files, 0 before the first page was shown.
    int currentPage() const { return page_; }
    // The toolbar buttons (and Shift+1, Shift+2).
    void clickGeneral();
    void clickProgramFiles();
    // A size is still being measured.
    bool measuring() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int r) override;

private:
    void showGeneral();
    void showProgramFiles();
    void folderMeasured(int index, const QString& sizeText);
    void programFilesDone();
    void showSelectedPath();
    void openSelectedFolder();
    bool pageKey(QKeyEvent* event);

    MainWindowHost& host_;
    const QString programsFolder_;
    QStringList folderNames_; // read once, when the window opens
    int page_ = 0;
    enum class Measuring { Nothing, ProgramsFolder, Subfolders } measuring_ = Measuring::Nothing;

    QAction* tbGen_;
    QAction* tbPf_;
    QStackedWidget* pages_;
    QWidget* pic_;
    QLabel* lb1_;
    Url* folderLink_;
    QLabel* lb3_;
    QTreeWidget* lv_;
    QWidget* progressPage_;
    ProgBar* p_;
    QLabel* sb_;
    FolderSizeJob* sizes_;
};
