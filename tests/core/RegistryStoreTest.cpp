// The registry operations over the SQLite store: what they read, write,
// enumerate and delete, and how they behave on a damaged file.
#include "tests/support/TestEnv.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kUninstall = AppContext::UninstallKeyPath;
constexpr RootKey HKLM = RootKey::LocalMachine;

class RegistryStoreTest : public testing::Test {
protected:
    TempProgramFolder folder;
    SqliteStore store{folder.storePath()};

    KeyPath entryKey(const QString& name) {
        return *ParseFullKeyPath(AppContext::UninstallKeyFullPath + name);
    }
    QStringList subkeys(const QString& path) {
        QStringList names;
        store.EnumSubkeys(HKLM, path, names);
        return names;
    }
    QStringList valueNames(const QString& path) {
        QStringList names;
        store.EnumValueNames(HKLM, path, names);
        return names;
    }
};

TEST_F(RegistryStoreTest, OpensANewStore) {
    EXPECT_TRUE(store.openStatus().ok()) << store.openStatus().message.toStdString();
    EXPECT_TRUE(QFile::exists(folder.storePath()));
}

TEST_F(RegistryStoreTest, ReadsEachValueTypeAsTheProgramExpects) {
    const KeyPath key = entryKey("App");
    struct Case {
        RegValue value;
        QString expected;
    } cases[] = {
        {MakeStringValue("Sz", "hello"), "hello"},
        {MakeStringValue("EmptySz", ""), ""},
        {MakeDwordValue("Dword", 42), ""},
        {RegValue{"DwordOddSize", RegType::Dword, QByteArray("12345678")}, ""},
        {RegValue{"NoTerminator", RegType::Sz, Utf16Bytes("whole text", false)}, "whole text"},
        {RegValue{"EmbeddedNul", RegType::Sz, Utf16Bytes(QString("ab") + QChar(0) + "cd", true)},
         "ab"},
        {MakeStringValue("Expand", "%ProgramFiles%\\x", RegType::ExpandSz), "%ProgramFiles%\\x"},
        {MakeMultiStringValue("Multi", {"first", "second"}), "first"},
        {RegValue{"Binary", RegType::Binary, QByteArray("abc\0def", 7)}, "abc"},
        {MakeQwordValue("Qword", 0x0000000000434241ull), "ABC"},
    };
    for (const Case& c : cases)
        ASSERT_TRUE(store.setValue(key, c.value).ok());
    for (const Case& c : cases)
        EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "App", c.value.name), c.expected)
            << c.value.name.toStdString();
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "App", "Missing"), "");
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "NoSuchApp", "Sz"), "");
}

TEST_F(RegistryStoreTest, SetStringValueCreatesKeysAndNamesIgnoreCase) {
    store.SetStringValue(HKLM, kUninstall + "New\\Deep", "DisplayName", "Deep App");
    EXPECT_EQ(subkeys(kUninstall), QStringList{"New"});
    EXPECT_EQ(subkeys(kUninstall + "new"), QStringList{"Deep"});
    EXPECT_EQ(store.GetStringValue(HKLM,
                                   "software\\MICROSOFT\\windows\\CurrentVersion\\"
                                   "uninstall\\NEW\\deep",
                                   "DISPLAYNAME"),
              "Deep App");

    // Overwriting under another spelling keeps the first spelling and the place.
    store.SetStringValue(HKLM, kUninstall + "New", "A", "1");
    store.SetStringValue(HKLM, kUninstall + "New", "B", "2");
    store.SetStringValue(HKLM, kUninstall + "New", "a", "3");
    EXPECT_EQ(valueNames(kUninstall + "New"), (QStringList{"A", "B"}));
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "New", "A"), "3");

    // The stored string is REG_SZ with its terminating NUL.
    QList<RegValue> values;
    ASSERT_TRUE(store.readKey(entryKey("New"), &values, nullptr).ok());
    EXPECT_EQ(values[0], MakeStringValue("A", "3"));
}

TEST_F(RegistryStoreTest, SubkeysEnumerateByNameWithoutRegardToCase) {
    for (const QString name : {"b", "Subkey2", "A", "c", "Subkey1", "_x", "[y"})
        store.SetStringValue(HKLM, kUninstall + name, "DisplayName", name);
    // Upper-cased ordinal order: '[' (0x5B) sorts before '_' (0x5F) and after letters.
    EXPECT_EQ(subkeys(kUninstall), (QStringList{"A", "b", "c", "Subkey1", "Subkey2", "[y", "_x"}));
    EXPECT_EQ(subkeys(kUninstall + "Missing"), QStringList());
    QStringList appended{"kept"};
    store.EnumSubkeys(HKLM, kUninstall + "Missing", appended);
    EXPECT_EQ(appended, QStringList{"kept"});
}

TEST_F(RegistryStoreTest, ALongSubkeyNameEndsTheEnumerationAtItsPlace) {
    store.SetStringValue(HKLM, kUninstall + "Alpha", "x", "1");
    store.SetStringValue(HKLM, kUninstall + QString(255, u'M'), "x", "1");
    store.SetStringValue(HKLM, kUninstall + "Zulu", "x", "1");
    EXPECT_EQ(subkeys(kUninstall), QStringList{"Alpha"});
    // A name of 254 characters still fits the buffer.
    store.DeleteKey(HKLM, kUninstall + QString(255, u'M'));
    store.SetStringValue(HKLM, kUninstall + QString(254, u'M'), "x", "1");
    EXPECT_EQ(subkeys(kUninstall).size(), 3);
    // Names longer than the registry allows are never stored.
    EXPECT_FALSE(
        store.setValue(KeyPath{HKLM, {QString(256, u'N')}}, MakeStringValue("x", "1")).ok());
}

TEST_F(RegistryStoreTest, ValueNamesComeInCreationOrderWithoutEmptyData) {
    const KeyPath key = entryKey("App");
    store.setValue(key, MakeStringValue("Zeta", "1"));
    store.setValue(key, RegValue{"ZeroSize", RegType::Binary, QByteArray()});
    store.setValue(key, MakeStringValue("Alpha", ""));
    store.setValue(key, MakeDwordValue("Mid", 0));
    store.setValue(key, RegValue{"ZeroSizeSz", RegType::Sz, QByteArray()});
    // An empty string still holds its NUL, so it is listed; zero-size data is not.
    EXPECT_EQ(valueNames(kUninstall + "App"), (QStringList{"Zeta", "Alpha", "Mid"}));
    EXPECT_EQ(valueNames(kUninstall + "Missing"), QStringList());
}

TEST_F(RegistryStoreTest, DeleteKeyRemovesTheTreeAndNothingBeside) {
    for (const QString name : {"App", "App\\Sub\\Deeper", "App2", "App Extra", "App]"})
        store.SetStringValue(HKLM, kUninstall + name, "DisplayName", name);
    store.DeleteKey(HKLM, kUninstall + "app");
    EXPECT_EQ(subkeys(kUninstall), (QStringList{"App Extra", "App2", "App]"}));
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "App\\Sub\\Deeper", "DisplayName"), "");
    // Deleting again, or a missing value, changes nothing and reports nothing.
    store.DeleteKey(HKLM, kUninstall + "App");
    store.DeleteValue(HKLM, kUninstall + "App2", "Nope");
    store.DeleteValue(HKLM, kUninstall + "App2", "displayname");
    EXPECT_EQ(valueNames(kUninstall + "App2"), QStringList());
    // A root is never deleted.
    store.DeleteKey(HKLM, "");
    EXPECT_EQ(subkeys(kUninstall).size(), 3);
}

TEST_F(RegistryStoreTest, SubkeyNamesAreDataNotFilePaths) {
    for (const QString name : {"..", "a/b", "../../etc", ".", "C:"})
        store.SetStringValue(HKLM, kUninstall + name, "DisplayName", name);
    EXPECT_EQ(subkeys(kUninstall), (QStringList{".", "..", "../../etc", "a/b", "C:"}));
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "../../etc", "DisplayName"), "../../etc");
    // An empty name inside a path is no key at all.
    store.SetStringValue(HKLM, kUninstall + "x\\\\y", "DisplayName", "bad");
    EXPECT_FALSE(subkeys(kUninstall).contains("x"));
}

TEST_F(RegistryStoreTest, ReadBatchSeesOneSnapshotAndWritesStillWork) {
    store.SetStringValue(HKLM, kUninstall + "App", "DisplayName", "Before");
    SqliteStore other(folder.storePath());
    {
        auto batch = store.BeginReadBatch();
        EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "App", "DisplayName"), "Before");
        other.SetStringValue(HKLM, kUninstall + "App", "DisplayName", "After");
        EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "App", "DisplayName"), "Before");
        // A write inside a batch ends the snapshot rather than failing.
        store.SetStringValue(HKLM, kUninstall + "Other", "DisplayName", "x");
        EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "Other", "DisplayName"), "x");
    }
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "App", "DisplayName"), "After");
}

TEST_F(RegistryStoreTest, ReadSubkeyValuesGivesWhatSingleReadsGive) {
    store.SetStringValue(HKLM, kUninstall + "b", "DisplayName", "Bee");
    store.setValue(entryKey("a"), MakeDwordValue("DisplayName", 1));
    store.setValue(entryKey("a"), MakeStringValue("UninstallString", "un a"));
    store.setValue(entryKey("C"), MakeMultiStringValue("displayname", {"first", "second"}));
    store.SetStringValue(HKLM, kUninstall + "C\\Sub", "DisplayName", "not a subkey of the list");
    store.SetStringValue(HKLM, kUninstall + QString(255, u'M'), "DisplayName", "too long");
    store.SetStringValue(HKLM, kUninstall + "zz", "DisplayName", "after the long one");
    const QStringList wanted{"DisplayName", "UninstallString", "Missing"};
    const auto entries = store.ReadSubkeyValues(HKLM, kUninstall, wanted);
    QStringList names;
    store.EnumSubkeys(HKLM, kUninstall, names);
    ASSERT_EQ(entries.size(), names.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, names[i]);
        for (qsizetype v = 0; v < wanted.size(); ++v)
            EXPECT_EQ(entries[i].values[v],
                      store.GetStringValue(HKLM, kUninstall + names[i], wanted[v]));
    }
    EXPECT_EQ(names, (QStringList{"a", "b", "C"}));
    EXPECT_EQ(entries[2].values[0], "first");
    EXPECT_TRUE(store.ReadSubkeyValues(HKLM, kUninstall + "Missing", wanted).isEmpty());
}

TEST(RegistryStoreDamage, AFileThatIsNotAStoreIsNeverOverwritten) {
    TempProgramFolder folder;
    const QByteArray garbage = QByteArray("this is not a database\n").repeated(200);
    ASSERT_TRUE(WriteFileBytes(folder.storePath(), garbage));
    {
        SqliteStore store(folder.storePath());
        EXPECT_EQ(store.openStatus().status, StoreStatus::Damaged);
        EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "App", "DisplayName"), "");
        QStringList names;
        store.EnumSubkeys(HKLM, kUninstall, names);
        EXPECT_TRUE(names.isEmpty());
        store.SetStringValue(HKLM, kUninstall + "App", "DisplayName", "x");
        store.DeleteKey(HKLM, kUninstall + "App");
        EXPECT_FALSE(store.ExportKey(AppContext::UninstallKeyFullPath, folder.file("x.reg")));
        EXPECT_FALSE(store.ImportFile(TestDataPath("registry-editor-export.reg")).imported);
    }
    EXPECT_EQ(ReadFileBytes(folder.storePath()), garbage);

    // Another program's SQLite database is not taken for a store either.
    TempProgramFolder other;
    {
        SqliteStore store(other.storePath());
        store.SetStringValue(HKLM, "x", "y", "z");
    }
    QFile db(other.storePath());
    ASSERT_TRUE(db.open(QIODevice::ReadWrite));
    db.seek(68); // application id in the header
    db.write(QByteArray("\0\0\0\1", 4));
    db.close();
    SqliteStore foreign(other.storePath());
    EXPECT_EQ(foreign.openStatus().status, StoreStatus::Damaged);
}

TEST(RegistryStoreDamage, ATruncatedStoreGivesEmptyResultsWithoutCrashing) {
    TempProgramFolder folder;
    {
        SqliteStore store(folder.storePath());
        for (int i = 0; i < 300; ++i)
            store.SetStringValue(HKLM, kUninstall + QString("App%1").arg(i), "DisplayName",
                                 QString("Program number %1 with a long name").arg(i).repeated(4));
    }
    const QByteArray whole = ReadFileBytes(folder.storePath());
    ASSERT_GT(whole.size(), 8192);
    for (const qsizetype size : {qsizetype(100), whole.size() / 2, whole.size() - 1000}) {
        ASSERT_TRUE(WriteFileBytes(folder.storePath(), whole.left(size)));
        QFile::remove(folder.storePath() + "-wal");
        QFile::remove(folder.storePath() + "-shm");
        {
            SqliteStore store(folder.storePath());
            if (size == 100) {
                EXPECT_EQ(store.openStatus().status, StoreStatus::Damaged);
            }
            QStringList names;
            store.EnumSubkeys(HKLM, kUninstall, names);
            EXPECT_LE(names.size(), 300);
            for (const QString& name : names)
                store.GetStringValue(HKLM, kUninstall + name, "DisplayName");
            store.SetStringValue(HKLM, kUninstall + "Late", "DisplayName", "x");
        }
        if (size == 100) {
            EXPECT_EQ(ReadFileBytes(folder.storePath()), whole.left(size));
        }
    }
}

} // namespace
