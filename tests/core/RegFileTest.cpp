// Export and import in the registry editor's text format.
#include "core/RegFile.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

constexpr RootKey HKLM = RootKey::LocalMachine;

QByteArray Utf16File(const QString& text) {
    return QByteArray("\xFF\xFE", 2) + Utf16Bytes(text, false);
}

QString DecodeExport(const QByteArray& bytes) {
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
    return TextFromUtf16Bytes(bytes.mid(2));
}

class RegFileTest : public testing::Test {
protected:
    TempProgramFolder folder;
    SqliteStore store{folder.storePath()};

    ImportReport import(const QByteArray& bytes) {
        ImportReport report;
        store.importBytes(bytes, &report);
        return report;
    }
    QByteArray exportKey(const QString& key) {
        const QString file = folder.file("out.reg");
        QFile::remove(file);
        EXPECT_TRUE(store.ExportKey(key, file));
        return ReadFileBytes(file);
    }
    QList<RegValue> values(const QString& key) {
        QList<RegValue> list;
        store.readKey(*ParseFullKeyPath(key), &list, nullptr);
        return list;
    }
};

TEST_F(RegFileTest, ARegistryEditorExportImportsAndExportsByteForByte) {
    const QByteArray sample = ReadFileBytes(TestDataPath("registry-editor-export.reg"));
    ASSERT_FALSE(sample.isEmpty());
    const ImportReport report = import(sample);
    EXPECT_TRUE(report.imported);
    EXPECT_TRUE(report.issues.isEmpty());
    EXPECT_EQ(exportKey("HKEY_LOCAL_MACHINE\\Software\\Sample Vendor"), sample);
    // The short root name exports with the full one.
    EXPECT_EQ(exportKey("HKLM\\Software\\Sample Vendor"), sample);
}

TEST_F(RegFileTest, TheWorkedExampleIsWrittenExactly) {
    const KeyPath app = *ParseFullKeyPath("HKCU\\Software\\Example Corp\\Example App");
    store.setValue(app, MakeStringValue("InstallLocation", "C:\\Program Files\\Example \"Beta\""));
    store.setValue(app, MakeDwordValue("Version", 42));
    store.setValue(app, MakeStringValue("UninstallString", "%ProgramFiles%\\Example\\uninstall.exe",
                                        RegType::ExpandSz));
    store.setValue(*ParseFullKeyPath("HKCU\\Software\\Example Corp\\Example App\\Settings"),
                   MakeStringValue("Theme", "dark"));
    const QString expected =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Example Corp\\Example App]\r\n"
        "\"InstallLocation\"=\"C:\\\\Program Files\\\\Example \\\"Beta\\\"\"\r\n"
        "\"Version\"=dword:0000002a\r\n"
        "\"UninstallString\"=hex(2):25,00,50,00,72,00,6f,00,67,00,72,00,61,00,6d,00,46,00,\\\r\n"
        "  69,00,6c,00,65,00,73,00,25,00,5c,00,45,00,78,00,61,00,6d,00,70,00,6c,00,65,\\\r\n"
        "  00,5c,00,75,00,6e,00,69,00,6e,00,73,00,74,00,61,00,6c,00,6c,00,2e,00,65,00,\\\r\n"
        "  78,00,65,00,00,00\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Example Corp\\Example App\\Settings]\r\n"
        "\"Theme\"=\"dark\"\r\n"
        "\r\n";
    const QByteArray bytes = exportKey("HKEY_CURRENT_USER\\Software\\Example Corp\\Example App");
    EXPECT_EQ(DecodeExport(bytes), expected);
    // A key without values: header, blank line, the key, blank line.
    store.createKey(*ParseFullKeyPath("HKLM\\Empty"));
    EXPECT_EQ(DecodeExport(exportKey("HKLM\\Empty")),
              QString("Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_LOCAL_MACHINE\\Empty]\r\n\r\n"));
}

TEST_F(RegFileTest, EveryValueTypeSurvivesExportAndImport) {
    const KeyPath key = *ParseFullKeyPath("HKLM\\Software\\Round Trip");
    QByteArray longBinary;
    for (int i = 0; i < 300; ++i)
        longBinary.append(static_cast<char>(i));
    const QList<RegValue> written = {
        MakeStringValue("", "default value"),
        MakeStringValue("Quotes \"and\" \\backslashes\\", "C:\\a \"b\" \\\\c\\"),
        MakeStringValue("Ünïcödé", "värde — значение — 値"),
        MakeStringValue("Empty", ""),
        MakeStringValue("Lines", "one\r\ntwo\nthree"),
        RegValue{"ZeroSizeSz", RegType::Sz, QByteArray()},
        RegValue{"NoNul", RegType::Sz, Utf16Bytes("no terminator", false)},
        RegValue{"Inner NUL", RegType::Sz, Utf16Bytes(QString("a") + QChar(0) + "b", true)},
        MakeStringValue("Expand", "%SystemRoot%\\x", RegType::ExpandSz),
        RegValue{"EmptyExpand", RegType::ExpandSz, QByteArray()},
        RegValue{"OddExpand", RegType::ExpandSz, QByteArray("A\0\0", 3)},
        MakeMultiStringValue("Multi", {"alpha", "beta gamma", "δ"}),
        RegValue{"EmptyMulti", RegType::MultiSz, QByteArray()},
        RegValue{"Binary", RegType::Binary, longBinary},
        RegValue{"EmptyBinary", RegType::Binary, QByteArray()},
        MakeDwordValue("Dword", 0xdeadbeef),
        RegValue{"ShortDword", RegType::Dword, QByteArray("\x01\x02", 2)},
        MakeQwordValue("Qword", 0x0102030405060708ull),
        RegValue{"Type 0x100", 0x100, QByteArray("\x00\xff", 2)},
        RegValue{"None", RegType::None, QByteArray()},
    };
    for (const RegValue& v : written)
        ASSERT_TRUE(store.setValue(key, v).ok());
    store.setValue(*ParseFullKeyPath("HKLM\\Software\\Round Trip\\Sub\\Deeper"),
                   MakeStringValue("Deep", "x"));
    store.createKey(*ParseFullKeyPath("HKLM\\Software\\Round Trip\\Sub\\Empty"));

    const QByteArray file = exportKey("HKLM\\Software\\Round Trip");
    store.DeleteKey(HKLM, "Software\\Round Trip");
    ASSERT_TRUE(values("HKLM\\Software\\Round Trip").isEmpty());
    const ImportReport report = import(file);
    EXPECT_TRUE(report.imported);
    EXPECT_TRUE(report.issues.isEmpty()) << report.issues.value(0).reason.toStdString();

    EXPECT_EQ(values("HKLM\\Software\\Round Trip"), written);
    EXPECT_EQ(values("HKLM\\Software\\Round Trip\\Sub\\Deeper"),
              QList<RegValue>{MakeStringValue("Deep", "x")});
    EXPECT_TRUE(store.keyExists(*ParseFullKeyPath("HKLM\\Software\\Round Trip\\Sub\\Empty")).ok());
    // And the second export is the same file.
    EXPECT_EQ(exportKey("HKLM\\Software\\Round Trip"), file);
}

TEST_F(RegFileTest, AcceptsOlderAndOtherEncodings) {
    const QString body = "\r\n[HKEY_LOCAL_MACHINE\\Software\\Enc]\r\n\"Name\"=\"Größe\"\r\n";
    struct Case {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"UTF-16LE with BOM", Utf16File("Windows Registry Editor Version 5.00" + body)},
        {"UTF-8 without BOM", ("Windows Registry Editor Version 5.00" + body).toUtf8()},
        {"UTF-8 with BOM",
         "\xEF\xBB\xBF" + ("Windows Registry Editor Version 5.00" + body).toUtf8()},
        {"REGEDIT4 in cp1252", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Enc]\r\n"
                               "\"Name\"=\"Gr\xF6\xDF"
                               "e\"\r\n"},
        {"UTF-16BE with BOM",
         [&]() -> QByteArray {
             QByteArray le = Utf16Bytes("Windows Registry Editor Version 5.00" + body, false);
             for (qsizetype i = 0; i + 1 < le.size(); i += 2)
                 std::swap(le[i], le[i + 1]);
             return QByteArray("\xFE\xFF", 2) + le;
         }()},
        {"LF line ends", QByteArray("Windows Registry Editor Version 5.00\n\n"
                                    "[HKEY_LOCAL_MACHINE\\Software\\Enc]\n\"Name\"=\"Größe\"\n")},
    };
    for (const Case& c : cases) {
        store.DeleteKey(HKLM, "Software\\Enc");
        const ImportReport report = import(c.bytes);
        EXPECT_TRUE(report.imported) << c.what;
        EXPECT_TRUE(report.issues.isEmpty()) << c.what;
        EXPECT_EQ(store.GetStringValue(HKLM, "Software\\Enc", "Name"), "Größe") << c.what;
    }
    // REGEDIT4 keeps expandable strings as 8-bit characters.
    import("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Enc]\r\n\"Path\"=hex(2):25,41,25,00\r\n");
    EXPECT_EQ(values("HKLM\\Software\\Enc").last(),
              MakeStringValue("Path", "%A%", RegType::ExpandSz));
}

TEST_F(RegFileTest, DeletionsAndContinuationsApply) {
    store.SetStringValue(HKLM, "Software\\Gone\\Child", "x", "1");
    store.SetStringValue(HKLM, "Software\\Keep", "Drop", "1");
    store.SetStringValue(HKLM, "Software\\Keep", "", "default");
    store.SetStringValue(HKLM, "Software\\Keep", "Stay", "1");
    const QByteArray file = Utf16File("Windows Registry Editor Version 5.00\r\n"
                                      "[-HKEY_LOCAL_MACHINE\\Software\\Gone]\r\n"
                                      "[-HKEY_LOCAL_MACHINE\\Software\\Never There]\r\n"
                                      "[hkey_local_machine\\Software\\Keep]\r\n"
                                      "\"Drop\"=- ; removed\r\n"
                                      "@=-\r\n"
                                      "  \"Bin\" = hex:01,02,\\ ; more follows\r\n"
                                      "\r\n"
                                      "; a comment between continuation lines\r\n"
                                      "\t03,04,\\\r\n"
                                      "  05\r\n"
                                      "# a comment line\r\n"
                                      "\"Tail\"=hex:aa,\\\r\n");
    const ImportReport report = import(file);
    EXPECT_TRUE(report.imported);
    EXPECT_TRUE(report.issues.isEmpty()) << report.issues.value(0).reason.toStdString();
    EXPECT_FALSE(store.keyExists(*ParseFullKeyPath("HKLM\\Software\\Gone")).ok());
    EXPECT_EQ(values("HKLM\\Software\\Keep"),
              (QList<RegValue>{MakeStringValue("Stay", "1"),
                               RegValue{"Bin", RegType::Binary, QByteArray("\1\2\3\4\5")},
                               RegValue{"Tail", RegType::Binary, QByteArray("\xaa")}}));
}

TEST_F(RegFileTest, BrokenLinesAreReportedAndSkippedWhileTheRestApplies) {
    const QByteArray file = Utf16File("Windows Registry Editor Version 5.00\r\n"    // 1
                                      "\"Early\"=\"before any key\"\r\n"            // 2
                                      "[HKEY_LOCAL_MACHINE\\Software\\Bad\r\n"      // 3 missing ]
                                      "\"AfterBadKey\"=\"x\"\r\n"                   // 4
                                      "[HKEY_LOCAL_MACHINE\\Software\\Good]\r\n"    // 5
                                      "\"Odd\"=hex:abc\r\n"                         // 6
                                      "\"LongDword\"=dword:123456789\r\n"           // 7
                                      "\"HexDword\"=dword:0x10\r\n"                 // 8
                                      "\"Unclosed=\"x\"\r\n"                        // 9
                                      "\"Nul\"=\"a\\0b\"\r\n"                       // 10
                                      "\"Junk\"=\"x\" trailing\r\n"                 // 11
                                      "\"Kind\"=text:abc\r\n"                       // 12
                                      "\"Cont\"=hex:01,02,\\\r\n"                   // 13
                                      "# not allowed here\r\n"                      // 14
                                      "\"NoComma\"=hex:01\\\r\n"                    // 15
                                      "\"Ok\"=\"fine\"\r\n"                         // 16
                                      "[HKEY_CURRENT_USERS\\Software]\r\n"          // 17
                                      "\"UnderUnknownRoot\"=\"x\"\r\n"              // 18
                                      "[HKEY_CLASSES_ROOT\\.txt]\r\n"               // 19
                                      "[-HKEY_LOCAL_MACHINE]\r\n"                   // 20
                                      "[ HKEY_LOCAL_MACHINE\\Software\\Spaced]\r\n" // 21
                                      "[HKEY_LOCAL_MACHINE\\Software\\Good]\r\n"    // 22
                                      "\"BadType\"=hex(zz):00\r\n"                  // 23
                                      "\"Last\"=dword:7\r\n");                      // 24
    const ImportReport report = import(file);
    EXPECT_TRUE(report.imported);
    QList<int> lines;
    for (const ImportIssue& issue : report.issues) {
        lines.append(issue.line);
        EXPECT_FALSE(issue.reason.isEmpty());
    }
    EXPECT_EQ(lines, (QList<int>{2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 15, 17, 18, 19, 20, 21, 23}));
    EXPECT_TRUE(report.issues[1].reason.contains("bracket"));
    EXPECT_EQ(values("HKLM\\Software\\Good"),
              (QList<RegValue>{MakeStringValue("Ok", "fine"), MakeDwordValue("Last", 7)}));
    EXPECT_FALSE(store.keyExists(*ParseFullKeyPath("HKLM\\Software\\Spaced")).ok());
    EXPECT_TRUE(store.keyExists(*ParseFullKeyPath("HKLM\\Software")).ok());
}

TEST_F(RegFileTest, AFileThatIsNotARegistryFileImportsNothing) {
    store.SetStringValue(HKLM, "Software\\Keep", "x", "1");
    const QByteArray cases[] = {
        "",
        "\r\nWindows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\Software\\X]\r\n",
        "Windows Registry Editor Version 5\r\n[HKEY_LOCAL_MACHINE\\Software\\X]\r\n",
        "REGEDIT5\r\n[HKEY_LOCAL_MACHINE\\Software\\X]\r\n",
        QByteArray("\x00\x01\x02\xff garbage", 12),
    };
    for (const QByteArray& bytes : cases) {
        const ImportReport report = import(bytes);
        EXPECT_FALSE(report.imported);
        EXPECT_FALSE(report.error.isEmpty());
    }
    EXPECT_FALSE(store.keyExists(*ParseFullKeyPath("HKLM\\Software\\X")).ok());
    EXPECT_EQ(store.GetStringValue(HKLM, "Software\\Keep", "x"), "1");
    // A missing file says so.
    const ImportReport missing = store.ImportFile(folder.file("nope.reg"));
    EXPECT_FALSE(missing.imported);
    EXPECT_TRUE(missing.error.contains("nope.reg"));
}

TEST_F(RegFileTest, ExportOfAMissingKeyWritesNothingAndKeepsAnOldFile) {
    const QString file = folder.file("old.reg");
    ASSERT_TRUE(WriteFileBytes(file, "old contents"));
    EXPECT_FALSE(store.ExportKey("HKEY_LOCAL_MACHINE\\Software\\Missing", file));
    EXPECT_EQ(ReadFileBytes(file), QByteArray("old contents"));
    EXPECT_FALSE(store.ExportKey("HKEY_LOCAL_MACHINE\\Software", folder.file("no/such/dir/x.reg")));
    EXPECT_FALSE(store.ExportKey("NOT_A_ROOT\\Software", folder.file("x.reg")));
}

} // namespace
