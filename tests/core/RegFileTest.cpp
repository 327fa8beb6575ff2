// Export and import in the registry editor's text format.
#include "core/RegFile.h"
#include "tests/support/Privileged.h"
#include "tests/support/TestEnv.h"

#include <QDir>

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
        RegValue{"ExpandNoNul", RegType::ExpandSz, Utf16Bytes("%A%", false)},
        RegValue{"MultiNoEnd", RegType::MultiSz, Utf16Bytes("one", true)},
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

TEST_F(RegFileTest, LargeFilesReadInPiecesInEveryEncodingAndLineEnd) {
    // Larger than the pieces the reader takes, so that lines, line ends and
    // characters straddle them.
    QList<RegExportKey> keys;
    for (int i = 0; i < 3000; ++i)
        keys.append({QString("HKEY_LOCAL_MACHINE\\Software\\Big\\Käy %1").arg(i),
                     {MakeStringValue("Name", QString("välue — %1 ").arg(i).repeated(3)),
                      RegValue{"Bin", RegType::Binary, QByteArray(40, char(i))}}});
    const QString text = DecodeExport(FormatRegFile(keys));
    const QByteArray utf8 = text.toUtf8();
    QByteArray utf16be = Utf16Bytes(QChar(0xFEFF) + text, false);
    for (qsizetype i = 0; i + 1 < utf16be.size(); i += 2)
        std::swap(utf16be[i], utf16be[i + 1]);
    QString crOnly = text;
    crOnly.replace("\r\n", "\r");
    QString lfOnly = text;
    lfOnly.replace("\r\n", "\n");
    const QByteArray files[] = {utf8, utf16be, crOnly.toUtf8(), Utf16File(lfOnly)};
    for (const QByteArray& bytes : files) {
        store.DeleteKey(HKLM, "Software\\Big");
        ASSERT_GT(bytes.size(), 600 * 1024);
        const ImportReport report = import(bytes);
        EXPECT_TRUE(report.imported);
        EXPECT_TRUE(report.issues.isEmpty())
            << report.issues.value(0).line << ": " << report.issues.value(0).reason.toStdString();
        QStringList names;
        store.EnumSubkeys(HKLM, "Software\\Big", names);
        EXPECT_EQ(names.size(), 3000);
        EXPECT_EQ(values("HKLM\\Software\\Big\\Käy 2999"), keys.last().values);
    }
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
                                      "[HKEY_DYN_DATA\\Config]\r\n"                 // 19
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
    EXPECT_EQ(report.issues[16].reason, "blank after '[': key line ignored");
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

// ---------------------------------------------------------------------------
// Import cases, each checked against what the Windows registry editor does
// with the same lines, and the faults of files met in use. Each case runs in
// a fresh store, from a UTF-16 file and (where it can be written so) a UTF-8
// one. Line 1 is the header; the body starts on line 2.

struct ImportCase {
    const char* what;
    QStringList body;
    QList<std::pair<QString, QList<RegValue>>> keys; // keys and all their values afterwards
    QList<int> issueLines;
    QStringList absentKeys = {};
    const char* reasonPart = nullptr; // in the first issue's reason
    bool regedit4 = false;
    bool utf16Only = false;
};

const QString kProbe = "HKEY_LOCAL_MACHINE\\Software\\Probe";

QList<ImportCase> ImportCases() {
    const QString probe = "[" + kProbe + "]";
    const QString lone = QString(QChar(0xD800));
    return {
        {"blanks after dword: and around = and @",
         {probe, "\"A\"=dword:  00000008", "\t@\t=\tdword:\t00000008\t", "\"B\" =\t\"x\""},
         {{kProbe, {MakeDwordValue("A", 8), MakeDwordValue("", 8), MakeStringValue("B", "x")}}},
         {}},
        {"upper-case type tags",
         {probe, "\"A\"=DWORD:0000001f", "\"B\"=HEX:01,02", "\"C\"=Hex(2):41,00,00,00"},
         {{kProbe,
           {MakeDwordValue("A", 31), RegValue{"B", RegType::Binary, QByteArray("\1\2", 2)},
            MakeStringValue("C", "A", RegType::ExpandSz)}}},
         {}},
        {"empty names at the end of a key path",
         {"[" + kProbe + "\\Key\\\\]", "\"A\"=\"1\"", "[" + kProbe + "\\Other\\\\\\\\]",
          "\"B\"=\"2\""},
         {{kProbe + "\\Key", {MakeStringValue("A", "1")}},
          {kProbe + "\\Other", {MakeStringValue("B", "2")}}},
         {}},
        {"an empty name inside a key path",
         {"[" + kProbe + "\\\\Key]", "\"A\"=\"1\""},
         {},
         {2, 3},
         {kProbe},
         "key name cannot be empty"},
        {"hex data starting on the line after '\\'",
         {probe, "\"A\"=hex(2):\\", "  25,00,48,00,4f,00,4d,00,45,00,25,00,00,00", "\"B\"=hex:\\",
          "  ; a comment between", "  01"},
         {{kProbe,
           {MakeStringValue("A", "%HOME%", RegType::ExpandSz),
            RegValue{"B", RegType::Binary, QByteArray("\1")}}}},
         {}},
        {"hex data starting on the line after '\\', REGEDIT4",
         {probe, "\"A\"=hex(2):\\", "  25,48,4f,4d,45,25,00"},
         {{kProbe, {MakeStringValue("A", "%HOME%", RegType::ExpandSz)}}},
         {},
         {},
         nullptr,
         true},
        {"hex(n) data is kept as written, terminator or not",
         {probe, "\"A\"=hex(2):41,00", "\"B\"=hex(7):61,00,00,00", "\"C\"=hex(1):62,00"},
         {{kProbe,
           {RegValue{"A", RegType::ExpandSz, QByteArray("A\0", 2)},
            RegValue{"B", RegType::MultiSz, QByteArray("a\0\0\0", 4)},
            RegValue{"C", RegType::Sz, QByteArray("b\0", 2)}}}},
         {}},
        {"a continuation line holding only '\\' breaks the value",
         {probe, "\"A\"=hex:01,02,\\", "\\", "  03,04", "\"B\"=\"kept\""},
         {{kProbe, {MakeStringValue("B", "kept")}}},
         {3},
         {},
         "line 4 holds only '\\'"},
        {"a comment in a continuation cuts the value, and its orphaned line is reported",
         {probe, "\"A\"=hex:01,02,\\", "  03,04, ; a comment", "  05,06,\\", "  07",
          "\"B\"=\"kept\""},
         {{kProbe,
           {RegValue{"A", RegType::Binary, QByteArray("\1\2\3\4")}, MakeStringValue("B", "kept")}}},
         {5},
         {},
         "ends on line 4"},
        {"a value continued into a key line",
         {probe, "\"C\"=hex:01,02,\\", "[" + kProbe + "\\Other]", "\"X\"=\"y\""},
         {{kProbe, {}}, {kProbe + "\\Other", {MakeStringValue("X", "y")}}},
         {3},
         {},
         "line 4 starts a new key or value"},
        {"a value continued into a value line",
         {probe, "\"C\"=hex:01,02,\\", "\"X\"=\"y\""},
         {{kProbe, {MakeStringValue("X", "y")}}},
         {3}},
        {"a '#' line inside continued data breaks the value",
         {probe, "\"C\"=hex:01,02,\\", "# comment", "  03", "\"X\"=\"y\""},
         {{kProbe, {MakeStringValue("X", "y")}}},
         {3},
         {},
         "is a '#' comment"},
        {"unpaired surrogates in names",
         {"[" + kProbe + "\\A" + lone + "]", "\"V\"=\"first\"",
          "[" + kProbe + "\\A" + QChar(0xD801) + "]", "\"V\"=\"second\"", probe,
          "\"N" + lone + "\"=\"x\"", "\"Data\"=\"" + lone + "\""},
         {{kProbe, {RegValue{"Data", RegType::Sz, Utf16Bytes(lone, true)}}}},
         {2, 3, 4, 5, 7},
         {kProbe + "\\A?", kProbe + "\\A" + QChar(0xFFFD)},
         "unpaired UTF-16 surrogate",
         false,
         true},
        {"lines that are neither key, value, comment nor blank",
         {probe, "DisplayName=foo", "HKEY_LOCAL_MACHINE\\Software\\Probe\\Bare", "'single'=\"q\"",
          QString::fromUtf8("\xE2\x80\x9CTypo\xE2\x80\x9D=\"x\""), "; a comment", "# a comment",
          "   ", "\"Kept\"=\"yes\"", "plain words"},
         {{kProbe, {MakeStringValue("Kept", "yes")}}},
         {3, 4, 5, 6, 11},
         {kProbe + "\\Bare"},
         "value name must be in double quotes"},
        {"every root the registry editor takes",
         {"[HKEY_CLASSES_ROOT\\.probe]", "@=\"probefile\"",
          "[HKEY_CURRENT_CONFIG\\Software\\Probe]", "\"A\"=\"1\"",
          "[HKEY_USERS\\.DEFAULT\\Software\\Probe]", "\"B\"=\"2\"", "[HKEY_CLASSES_ROOT\\.gone]",
          "[-HKEY_CLASSES_ROOT\\.gone]", "[hkey_classes_root\\Probe.File\\shell\\open\\command]",
          "@=\"probe \\\"%1\\\"\""},
         {{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.probe", {MakeStringValue("", "probefile")}},
          {"HKEY_CLASSES_ROOT\\.probe", {MakeStringValue("", "probefile")}},
          {"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\"
           "Probe",
           {MakeStringValue("A", "1")}},
          {"HKEY_USERS\\.DEFAULT\\Software\\Probe", {MakeStringValue("B", "2")}},
          {"HKCR\\Probe.File\\shell\\open\\command", {MakeStringValue("", "probe \"%1\"")}}},
         {},
         {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.gone"}},
    };
}

QByteArray EncodeFile(const ImportCase& c, bool utf16) {
    const QString text =
        (c.regedit4 ? "REGEDIT4\r\n" : "Windows Registry Editor Version 5.00\r\n") +
        c.body.join("\r\n") + "\r\n";
    return utf16 ? Utf16File(text) : text.toUtf8();
}

TEST(RegFileImportCases, EachCaseImportsAsTheRegistryEditorDoesAndReportsTheRest) {
    for (const ImportCase& c : ImportCases()) {
        for (const bool utf16 : {true, false}) {
            if (!utf16 && (c.utf16Only || c.regedit4))
                continue;
            const std::string what = std::string(c.what) + (utf16 ? " (UTF-16)" : " (UTF-8)");
            TempProgramFolder folder;
            SqliteStore store(folder.storePath());
            ImportReport report;
            ASSERT_TRUE(store.importBytes(EncodeFile(c, utf16), &report)) << what;
            EXPECT_TRUE(report.imported) << what;
            QList<int> lines;
            for (const ImportIssue& issue : report.issues)
                lines.append(issue.line);
            EXPECT_EQ(lines, c.issueLines)
                << what << ": " << report.issues.value(0).reason.toStdString();
            if (c.reasonPart && !report.issues.isEmpty()) {
                EXPECT_TRUE(report.issues[0].reason.contains(c.reasonPart))
                    << what << ": " << report.issues[0].reason.toStdString();
            }
            for (const auto& [path, expected] : c.keys) {
                QList<RegValue> values;
                EXPECT_TRUE(store.readKey(*ParseFullKeyPath(path), &values, nullptr))
                    << what << ": " << path.toStdString();
                EXPECT_EQ(values, expected) << what << ": " << path.toStdString();
            }
            for (const QString& path : c.absentKeys) {
                const auto key = ParseFullKeyPath(path);
                EXPECT_FALSE(key && store.keyExists(*key)) << what << ": " << path.toStdString();
            }
        }
    }
}

TEST(RegFileImportCases, ADifferentlyEncodedBodyIsReportedLineByLine) {
    // A UTF-16 header with a UTF-8 body: every body line is unreadable.
    TempProgramFolder folder;
    SqliteStore store(folder.storePath());
    const QByteArray bytes = Utf16File("Windows Registry Editor Version 5.00\r\n") +
                             QByteArray("[" + kProbe.toUtf8() + "]\r\n\"A\"=\"1\"\r\n");
    ImportReport report;
    store.importBytes(bytes, &report);
    EXPECT_TRUE(report.imported);
    ASSERT_FALSE(report.issues.isEmpty());
    EXPECT_EQ(report.issues[0].line, 2);
    EXPECT_FALSE(store.keyExists(*ParseFullKeyPath(kProbe)));
}

TEST_F(RegFileTest, AFileAsPeoplePublishThemImportsWholeAndRoundTrips) {
    const QByteArray published = ReadFileBytes(TestDataPath("published-style.reg"));
    ASSERT_FALSE(published.isEmpty());
    // As written (UTF-8), and as the registry editor saves it (UTF-16).
    for (const QByteArray& bytes : {published, Utf16File(QString::fromUtf8(published))}) {
        const ImportReport report = import(bytes);
        EXPECT_TRUE(report.imported);
        EXPECT_TRUE(report.issues.isEmpty())
            << report.issues.value(0).line << ": " << report.issues.value(0).reason.toStdString();
    }
    EXPECT_EQ(store.GetStringValue(HKLM,
                                   "SOFTWARE\\Classes\\ProbeViewer.Document\\shell\\open\\"
                                   "command",
                                   ""),
              "\"C:\\Program Files\\Probe Viewer\\probe.exe\" \"%1\"");
    EXPECT_EQ(
        store.GetStringValue(RootKey::ClassesRoot,
                             "Directory\\Background\\shellex\\ContextMenuHandlers\\ ProbeSync", ""),
        "");
    EXPECT_TRUE(store.keyExists(*ParseFullKeyPath(
        "HKCR\\Directory\\Background\\shellex\\ContextMenuHandlers\\ ProbeSync")));
    EXPECT_EQ(values("HKCU\\Software\\Probe Viewer\\Settings"),
              (QList<RegValue>{MakeStringValue("Theme", "dark"), MakeDwordValue("Zoom", 100),
                               MakeMultiStringValue("Recent", {"a.prb", "b.prb"})}));
    EXPECT_EQ(store.GetStringValue(RootKey::Users, ".DEFAULT\\Software\\Probe Viewer", "FirstRun"),
              "");
    EXPECT_EQ(store.GetStringValue(RootKey::CurrentConfig, "Software\\Probe Viewer", "Display"),
              "1024x768");

    // Each root exports under its own name and imports back unchanged.
    for (const QString root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                               "HKEY_USERS", "HKEY_CURRENT_CONFIG"}) {
        const QByteArray exported = exportKey(root);
        const QString text = DecodeExport(exported);
        EXPECT_TRUE(text.contains("\r\n[" + root + "]\r\n")) << root.toStdString();
        EXPECT_FALSE(text.contains("[HKEY_", Qt::CaseSensitive) &&
                     text.count("[HKEY_") != text.count("[" + root))
            << root.toStdString() << " exports keys under another root's name";
        const ImportReport report = import(exported);
        EXPECT_TRUE(report.issues.isEmpty()) << root.toStdString();
        EXPECT_EQ(exportKey(root), exported) << root.toStdString();
    }
    EXPECT_TRUE(DecodeExport(exportKey("HKEY_CLASSES_ROOT"))
                    .contains("[HKEY_CLASSES_ROOT\\ProbeViewer.Document\\shell\\open\\command]\r\n"
                              "@=\"\\\"C:\\\\Program Files\\\\Probe Viewer\\\\probe.exe\\\" "
                              "\\\"%1\\\"\"\r\n"));
    EXPECT_TRUE(DecodeExport(exportKey("HKLM\\SOFTWARE"))
                    .contains("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.prb]\r\n"));
}

TEST_F(RegFileTest, AnExportThatCannotBeWrittenSaysSoAndStops) {
    for (int i = 0; i < 200; ++i)
        store.SetStringValue(HKLM, QString("Software\\Many\\Key %1").arg(i), "Value",
                             QString(1000, u'v'));
    // A sink that takes 10,000 bytes and then refuses, as a full device does.
    qsizetype taken = 0;
    int calls = 0;
    RegFileWriter out([&](QByteArrayView chunk) {
        ++calls;
        if (taken + chunk.size() > 10000)
            return false;
        taken += chunk.size();
        return true;
    });
    const StoreResult r = store.exportTree(*ParseFullKeyPath("HKLM\\Software\\Many"), out);
    EXPECT_FALSE(r);
    EXPECT_TRUE(out.failed());
    EXPECT_FALSE(out.finish());
    EXPECT_EQ(calls, 1) << "nothing is written after the first refusal";

    // Through a file on a full disk: the old file stays.
    const QString disk = folder.file("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    TmpfsMount mount(disk, "256k");
    if (!mount.mounted())
        GTEST_SKIP() << mount.whyNot().toStdString();
    const QString file = disk + "/backup.reg";
    ASSERT_TRUE(store.ExportKey("HKLM\\Software\\Many\\Key 1", file));
    const QByteArray good = ReadFileBytes(file);
    const StoreResult full = store.ExportKey("HKLM\\Software\\Many", file);
    EXPECT_FALSE(full);
    EXPECT_EQ(full.message, "cannot write " + file + ": No space left on device");
    EXPECT_EQ(ReadFileBytes(file), good);
    EXPECT_EQ(QDir(disk).entryList(QDir::Files), QStringList{"backup.reg"});
}

} // namespace
