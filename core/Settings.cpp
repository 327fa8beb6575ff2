#include "core/Settings.h"

#include "core/IniFile.h"
#include "core/TextHelpers.h"

#include <cmath>
#include <optional>

namespace {

const QString kMain = QStringLiteral("Main");
const QString kOptions = QStringLiteral("Options");

int ReadNumber(const QString& file, const QString& section, const QString& key, int defaultValue) {
    return static_cast<int>(
        LeadingNumber(ReadIni(file, section, key, QString::number(defaultValue))));
}

// A geometry value in twips, or nothing when the text is not a number or is
// beyond any screen. Values are not limited to 16 bits: a window wider than
// 2,184 pixels (a maximised window on a large screen) is kept too.
std::optional<int> ReadGeometry(const QString& file, const QString& key, int defaultValue) {
    const QString text = ReadIni(file, kMain, key, QString::number(defaultValue)).trimmed();
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    constexpr double limit = 1e7; // twips: over 600,000 pixels
    if (rounded < -limit || rounded > limit)
        return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace

QString SpacedNumber(int value) {
    return value >= 0 ? u' ' + QString::number(value) : QString::number(value);
}

bool ReadIniFlag(const QString& file, const QString& section, const QString& key, bool defaultOn) {
    return LeadingNumber(ReadIni(file, section, key,
                                 defaultOn ? QStringLiteral("1") : QStringLiteral("0"))) == 1.0;
}

void WriteIniFlag(const QString& file, const QString& section, const QString& key, bool on) {
    WriteIni(file, section, key, on ? QStringLiteral("1") : QStringLiteral("0"));
}

MainWindowSettings LoadMainWindowSettings(const QString& configIni,
                                          const QRect& designGeometryTwips) {
    MainWindowSettings s;
    s.mode = ReadNumber(configIni, kMain, QStringLiteral("Ul"), 1) == 1 ? ListMode::Basic
                                                                        : ListMode::Advanced;
    s.order = ReadNumber(configIni, kMain, QStringLiteral("Ord"), 1) == 1 ? SortOrder::Ascending
                                                                          : SortOrder::Descending;
    const int view = ReadNumber(configIni, kMain, QStringLiteral("Viw"), 1);
    s.view = view >= 1 && view <= 4 ? static_cast<ListViewKind>(view) : ListViewKind::LargeIcons;

    s.geometryTwips = designGeometryTwips;
    const auto w = ReadGeometry(configIni, QStringLiteral("Fw"), designGeometryTwips.width());
    const auto h = ReadGeometry(configIni, QStringLiteral("Fh"), designGeometryTwips.height());
    const auto l = ReadGeometry(configIni, QStringLiteral("Fl"), designGeometryTwips.left());
    const auto t = ReadGeometry(configIni, QStringLiteral("Ft"), designGeometryTwips.top());
    if (w && h && l && t)
        s.geometryTwips = QRect(*l, *t, *w, *h);

    s.findPanel = ReadIniFlag(configIni, kMain, QStringLiteral("Fv"), false);
    s.gridLines = ReadIniFlag(configIni, kOptions, QStringLiteral("Grids"), false);
    s.fullRowSelect = ReadIniFlag(configIni, kOptions, QStringLiteral("FullRow"), true);
    s.restorePosition = ReadIniFlag(configIni, kOptions, QStringLiteral("Xy"), false);
    return s;
}

void SaveMainWindowSettings(const QString& configIni, const MainWindowSettings& s) {
    WriteIni(configIni, kMain, QStringLiteral("Ul"), SpacedNumber(static_cast<int>(s.mode)));
    WriteIni(configIni, kMain, QStringLiteral("Ord"), SpacedNumber(static_cast<int>(s.order)));
    WriteIni(configIni, kMain, QStringLiteral("Viw"), SpacedNumber(static_cast<int>(s.view)));
    WriteIni(configIni, kMain, QStringLiteral("Fw"), QString::number(s.geometryTwips.width()));
    WriteIni(configIni, kMain, QStringLiteral("Fh"), QString::number(s.geometryTwips.height()));
    WriteIni(configIni, kMain, QStringLiteral("Fl"), QString::number(s.geometryTwips.left()));
    WriteIni(configIni, kMain, QStringLiteral("Ft"), QString::number(s.geometryTwips.top()));
}

OptionSettings LoadOptionSettings(const QString& configIni) {
    OptionSettings o;
    o.confirmDelete = ReadIniFlag(configIni, kOptions, QStringLiteral("Conf"), true);
    o.doubleClickRuns = ReadIniFlag(configIni, kOptions, QStringLiteral("ChDbl"), true);
    const int sw = ReadNumber(configIni, kOptions, QStringLiteral("Sw"), 0);
    o.doubleClickAction =
        sw >= 0 && sw <= 2 ? static_cast<DoubleClickAction>(sw) : DoubleClickAction::None;
    o.autoSizeColumns = ReadIniFlag(configIni, kOptions, QStringLiteral("Auto"), true);
    o.fullRowSelect = ReadIniFlag(configIni, kOptions, QStringLiteral("FullRow"), true);
    o.gridLines = ReadIniFlag(configIni, kOptions, QStringLiteral("Grids"), false);
    o.restorePosition = ReadIniFlag(configIni, kOptions, QStringLiteral("Xy"), false);
    o.showHidden = ReadIniFlag(configIni, kOptions, QStringLiteral("Hi"), false);
    return o;
}

void SaveOptionSettings(const QString& configIni, const OptionSettings& o) {
    WriteIniFlag(configIni, kOptions, QStringLiteral("Conf"), o.confirmDelete);
    WriteIniFlag(configIni, kOptions, QStringLiteral("ChDbl"), o.doubleClickRuns);
    WriteIni(configIni, kOptions, QStringLiteral("Sw"),
             QString::number(static_cast<int>(o.doubleClickAction)));
    WriteIniFlag(configIni, kOptions, QStringLiteral("Auto"), o.autoSizeColumns);
    WriteIniFlag(configIni, kOptions, QStringLiteral("FullRow"), o.fullRowSelect);
    WriteIniFlag(configIni, kOptions, QStringLiteral("Grids"), o.gridLines);
    WriteIniFlag(configIni, kOptions, QStringLiteral("Xy"), o.restorePosition);
    WriteIniFlag(configIni, kOptions, QStringLiteral("Hi"), o.showHidden);
}

void SaveFindPanelShown(const QString& configIni, bool shown) {
    WriteIniFlag(configIni, kMain, QStringLiteral("Fv"), shown);
}

bool LoadSkipRenameQuestion(const QString& configIni) {
    return ReadIniFlag(configIni, kMain, QStringLiteral("RenDlg"), false);
}

void SaveSkipRenameQuestion(const QString& configIni, bool skip) {
    WriteIniFlag(configIni, kMain, QStringLiteral("RenDlg"), skip);
}

namespace {
QString PageSection(PageSetting which) {
    return which == PageSetting::History ? QStringLiteral("Log") : QStringLiteral("Aa");
}
} // namespace

int LoadPageSetting(const QString& configIni, PageSetting which) {
    return ReadNumber(configIni, PageSection(which), QStringLiteral("St"), 1);
}

void SavePageSetting(const QString& configIni, PageSetting which, int page) {
    WriteIni(configIni, PageSection(which), QStringLiteral("St"), SpacedNumber(page));
}
