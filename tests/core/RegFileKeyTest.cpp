// Telling which key a registry editor file holds from its first key line.
#include "core/RegFileKey.h"
#include "core/RegistryTypes.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

QByteArray Utf16File(const QString& text) {
    return QByteArray("\xFF\xFE", 2) + Utf16Bytes(text, false);
}

TEST(RegFileKey, TheFirstKeyLineNamesTheKey) {
    TempProgramFolder folder;
    const QString uninstall =
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    struct Case {
        const char* name;
        QByteArray bytes;
        QString key;
    };
    const Case cases[] = {
        {"export",
         Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[" + uninstall +
                   "Café]\r\n\"DisplayName\"=\"Café\"\r\n\r\n[" + uninstall + "Café\\Sub]\r\n\r\n"),
         uninstall + "Café"},
        {"regedit4 with comments, LF ends and indented key line",
         "REGEDIT4\n; saved by hand\n\n  \t[HKLM\\Software\\A]\n\"x\"=\"1\"\n",
         "HKLM\\Software\\A"},
        {"the last bracket closes the name", "REGEDIT4\r\n[HKLM\\Software\\a]b] \r\n",
         "HKLM\\Software\\a]b"},
        {"a key line at the very end", "REGEDIT4\r\n\r\n[HKLM\\Software\\End]",
         "HKLM\\Software\\End"},
        {"no key line", Utf16File("Windows Registry Editor Version 5.00\r\n\r\n"), QString()},
        {"a key line without its bracket", "REGEDIT4\r\n[HKLM\\Software\\Open\r\n", QString()},
        {"not a registry file", "\x00\x01\x02 binary", QString()},
        {"empty", "", QString()},
    };
    for (const Case& c : cases) {
        const QString file = folder.file("case.reg");
        ASSERT_TRUE(WriteFileBytes(file, c.bytes));
        EXPECT_EQ(ReadRegFileKey(file), c.key) << c.name;
    }
    EXPECT_EQ(ReadRegFileKey(folder.file("missing.reg")), QString());
}

TEST(RegFileKey, OnlyTheStartOfALargeFileIsRead) {
    TempProgramFolder folder;
    const QString file = folder.file("large.reg");
    // A comment line that runs past the first megabyte, then the key line:
    // it is not read, so no key is given.
    QByteArray bytes = "REGEDIT4\r\n;";
    bytes += QByteArray(1024 * 1024 - 1 - bytes.size(), 'x') + "\r\n";
    EXPECT_EQ(bytes.size(), 1024 * 1024 + 1);
    bytes += "[HKLM\\Software\\\xC3\xA9]\r\n";
    ASSERT_TRUE(WriteFileBytes(file, bytes));
    EXPECT_EQ(ReadRegFileKey(file), QString());

    // The same with the key line first: found, the accent decoded as UTF-8
    // although a multi-byte character straddles the cut further on.
    QByteArray early = "REGEDIT4\r\n[HKLM\\Software\\\xC3\xA9]\r\n;";
    early += QByteArray(1024 * 1024 - early.size() - 1, 'x') + "\xC3\xA9\r\n";
    ASSERT_TRUE(WriteFileBytes(file, early));
    EXPECT_EQ(ReadRegFileKey(file), QString::fromUtf8("HKLM\\Software\\\xC3\xA9"));

    // UTF-16: the cut falls inside a long comment; the key line before it counts.
    QString text = "Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\Software\\Wide]\r\n;";
    text += QString(1024 * 1024 / 2, u'y');
    ASSERT_TRUE(WriteFileBytes(file, Utf16File(text)));
    EXPECT_EQ(ReadRegFileKey(file), "HKLM\\Software\\Wide");
}

TEST(RegFileKey, KeyPathsCompareAsTheRegistryComparesThem) {
    EXPECT_TRUE(SameKeyPath("HKEY_LOCAL_MACHINE\\Software\\Tool", "hklm\\SOFTWARE\\tool"));
    EXPECT_TRUE(SameKeyPath("HKLM\\Software\\Tool\\", "HKLM\\Software\\Tool"));
    EXPECT_FALSE(SameKeyPath("HKLM\\Software\\Tool", "HKCU\\Software\\Tool"));
    EXPECT_FALSE(SameKeyPath("HKLM\\Software\\Tool", "HKLM\\Software\\Tool\\Sub"));
    EXPECT_FALSE(SameKeyPath("HKLM\\Software\\Tool", "HKLM\\Software\\Tool 2"));
    EXPECT_FALSE(SameKeyPath("", ""));
    EXPECT_FALSE(SameKeyPath("-HKLM\\Software\\Tool", "HKLM\\Software\\Tool"));
}

} // namespace
