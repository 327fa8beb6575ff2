// The settings kept in Config.Ini, as plain structures the windows apply.
//
// Sections and keys:
//   [Main]    Ul (1 Basic, 2 Advanced), Ord (1 ascending, 2 descending),
//             Viw (1 large icons, 2 small icons, 3 list, 4 details),
//             Fw Fh Fl Ft (window geometry in twips), Fv (find panel shown),
//             RenDlg (skip the duplicate-name question on rename)
//   [Options] Conf ChDbl Sw Auto FullRow Grids Xy Hi
//   [Edt] Grd, [Aa] St, [Log] St
#pragma once

#include <QRect>
#include <QString>

enum class ListMode { Basic = 1, Advanced = 2 };
// The list's order; only Ascending and Descending are ever saved.
enum class SortOrder { Ascending = 1, Descending = 2, Unsorted = 3 };
enum class ListViewKind { LargeIcons = 1, SmallIcons = 2, List = 3, Details = 4 };
// What a double click runs; None for a value the options never write.
enum class DoubleClickAction { None = -1, Uninstall = 0, UninstallInformation = 1, Edit = 2 };

// Window geometry is kept in twips, 15 to a pixel.
constexpr int TwipsPerPixel = 15;

// What the main window restores at start and saves at exit.
struct MainWindowSettings {
    ListMode mode = ListMode::Basic;
    SortOrder order = SortOrder::Ascending;
    ListViewKind view = ListViewKind::LargeIcons;
    QRect geometryTwips;          // left, top, width, height
    bool findPanel = false;       // Main/Fv
    bool gridLines = false;       // Options/Grids
    bool fullRowSelect = true;    // Options/FullRow
    bool restorePosition = false; // Options/Xy: else the window is centred
};

// The options dialog's settings.
struct OptionSettings {
    bool confirmDelete = true;                                          // Conf
    bool doubleClickRuns = true;                                        // ChDbl
    DoubleClickAction doubleClickAction = DoubleClickAction::Uninstall; // Sw
    bool autoSizeColumns = true;                                        // Auto
    bool fullRowSelect = true;                                          // FullRow
    bool gridLines = false;                                             // Grids
    bool restorePosition = false;                                       // Xy
    bool showHidden = false;                                            // Hi
};

// Reads the main-window settings; designGeometryTwips gives the geometry
// defaults. Values the file lacks take the defaults; a geometry value that is
// not a number or does not fit in 16 bits keeps the whole default geometry.
MainWindowSettings LoadMainWindowSettings(const QString& configIni,
                                          const QRect& designGeometryTwips);

// Writes the seven Main keys: Ul, Ord, Viw with a leading space ("Ul= 2"),
// then Fw, Fh, Fl, Ft as plain numbers.
void SaveMainWindowSettings(const QString& configIni, const MainWindowSettings& settings);

OptionSettings LoadOptionSettings(const QString& configIni);
void SaveOptionSettings(const QString& configIni, const OptionSettings& options);

// Main/Fv: the find panel is shown.
void SaveFindPanelShown(const QString& configIni, bool shown);
// Main/RenDlg: an in-place rename to a name already listed is kept without asking.
bool LoadSkipRenameQuestion(const QString& configIni);
void SaveSkipRenameQuestion(const QString& configIni, bool skip);

// The page a window showed last, 1 or 2 (default 1): Log/St for the history
// window, Aa/St for all-programs information.
enum class PageSetting { History, AllProgramsInfo };
int LoadPageSetting(const QString& configIni, PageSetting which);
void SavePageSetting(const QString& configIni, PageSetting which, int page);

// Single keys read elsewhere: a flag (compared as a number with 1), a page number.
bool ReadIniFlag(const QString& file, const QString& section, const QString& key, bool defaultOn);
void WriteIniFlag(const QString& file, const QString& section, const QString& key, bool on);
// Numbers written with a leading space when not negative, as the Main keys and
// the two St keys are.
QString SpacedNumber(int value);
