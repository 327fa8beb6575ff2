// relvano-reg: its commands, their output, and a clear message with a
// non-zero exit status for every failure.
#include "tools/RegTool.h"
#include "core/RegFile.h"
#include "tests/support/Privileged.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sstream>
#include <sys/stat.h>

namespace {

const QString kKey = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MyApp";

class RegToolTest : public testing::Test {
protected:
    TempProgramFolder folder;

    ToolRun run(QStringList args) {
        args.prepend(folder.storePath());
        args.prepend("--store");
        std::ostringstream out;
        std::ostringstream err;
        ToolRun r;
        r.exitCode = RunRegTool(args, out, err);
        r.out = QString::fromStdString(out.str());
        r.err = QString::fromStdString(err.str());
        return r;
    }
    // Entries MyApp0, MyApp1, ... with a DisplayName of the given length.
    void fill(int entries, int length) {
        QList<RegExportKey> keys;
        for (int i = 0; i < entries; ++i)
            keys.append({ParseFullKeyPath(kKey + QString::number(i))->fullPath(),
                         {MakeStringValue("DisplayName", QString(length, u'x'))}});
        SqliteStore store(folder.storePath());
        ASSERT_TRUE(store.importBytes(FormatRegFile(keys), nullptr));
    }
};

TEST_F(RegToolTest, AddsQueriesAndDeletesEveryType) {
    const struct {
        QStringList args;
        QString shown;
    } cases[] = {
        {{"--value", "DisplayName", "--data", "My App"}, "My App"},
        {{"--value", "Path", "--type", "REG_EXPAND_SZ", "--data", "%ProgramFiles%\\x"},
         "%ProgramFiles%\\x"},
        {{"--value", "Count", "--type", "REG_DWORD", "--data", "0x2a"}, "0x2a"},
        {{"--value", "Decimal", "--type", "reg_dword", "--data", "4294967295"}, "0xffffffff"},
        {{"--value", "Big", "--type", "REG_QWORD", "--data", "0x0102030405060708"},
         "0x102030405060708"},
        {{"--value", "Blob", "--type", "REG_BINARY", "--data", "de,ad,BE,ef"}, "DEADBEEF"},
        {{"--value", "Nothing", "--type", "REG_NONE", "--data", "00,01"}, "0001"},
        {{"--value", "Nothing empty", "--type", "REG_NONE"}, ""},
        {{"--value", "Names", "--type", "REG_MULTI_SZ", "--data", "one\\0two words"},
         "one\\0two words"},
        {{"--value", "", "--data", "default data"}, "default data"},
        {{"--value", "Empty"}, ""},
    };
    for (const auto& c : cases) {
        const ToolRun add = run(QStringList{"add", kKey} + c.args);
        ASSERT_EQ(add.exitCode, 0) << add.err.toStdString();
        const ToolRun query = run({"query", kKey, c.args[1]});
        EXPECT_EQ(query.exitCode, 0) << query.err.toStdString();
        EXPECT_EQ(query.out, c.shown + "\n") << c.args[1].toStdString();
    }
    const ToolRun all = run({"query", kKey});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_TRUE(all.out.startsWith(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MyApp\n"));
    EXPECT_TRUE(all.out.contains("    Count    REG_DWORD    0x2a\n"));
    EXPECT_TRUE(all.out.contains("    (Default)    REG_SZ    default data\n"));
    EXPECT_TRUE(all.out.contains("    Nothing    REG_NONE    0001\n"));

    // The program's own layer reads what the tool wrote.
    {
        SqliteStore store(folder.storePath());
        EXPECT_EQ(store.GetStringValue(RootKey::LocalMachine,
                                       AppContext::UninstallKeyPath + "MyApp", "DisplayName"),
                  "My App");
    }
    EXPECT_EQ(run({"delete", kKey, "--value", "Count"}).exitCode, 0);
    EXPECT_EQ(run({"query", kKey, "Count"}).exitCode, 1);
    EXPECT_EQ(run({"add", kKey + "\\Sub"}).exitCode, 0);
    EXPECT_TRUE(
        run({"query", kKey})
            .out.contains(
                "\n\nHKEY_LOCAL_"
                "MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MyApp\\Sub\n"));
    EXPECT_EQ(
        run({"delete",
             "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\myapp"})
            .exitCode,
        0);
    EXPECT_EQ(run({"query", kKey}).exitCode, 1);
}

TEST_F(RegToolTest, ExportsAndImports) {
    ASSERT_EQ(run({"import", TestDataPath("registry-editor-export.reg")}).exitCode, 0);
    const QString out = folder.file("out dir with spaces.reg");
    const ToolRun exp = run({"export", "HKLM\\Software\\Sample Vendor", out});
    EXPECT_EQ(exp.exitCode, 0) << exp.err.toStdString();
    EXPECT_EQ(ReadFileBytes(out), ReadFileBytes(TestDataPath("registry-editor-export.reg")));

    // A file with bad lines: the good ones are imported, each bad one is listed.
    const QString bad = folder.file("bad.reg");
    WriteFileBytes(bad, "Windows Registry Editor Version 5.00\r\n"
                        "[HKEY_LOCAL_MACHINE\\Software\\Partly]\r\n"
                        "\"Good\"=\"yes\"\r\n"
                        "\"Bad\"=hex:1,2,345\r\n");
    const ToolRun imp = run({"import", bad});
    EXPECT_EQ(imp.exitCode, 1);
    EXPECT_TRUE(imp.err.contains("bad.reg:4: ")) << imp.err.toStdString();
    EXPECT_TRUE(imp.err.endsWith("1 line(s) could not be imported; the rest was imported\n"))
        << imp.err.toStdString();
    EXPECT_EQ(run({"query", "HKLM\\Software\\Partly", "Good"}).out, "yes\n");
}

TEST_F(RegToolTest, EveryFailureIsExplainedWithANonZeroStatus) {
    ASSERT_EQ(run({"add", kKey, "--value", "DisplayName", "--data", "x"}).exitCode, 0);
    const QString garbageStore = folder.file("garbage.db");
    WriteFileBytes(garbageStore, QByteArray(4096, 'g'));
    const struct {
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"query", kKey + "\\Missing"}, 1, "key not found"},
        {{"query", kKey, "Missing"}, 1, "value not found"},
        {{"delete", kKey + "\\Missing"}, 1, "key not found"},
        {{"delete", kKey, "--value", "Missing"}, 1, "value not found"},
        {{"query", "HKXX\\Software"}, 1, "not a key path"},
        {{"query", "HKLM\\a\\\\b"}, 1, "not a key path"},
        {{"delete", "HKLM"}, 1, "root key cannot be deleted"},
        {{"add", kKey, "--value", "V", "--type", "REG_LINK"}, 1, "unknown type"},
        {{"add", kKey, "--value", "V", "--type", "REG_LINK"}, 1, "REG_NONE"},
        {{"add", "HKLM\\Software\\" + QString(256, u'n'), "--value", "V"},
         1,
         "a key name has at most 255 characters; this one has 256"},
        {{"add", "HKCU\\Bad\\\\Name"}, 1, "a key name cannot be empty"},
        {{"query", "HKEY_LOCAL_MACHINES\\Software"}, 1, "it must begin with a root"},
        {{"delete", "HKCR"}, 1, "root key cannot be deleted"},
        {{"--timeout", "nan", "query", kKey}, 2, "--timeout: a number of seconds from 0 to 3600"},
        {{"--timeout", "inf", "query", kKey}, 2, "--timeout: a number of seconds from 0 to 3600"},
        {{"--timeout", "-1", "query", kKey}, 2, "--timeout: a number of seconds from 0 to 3600"},
        {{"add", kKey, "--value", "V", "--type", "REG_DWORD", "--data", "4294967296"},
         1,
         "not a valid REG_DWORD"},
        {{"add", kKey, "--value", "V", "--type", "REG_DWORD", "--data", "ten"},
         1,
         "not a valid REG_DWORD"},
        {{"add", kKey, "--value", "V", "--type", "REG_BINARY", "--data", "abc"},
         1,
         "not binary data"},
        {{"add", kKey, "--value", "V", "--type", "REG_BINARY", "--data", "zz"},
         1,
         "not binary data"},
        {{"import", folder.file("missing.reg")}, 1, "cannot read"},
        {{"import", garbageStore}, 1, "not a registry file"},
        {{"export", kKey + "\\Missing", folder.file("x.reg")}, 1, "key not found"},
        {{"export", kKey, folder.file("no/such/dir/x.reg")}, 1, "cannot write"},
        {{"frobnicate"}, 2, ""},
        {{"query"}, 2, ""},
    };
    for (const auto& c : cases) {
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message))
            << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    // A store that is not one, and one that does not exist.
    for (const QString& store : {garbageStore, folder.file("none.db")}) {
        std::ostringstream out, err;
        EXPECT_EQ(RunRegTool({"--store", store, "query", kKey}, out, err), 1);
        EXPECT_FALSE(err.str().empty());
    }
    EXPECT_FALSE(QFile::exists(folder.file("none.db")));
    EXPECT_EQ(ReadFileBytes(garbageStore), QByteArray(4096, 'g'));
}

TEST_F(RegToolTest, ALockedStoreFailsAfterTheTimeout) {
    ASSERT_EQ(run({"add", kKey, "--value", "DisplayName", "--data", "x"}).exitCode, 0);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(folder.storePath()).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const ToolRun r = run({"--timeout", "0.2", "add", kKey, "--value", "Other", "--data", "y"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("locked by another program")) << r.err.toStdString();
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(run({"add", kKey, "--value", "Other", "--data", "y"}).exitCode, 0);
}

TEST_F(RegToolTest, HelpDocumentsEveryCommandWithAnExample) {
    const ToolRun help = RunRelvanoReg(folder.storePath(), {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"query", "add", "delete", "export", "import", "--store"}) {
        EXPECT_TRUE(help.out.contains(command)) << command;
        EXPECT_TRUE(help.out.contains(QString("relvano-reg %1").arg(command)) ||
                    QString(command) == "--store")
            << "no example for " << command;
    }
    // The real binary reports failures the same way.
    const ToolRun missing = RunRelvanoReg(folder.storePath(), {"query", "HKLM\\Nope"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith("relvano-reg: "));
}

TEST_F(RegToolTest, EveryRootIsTakenByEveryCommand) {
    const struct {
        QString key;
        QString stored; // where the store keeps it
    } cases[] = {
        {"HKCR\\.probe", "HKLM\\SOFTWARE\\Classes\\.probe"},
        {"HKEY_CLASSES_ROOT\\Probe.File\\shell\\open\\command",
         "HKLM\\SOFTWARE\\Classes\\Probe.File\\shell\\open\\command"},
        {"HKCC\\Software\\Probe",
         "HKLM\\SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Probe"},
        {"HKEY_USERS\\.DEFAULT\\Software\\Probe", "HKU\\.DEFAULT\\Software\\Probe"},
    };
    for (const auto& c : cases) {
        const std::string what = c.key.toStdString();
        ASSERT_EQ(run({"add", c.key, "--value", "", "--data", "probe"}).exitCode, 0) << what;
        EXPECT_EQ(run({"query", c.key, ""}).out, "probe\n") << what;
        EXPECT_EQ(run({"query", c.stored, ""}).out, "probe\n") << what;
        const QString file = folder.file("root.reg");
        ASSERT_EQ(run({"export", c.key, file}).exitCode, 0) << what;
        const QString text = TextFromUtf16Bytes(ReadFileBytes(file).mid(2));
        EXPECT_TRUE(text.contains("[" + ParseFullKeyPath(c.key)->fullPath() + "]\r\n@=\"probe\""))
            << what << text.toStdString();
        ASSERT_EQ(run({"delete", c.key}).exitCode, 0) << what;
        EXPECT_EQ(run({"query", c.stored}).exitCode, 1) << what;
        ASSERT_EQ(run({"import", file}).exitCode, 0) << what;
        EXPECT_EQ(run({"query", c.stored, ""}).out, "probe\n") << what;
    }
    // A whole root exports under its own name.
    const QString file = folder.file("classes.reg");
    const ToolRun exp = run({"export", "HKEY_CLASSES_ROOT", file});
    ASSERT_EQ(exp.exitCode, 0) << exp.err.toStdString();
    const QString text = TextFromUtf16Bytes(ReadFileBytes(file).mid(2));
    EXPECT_TRUE(
        text.startsWith("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT]\r\n"
                        "\r\n[HKEY_CLASSES_ROOT\\.probe]\r\n"))
        << text.toStdString();
    EXPECT_EQ(run({"query", "HKU"}).out, "HKEY_USERS\n\nHKEY_USERS\\.DEFAULT\n");
}

TEST_F(RegToolTest, AnExportOnAFullDiskFailsAndKeepsTheOldFile) {
    fill(300, 500);
    const QString disk = folder.file("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    TmpfsMount mount(disk, "256k");
    if (!mount.mounted())
        GTEST_SKIP() << mount.whyNot().toStdString();
    const QString file = disk + "/export.reg";
    ASSERT_EQ(RunRelvanoReg(folder.storePath(), {"export", kKey + "1", file}).exitCode, 0);
    const QByteArray good = ReadFileBytes(file);
    const ToolRun full = RunRelvanoReg(
        folder.storePath(), {"export", "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", file});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "relvano-reg: cannot write " + file + ": No space left on device\n");
    EXPECT_EQ(ReadFileBytes(file), good);
    EXPECT_EQ(QDir(disk).entryList(QDir::Files), QStringList{"export.reg"});
}

TEST_F(RegToolTest, AnImportThatDoesNotFitChangesNothing) {
    const QString disk = folder.file("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    TmpfsMount mount(disk, "512k");
    if (!mount.mounted())
        GTEST_SKIP() << mount.whyNot().toStdString();
    const QString store = disk + "/Registry.db";
    ASSERT_EQ(
        RunRelvanoReg(store, {"add", kKey, "--value", "DisplayName", "--data", "Before"}).exitCode,
        0);
    QList<RegExportKey> keys;
    for (int i = 0; i < 2000; ++i)
        keys.append({ParseFullKeyPath(kKey + QString::number(i))->fullPath(),
                     {MakeStringValue("DisplayName", QString(500, u'x'))}});
    const QString file = folder.file("big.reg");
    ASSERT_TRUE(WriteFileBytes(file, FormatRegFile(keys)));
    const ToolRun imp = RunRelvanoReg(store, {"import", file});
    EXPECT_EQ(imp.exitCode, 1);
    EXPECT_TRUE(imp.err.contains("nothing was imported")) << imp.err.toStdString();
    EXPECT_EQ(RunRelvanoReg(store, {"query", kKey, "DisplayName"}).out, "Before\n");
    EXPECT_EQ(RunRelvanoReg(store, {"query", kKey + "0"}).exitCode, 1);
}

TEST_F(RegToolTest, ExportsToDevicesWithoutReplacingThem) {
    ASSERT_EQ(run({"add", kKey, "--value", "DisplayName", "--data", "My App"}).exitCode, 0);
    const QString expected = folder.file("expected.reg");
    ASSERT_EQ(run({"export", kKey, expected}).exitCode, 0);

    const ToolRun toStdout = RunRelvanoReg(folder.storePath(), {"export", kKey, "/dev/stdout"});
    EXPECT_EQ(toStdout.exitCode, 0) << toStdout.err.toStdString();
    EXPECT_EQ(toStdout.outBytes, ReadFileBytes(expected));
    EXPECT_EQ(RunRelvanoReg(folder.storePath(), {"export", kKey, "/dev/null"}).exitCode, 0);
    const ToolRun full = RunRelvanoReg(folder.storePath(), {"export", kKey, "/dev/full"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "relvano-reg: cannot write /dev/full: No space left on device\n");

    const QString null = folder.file("null");
    const QString why = MakeCharacterDevice(null, 1, 3);
    if (!why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    EXPECT_EQ(RunRelvanoReg(folder.storePath(), {"export", kKey, null}).exitCode, 0);
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(null).constData(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device became a plain file";
}

TEST_F(RegToolTest, AStoreThatCannotBeReadIsReported) {
    fill(300, 200);
    QByteArray bytes = ReadFileBytes(folder.storePath());
    const int pageSize =
        (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
    bytes.replace(pageSize, bytes.size() - pageSize, QByteArray(bytes.size() - pageSize, '\x5A'));
    ASSERT_TRUE(WriteFileBytes(folder.storePath(), bytes));
    for (const QStringList& args :
         {QStringList{"query", kKey + "7"}, QStringList{"query", kKey + "7", "DisplayName"},
          QStringList{"export", kKey + "7", folder.file("x.reg")}}) {
        const ToolRun r = run(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("cannot read the store")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("not found")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(folder.file("x.reg")));
}

TEST_F(RegToolTest, AReadOnlyStoreIsQueriedAndItsWritesSayWhy) {
    ASSERT_EQ(run({"add", kKey, "--value", "DisplayName", "--data", "My App"}).exitCode, 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    AsOrdinaryUser user;
    if (!user.active())
        GTEST_SKIP() << user.whyNot().toStdString();
    EXPECT_EQ(run({"query", kKey, "DisplayName"}).out, "My App\n");
    const ToolRun write = run({"add", kKey, "--value", "Other", "--data", "x"});
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_TRUE(write.err.contains(folder.path())) << write.err.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"Registry.db"});
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
}

} // namespace
