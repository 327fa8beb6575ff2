// Config.Ini: the main window's settings and the options, with their
// defaults and value forms.
#include "core/Settings.h"
#include "core/IniFile.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

const QRect kDesign(1200, 900, 9000, 6000); // twips: left, top, width, height

class SettingsTest : public testing::Test {
protected:
    TempProgramFolder folder;
    QString ini = folder.file("Config.Ini");
};

TEST_F(SettingsTest, FirstStartGivesTheDefaults) {
    const MainWindowSettings s = LoadMainWindowSettings(ini, kDesign);
    EXPECT_EQ(s.mode, ListMode::Basic);
    EXPECT_EQ(s.order, SortOrder::Ascending);
    EXPECT_EQ(s.view, ListViewKind::LargeIcons);
    EXPECT_EQ(s.geometryTwips, kDesign);
    EXPECT_FALSE(s.findPanel);
    EXPECT_FALSE(s.gridLines);
    EXPECT_TRUE(s.fullRowSelect);
    EXPECT_FALSE(s.restorePosition);
    const OptionSettings o = LoadOptionSettings(ini);
    EXPECT_TRUE(o.confirmDelete);
    EXPECT_TRUE(o.doubleClickRuns);
    EXPECT_EQ(o.doubleClickAction, DoubleClickAction::Uninstall);
    EXPECT_TRUE(o.autoSizeColumns);
    EXPECT_FALSE(o.showHidden);
    EXPECT_FALSE(QFile::exists(ini));
}

TEST_F(SettingsTest, ValuesAreReadAsTheirNumbers) {
    struct Case {
        const char* ul;
        const char* viw;
        const char* ord;
        ListMode mode;
        ListViewKind view;
        SortOrder order;
    } cases[] = {
        {"1", "1", "1", ListMode::Basic, ListViewKind::LargeIcons, SortOrder::Ascending},
        {" 2", " 4", " 2", ListMode::Advanced, ListViewKind::Details, SortOrder::Descending},
        {"0", "7", "3", ListMode::Advanced, ListViewKind::LargeIcons, SortOrder::Descending},
        {"abc", "2", "1x", ListMode::Advanced, ListViewKind::SmallIcons, SortOrder::Ascending},
        {"1.0", "3", "", ListMode::Basic, ListViewKind::List, SortOrder::Descending},
    };
    for (const Case& c : cases) {
        WriteIni(ini, "Main", "Ul", c.ul);
        WriteIni(ini, "Main", "Viw", c.viw);
        WriteIni(ini, "Main", "Ord", c.ord);
        const MainWindowSettings s = LoadMainWindowSettings(ini, kDesign);
        EXPECT_EQ(s.mode, c.mode) << c.ul;
        EXPECT_EQ(s.view, c.view) << c.viw;
        EXPECT_EQ(s.order, c.order) << c.ord;
    }
}

TEST_F(SettingsTest, GeometryBeyondAnyScreenKeepsTheDefault) {
    struct Case {
        const char* fw;
        const char* fl;
        QRect expected;
    } cases[] = {
        {"12000", "-300", QRect(-300, 20, 12000, 7000)},
        {"32767", "-32768", QRect(-32768, 20, 32767, 7000)},
        // A maximised window on a 2560-pixel screen is 38400 twips wide.
        {"38400", "-40000", QRect(-40000, 20, 38400, 7000)},
        {"20000000", "100", kDesign},
        {"12000", "-20000000", kDesign},
        {"wide", "100", kDesign},
    };
    for (const Case& c : cases) {
        WriteIni(ini, "Main", "Fw", c.fw);
        WriteIni(ini, "Main", "Fh", "7000");
        WriteIni(ini, "Main", "Fl", c.fl);
        WriteIni(ini, "Main", "Ft", "20");
        EXPECT_EQ(LoadMainWindowSettings(ini, kDesign).geometryTwips, c.expected)
            << c.fw << " " << c.fl;
    }
}

TEST_F(SettingsTest, SavingWritesTheSevenMainKeysInTheirForms) {
    WriteIni(ini, "Options", "Xy", "0");
    MainWindowSettings s;
    s.mode = ListMode::Advanced;
    s.order = SortOrder::Descending;
    s.view = ListViewKind::Details;
    s.geometryTwips = QRect(-120, 45, 9000, 6000);
    SaveMainWindowSettings(ini, s);
    EXPECT_EQ(ReadFileBytes(ini),
              QByteArray("[Options]\r\nXy=0\r\n[Main]\r\nUl= 2\r\nOrd= 2\r\n"
                         "Viw= 4\r\nFw=9000\r\nFh=6000\r\nFl=-120\r\nFt=45\r\n"));
    const MainWindowSettings back = LoadMainWindowSettings(ini, kDesign);
    EXPECT_EQ(back.mode, s.mode);
    EXPECT_EQ(back.order, s.order);
    EXPECT_EQ(back.view, s.view);
    EXPECT_EQ(back.geometryTwips, s.geometryTwips);
}

TEST_F(SettingsTest, OptionsRoundTripAndFlagsCompareWithOne) {
    OptionSettings o;
    o.confirmDelete = false;
    o.doubleClickAction = DoubleClickAction::Edit;
    o.showHidden = true;
    o.gridLines = true;
    SaveOptionSettings(ini, o);
    const OptionSettings back = LoadOptionSettings(ini);
    EXPECT_FALSE(back.confirmDelete);
    EXPECT_EQ(back.doubleClickAction, DoubleClickAction::Edit);
    EXPECT_TRUE(back.showHidden);
    EXPECT_TRUE(back.gridLines);
    EXPECT_EQ(ReadIni(ini, "Options", "Sw", ""), "2");
    WriteIni(ini, "Options", "Hi", "2");
    EXPECT_FALSE(ReadIniFlag(ini, "Options", "Hi", true));
    WriteIni(ini, "Options", "Hi", " 1");
    EXPECT_TRUE(ReadIniFlag(ini, "Options", "Hi", false));
    // A value the options never write runs nothing.
    WriteIni(ini, "Options", "Sw", "9");
    EXPECT_EQ(LoadOptionSettings(ini).doubleClickAction, DoubleClickAction::None);
    WriteIni(ini, "Options", "Sw", "-1");
    EXPECT_EQ(LoadOptionSettings(ini).doubleClickAction, DoubleClickAction::None);
}

} // namespace
