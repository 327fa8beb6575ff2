// Sizes, durations, file names and icon paths as text.
#include "core/TextHelpers.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

TEST(TextHelpers, SizeText) {
    // Boundaries: exactly 1024 bytes is "1 KB", 1 MB and 1 GB likewise; the
    // first value that is no longer shown is 1 TB.
    const struct {
        double bytes;
        const char* text;
    } cases[] = {
        {0, "0 Byte"},
        {1023, "1023 Byte"},
        {1024, "1 KB"},
        {1536, "1.5 KB"},
        {1048575, "1024 KB"},
        {1048576, "1 MB"},
        {1073741824, "1 GB"},
        {5368709120.0, "5 GB"},
        {1099511627775.0, "1024 GB"},
        {1099511627776.0, ""},
        {2199023255552.0, ""},
        // Half to even at the second decimal: 1.125 KB and 1.375 KB are exact.
        {1152, "1.12 KB"},
        {1408, "1.38 KB"},
        {1034, "1.01 KB"},
        {1025, "1 KB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeText(c.bytes), c.text) << c.bytes;
}

TEST(TextHelpers, SizeTextUsesTheUsersDecimalSeparator) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(SizeText(1536), "1,5 KB");
    EXPECT_EQ(TimeText(149), "2,5 Minute");
    QLocale::setDefault(saved);
}

TEST(TextHelpers, TimeText) {
    // x = seconds + 1; x = 60 exactly is "1 Minute".
    const struct {
        double seconds;
        const char* text;
    } cases[] = {
        {0, "1 Second"},      {58, "59 Second"},      {59, "1 Minute"}, {149, "2.5 Minute"},
        {100, "1.68 Minute"}, {3598, "59.98 Minute"}, {3599, ""},       {7200, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeText(c.seconds), c.text) << c.seconds;
}

TEST(TextHelpers, FileNames) {
    EXPECT_EQ(SafeFileName("Tool: a/b\\c *?<>|\"q\""), "Tool- a-b-c ------q-");
    EXPECT_EQ(SafeFileName("Plain Name 1.0"), "Plain Name 1.0");
    EXPECT_EQ(CountInvalidNameChars("a:b/c d"), 2);
    EXPECT_EQ(CountInvalidNameChars("\\/:*?<>|\""), 9);
    EXPECT_EQ(CountInvalidNameChars("fine"), 0);
    EXPECT_FALSE(HasNonSpace(""));
    EXPECT_FALSE(HasNonSpace("   "));
    EXPECT_TRUE(HasNonSpace(" a "));
    EXPECT_TRUE(HasNonSpace("\t"));
}

TEST(TextHelpers, ExtractIconPath) {
    const struct {
        const char* text;
        const char* path;
    } cases[] = {
        {"", ""},
        {"\"C:\\Program Files\\App\\unins000.exe\" /SILENT",
         "C:\\Program Files\\App\\unins000.exe"},
        {"C:\\App\\app.exe,0", "C:\\App\\app.exe"},
        {"C:\\App\\App.ICO", "C:\\App\\App.ICO"},
        // An .ico anywhere wins over an earlier .exe.
        {"C:\\App\\setup.exeC:\\App\\uninst.exe D:\\Icons\\app.ico",
         "C:\\App\\setup.exeC:\\App\\uninst.exe D:\\Icons\\app.ico"},
        {"MsiExec.exe /X{12345678-1234-1234-1234-123456789012}", ""},
        {"rundll32.exe C:\\x\\y.dll", ""},
        {"app.exe C:\\folder", ""},
        {":\\x.exe", ""},
        {"C:\\no extension", ""},
        {"/opt/app/app.ico", "/opt/app/app.ico"},
        {"\"/opt/My App/uninstall.exe\" --all", "/opt/My App/uninstall.exe"},
        {"/opt/app/uninstall.sh", ""},
        // A Linux icon path first, a drive path after it.
        {"/opt/a/app.icowine C:\\x\\un.exe", "/opt/a/app.ico"},
        // The images a Linux program uses for its icon.
        {"/usr/share/icons/hicolor/48x48/apps/tool.png/usr/bin/relvano-uninstall deb tool",
         "/usr/share/icons/hicolor/48x48/apps/tool.png"},
        {"/usr/share/pixmaps/tool.xpm", "/usr/share/pixmaps/tool.xpm"},
        {"\"/opt/t/icon.svg\"", "/opt/t/icon.svg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtractIconPath(c.text), c.path) << c.text;
}

TEST(TextHelpers, LeadingNumber) {
    EXPECT_EQ(LeadingNumber(" 2"), 2);
    EXPECT_EQ(LeadingNumber("12abc"), 12);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("-3"), -3);
    EXPECT_EQ(LeadingNumber("1.5x"), 1.5);
}

} // namespace
