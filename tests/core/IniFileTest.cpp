// INI files read and written with the private-profile rules.
#include "core/IniFile.h"
#include "tests/support/Privileged.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class IniFileTest : public testing::Test {
protected:
    TempProgramFolder folder;
    QString ini = folder.file("Config.Ini");
};

TEST_F(IniFileTest, ReadsWithThePrivateProfileRules) {
    ASSERT_TRUE(WriteFileBytes(ini, "top=before any section\r\n"
                                    "[ Main ]  trailing text\n"
                                    "  Ul = 2  \r\n"
                                    "Empty=\r"
                                    "NoEquals\r\n"
                                    "Quoted=\"quoted value\"\r\n"
                                    "Single='x'\r\n"
                                    "Lone=\"\r\n"
                                    "Inline=v ;not a comment\r\n"
                                    "dup=first\r\n"
                                    "DUP=second\r\n"
                                    ";Comment=no\r\n"
                                    "#Hash=yes\r\n"
                                    "[main]\r\n"
                                    "Other=in the second Main section\r\n"
                                    "[Third]\r\n"
                                    "[Broken\r\n"
                                    "Key=x\r\n"));
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"Main", "Ul", "2"},
        {"MAIN", "ul", "2"},
        {" Main ", " Ul ", "2"},
        {"Main", "Empty", ""},
        {"Main", "NoEquals", "default"},
        {"Main", "Quoted", "quoted value"},
        {"Main", "Single", "x"},
        {"Main", "Lone", "\""},
        {"Main", "Inline", "v ;not a comment"},
        {"Main", "Dup", "first"},
        {"Main", ";Comment", "default"},
        {"Main", "#Hash", "yes"},
        {"Main", "Other", "default"},    // only the first [Main] is searched
        {"Third", "[Broken", "default"}, // no "]": an entry line without "="
        {"Third", "Key", "x"},
        {"", "top", "before any section"},
        {"Missing", "Ul", "default"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadIni(ini, c.section, c.key, "default"), c.expected)
            << c.section << "/" << c.key;
    EXPECT_EQ(ReadIni(folder.file("none.ini"), "Main", "Ul", "def  "), "def");
}

TEST_F(IniFileTest, ReadsAtMost254Characters) {
    const QString longValue = QString(300, u'a') + "z";
    WriteIni(ini, "Main", "Long", longValue);
    EXPECT_EQ(ReadIni(ini, "Main", "Long", ""), QString(254, u'a'));
    EXPECT_EQ(ReadIni(ini, "Main", "Missing", QString(300, u'b')), QString(254, u'b'));
    EXPECT_EQ(IniDocument::load(ini)->value("Main", "Long"), longValue);
}

TEST_F(IniFileTest, WritesBuildAFileWithCrLf) {
    WriteIni(ini, "App1", "key1", "string1");
    WriteIni(ini, "App1", "key2", "string2");
    WriteIni(ini, "App2", "key4", "string4");
    WriteIni(ini, "App1", "key3", "string3");
    WriteIni(ini, "Main", "Ul", " 2");
    EXPECT_EQ(ReadFileBytes(ini), QByteArray("[App1]\r\nkey1=string1\r\nkey2=string2\r\n"
                                             "key3=string3\r\n[App2]\r\nkey4=string4\r\n"
                                             "[Main]\r\nUl= 2\r\n"));
    EXPECT_EQ(ReadIni(ini, "Main", "Ul", ""), "2");
}

TEST_F(IniFileTest, WritesInPlaceAndKeepEveryOtherLine) {
    const QByteArray original = "; settings of the program\r\n"
                                "[Main]\r\n"
                                "Ul = 1\r\n"
                                "  Weird spacing  =  kept \r\n"
                                "\r\n"
                                "[Other]\n"
                                "x=1\n"
                                "\xff\xfe binary \x01 junk\n"
                                "[Tail]\r\n"
                                "last=1";
    ASSERT_TRUE(WriteFileBytes(ini, original));
    WriteIni(ini, "main", "UL", "2");   // replaced in place
    WriteIni(ini, "Main", "Fv", "1");   // new key after the last entry, before the blank line
    WriteIni(ini, "Tail", "more", "2"); // the unterminated last line gets its line end
    WriteIni(ini, "New", "k", "v");
    WriteIni(ini, "Main", "Break", "a\r\nb"); // a line break would split the entry
    EXPECT_EQ(ReadFileBytes(ini), QByteArray("; settings of the program\r\n"
                                             "[Main]\r\n"
                                             "UL=2\r\n"
                                             "  Weird spacing  =  kept \r\n"
                                             "Fv=1\r\n"
                                             "Break=a  b\r\n"
                                             "\r\n"
                                             "[Other]\n"
                                             "x=1\n"
                                             "\xff\xfe binary \x01 junk\n"
                                             "[Tail]\r\n"
                                             "last=1\r\n"
                                             "more=2\r\n"
                                             "[New]\r\n"
                                             "k=v\r\n"));
    DeleteIniKey(ini, "Main", "Fv");
    DeleteIniSection(ini, "Other");
    EXPECT_EQ(ReadIni(ini, "Main", "Fv", "gone"), "gone");
    EXPECT_EQ(ReadIni(ini, "Other", "x", "gone"), "gone");
    EXPECT_EQ(ReadIni(ini, "Tail", "more", ""), "2");
    EXPECT_FALSE(ReadFileBytes(ini).contains("binary"));
}

TEST_F(IniFileTest, GarbageAndHugeLinesNeitherCrashNorGetLost) {
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.append(static_cast<char>((i * 7919) % 256));
    garbage += "\n[Main]\nUl=2\n" + QByteArray(1 << 20, 'x') + "\n";
    ASSERT_TRUE(WriteFileBytes(ini, garbage));
    EXPECT_EQ(ReadIni(ini, "Main", "Ul", ""), "2");
    WriteIni(ini, "Main", "Ord", "1");
    const QByteArray after = ReadFileBytes(ini);
    EXPECT_TRUE(after.startsWith(garbage.left(garbage.size() - 1)));
    EXPECT_EQ(ReadIni(ini, "Main", "Ord", ""), "1");
}

TEST_F(IniFileTest, AFailedWriteChangesNothingAndSaysWhy) {
    const WriteResult missing = WriteIni(folder.file("no/such/folder/x.ini"), "S", "k", "v");
    EXPECT_TRUE(missing.error.startsWith("cannot write " + folder.file("no/such/folder/x.ini")))
        << missing.error.toStdString();
    EXPECT_FALSE(QFile::exists(folder.file("no/such/folder/x.ini")));

    EXPECT_TRUE(WriteIni(ini, "Main", "Ul", "1"));
    const QStringList before = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(before, QStringList{"Config.Ini"});

    // A read-only file, for the ordinary user root acts as.
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0777), 0);
    ASSERT_TRUE(QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadOther));
    AsOrdinaryUser user;
    if (!user.active())
        GTEST_SKIP() << user.whyNot().toStdString();
    const WriteResult denied = WriteIni(ini, "Main", "Ul", "2");
    EXPECT_EQ(denied.error, "cannot write " + ini + ": Permission denied");
    EXPECT_EQ(ReadIni(ini, "Main", "Ul", ""), "1");
}

TEST_F(IniFileTest, AFullDiskKeepsTheWholeOldFile) {
    const QString disk = folder.file("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    TmpfsMount mount(disk, "64k");
    if (!mount.mounted())
        GTEST_SKIP() << mount.whyNot().toStdString();
    const QString file = disk + "/Unlog.Ini";
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(WriteIni(file, QString("Prog%1").arg(i), "Name", QString(100, u'n')));
    const QByteArray good = ReadFileBytes(file);
    // The next record no longer fits beside the temporary copy.
    WriteResult r;
    for (int i = 200; i < 400 && r; ++i)
        r = WriteIni(file, QString("Prog%1").arg(i), "Name", QString(100, u'n'));
    EXPECT_EQ(r.error, "cannot write " + file + ": No space left on device");
    EXPECT_TRUE(ReadFileBytes(file).startsWith(good));
    EXPECT_TRUE(ReadFileBytes(file).endsWith("\r\n")) << "the file is whole";
    EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden), QStringList{"Unlog.Ini"});
}

} // namespace
