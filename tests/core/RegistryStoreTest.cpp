// The registry operations over the SQLite store: what they read, write,
// enumerate and delete, and how they behave on a damaged file.
#include "tests/support/Privileged.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(RegistryStoreTest, KeyNamesUpTo255CharactersAreWrittenAndListed) {
    store.SetStringValue(HKLM, kUninstall + "Alpha", "x", "1");
    store.SetStringValue(HKLM, kUninstall + QString(255, u'M'), "x", "1");
    store.SetStringValue(HKLM, kUninstall + "Zulu", "x", "1");
    // What the store takes, every enumeration gives back.
    EXPECT_EQ(subkeys(kUninstall), (QStringList{"Alpha", QString(255, u'M'), "Zulu"}));
    EXPECT_EQ(store.ReadSubkeyValues(HKLM, kUninstall, {"x"}).size(), 3);
    // Longer names are refused, with the reason.
    const StoreResult refused =
        store.setValue(KeyPath{HKLM, {"Software", QString(256, u'N')}}, MakeStringValue("x", "1"));
    EXPECT_EQ(refused.status, StoreStatus::Invalid);
    EXPECT_TRUE(refused.message.contains("at most 255 characters"))
        << refused.message.toStdString();
    EXPECT_TRUE(store.SetStringValue(HKLM, kUninstall + QString(256, u'N'), "x", "1")
                    .message.contains("at most 255 characters; this one has 256"));
    EXPECT_EQ(subkeys(kUninstall).size(), 3);
}

TEST(RegistryStoreLongNames, ANameTooLongToGiveIsSkippedNotAnEnd) {
    // A store written by something else may hold a longer name; the entries
    // after it are still listed.
    TempProgramFolder folder;
    {
        SqliteStore store(folder.storePath());
        store.SetStringValue(HKLM, kUninstall + "Alpha", "DisplayName", "A");
        store.SetStringValue(HKLM, kUninstall + "Zulu", "DisplayName", "Z");
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(folder.storePath()).constData(), &db), SQLITE_OK);
    const QString longName(300, u'M');
    const QByteArray insert =
        QString("INSERT INTO key(parent, name, fold, path) SELECT id, '%1', '%1', path || '\\%1' "
                "FROM key WHERE path = '%2'")
            .arg(longName, FoldName("HKEY_LOCAL_MACHINE\\" + kUninstall.chopped(1)))
            .toUtf8();
    ASSERT_EQ(sqlite3_exec(db, insert.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    SqliteStore store(folder.storePath());
    QStringList names;
    store.EnumSubkeys(HKLM, kUninstall, names);
    EXPECT_EQ(names, (QStringList{"Alpha", "Zulu"}));
    const auto entries = store.ReadSubkeyValues(HKLM, kUninstall, {"DisplayName"});
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[1].values[0], "Z");
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
    EXPECT_EQ(names, (QStringList{"a", "b", "C", QString(255, u'M'), "zz"}));
    EXPECT_EQ(entries[2].values[0], "first");
    EXPECT_EQ(entries[4].values[0], "after the long one");
    EXPECT_TRUE(store.ReadSubkeyValues(HKLM, kUninstall + "Missing", wanted).isEmpty());
}

TEST_F(RegistryStoreTest, EveryRootHoldsKeysAndTheAliasesLiveWhereWindowsKeepsThem) {
    // A fresh store has every root, empty.
    for (const RootKey root : {RootKey::Users, RootKey::ClassesRoot, RootKey::CurrentConfig}) {
        EXPECT_TRUE(store.keyExists(KeyPath{root, {}}));
        QStringList names;
        EXPECT_TRUE(store.readKey(KeyPath{root, {}}, nullptr, &names));
        EXPECT_TRUE(names.isEmpty());
    }
    ASSERT_TRUE(store.setValue(KeyPath{RootKey::ClassesRoot, {".probe"}},
                               MakeStringValue("", "probefile")));
    ASSERT_TRUE(store.SetStringValue(RootKey::CurrentConfig, "Software\\Fonts", "LogPixels", "96"));
    ASSERT_TRUE(store.SetStringValue(RootKey::Users, ".DEFAULT\\Software", "x", "1"));

    EXPECT_EQ(store.GetStringValue(HKLM, "SOFTWARE\\Classes\\.probe", ""), "probefile");
    EXPECT_EQ(store.GetStringValue(RootKey::ClassesRoot, ".PROBE", ""), "probefile");
    EXPECT_EQ(store.GetStringValue(HKLM,
                                   "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\"
                                   "Software\\Fonts",
                                   "LogPixels"),
              "96");
    QStringList names;
    store.EnumSubkeys(RootKey::ClassesRoot, "", names);
    EXPECT_EQ(names, QStringList{".probe"});
    names.clear();
    store.EnumSubkeys(RootKey::Users, "", names);
    EXPECT_EQ(names, QStringList{".DEFAULT"});
    // HKEY_USERS is a root of its own, beside the two others.
    EXPECT_EQ(subkeys(""), (QStringList{"SOFTWARE", "SYSTEM"}));
    names.clear();
    store.EnumSubkeys(RootKey::CurrentUser, "", names);
    EXPECT_TRUE(names.isEmpty());

    EXPECT_EQ(store.deleteKey(KeyPath{RootKey::ClassesRoot, {}}).status, StoreStatus::Invalid);
    EXPECT_TRUE(store.DeleteKey(RootKey::ClassesRoot, ".probe"));
    EXPECT_EQ(subkeys("SOFTWARE\\Classes"), QStringList());
    EXPECT_TRUE(store.keyExists(KeyPath{RootKey::ClassesRoot, {}}));
}

TEST_F(RegistryStoreTest, NamesThatWouldMergeAreRefused) {
    // Unpaired surrogates would all become one replacement character.
    const QString a = QString("A") + QChar(0xD800);
    const QString b = QString("A") + QChar(0xD801);
    ASSERT_TRUE(store.SetStringValue(HKLM, kUninstall + "App", "Kept", "1"));
    EXPECT_EQ(store.SetStringValue(HKLM, kUninstall + a, "x", "1").status, StoreStatus::Invalid);
    EXPECT_EQ(store.SetStringValue(HKLM, kUninstall + "App", b, "1").status, StoreStatus::Invalid);
    EXPECT_EQ(
        store.SetStringValue(HKLM, kUninstall + "App", QString("a") + QChar(0) + "b", "1").status,
        StoreStatus::Invalid);
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + a, "x"), "");
    EXPECT_EQ(subkeys(kUninstall), QStringList{"App"});
    EXPECT_EQ(valueNames(kUninstall + "App"), QStringList{"Kept"});
    // Paired surrogates are ordinary characters.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_TRUE(store.SetStringValue(HKLM, kUninstall + emoji, emoji, "smile"));
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + emoji, emoji), "smile");
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

TEST(RegistryStoreDamage, AReadThatFailsIsToldFromAMissingValue) {
    TempProgramFolder folder;
    {
        SqliteStore store(folder.storePath());
        for (int i = 0; i < 300; ++i)
            store.SetStringValue(HKLM, kUninstall + QString("App%1").arg(i), "DisplayName",
                                 QString("Program number %1 with a long name").arg(i).repeated(4));
    }
    // Every page but the first (header and schema) overwritten.
    QByteArray bytes = ReadFileBytes(folder.storePath());
    const int pageSize =
        (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
    ASSERT_GT(bytes.size(), 4 * pageSize);
    bytes.replace(pageSize, bytes.size() - pageSize, QByteArray(bytes.size() - pageSize, '\xA5'));
    ASSERT_TRUE(WriteFileBytes(folder.storePath(), bytes));

    SqliteStore store(folder.storePath());
    EXPECT_EQ(store.ReadStringValue(HKLM, kUninstall + "App7", "DisplayName").status,
              ReadStatus::Failed);
    StoreResult result;
    EXPECT_TRUE(store.ReadSubkeyValues(HKLM, kUninstall, {"DisplayName"}, &result).isEmpty());
    EXPECT_EQ(result.status, StoreStatus::Damaged);
    EXPECT_TRUE(result.message.contains("cannot read the store")) << result.message.toStdString();
    EXPECT_EQ(
        store.readKey(*ParseFullKeyPath(AppContext::UninstallKeyFullPath), nullptr, nullptr).status,
        StoreStatus::Damaged);
    // A key that is simply not there is no failure.
    TempProgramFolder other;
    SqliteStore healthy(other.storePath());
    EXPECT_EQ(healthy.ReadStringValue(HKLM, kUninstall + "App7", "DisplayName").status,
              ReadStatus::Missing);
    EXPECT_TRUE(healthy.ReadSubkeyValues(HKLM, kUninstall + "Missing", {"x"}, &result).isEmpty());
    EXPECT_TRUE(result.ok());
}

// Reads work wherever the file is readable; a write that cannot happen says
// why, naming the file or the folder.
class RegistryStoreReadOnly : public testing::Test {
protected:
    TempProgramFolder folder;
    void SetUp() override {
        SqliteStore store(folder.storePath());
        ASSERT_TRUE(store.SetStringValue(HKLM, kUninstall + "App", "DisplayName", "App"));
    }
    // So that the folder can be removed by a user who is not root.
    void TearDown() override { ::chmod(QFile::encodeName(folder.path()).constData(), 0755); }
    // The folder open to everyone, the store file given to the ordinary user.
    void shareWithOrdinaryUser(QFile::Permissions filePermissions) {
        ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0777), 0);
        ASSERT_EQ(::chown(QFile::encodeName(folder.storePath()).constData(),
                          AsOrdinaryUser::userId(), AsOrdinaryUser::groupId()),
                  0);
        ASSERT_TRUE(QFile::setPermissions(folder.storePath(), filePermissions));
    }
    void expectReads(SqliteStore& store) {
        EXPECT_TRUE(store.openStatus().ok()) << store.openStatus().message.toStdString();
        EXPECT_EQ(store.ReadStringValue(HKLM, kUninstall + "App", "DisplayName").text, "App");
        EXPECT_EQ(store.ReadSubkeyValues(HKLM, kUninstall, {"DisplayName"}).size(), 1);
    }
};

TEST_F(RegistryStoreReadOnly, AReadOnlyFileIsReadWithoutLeavingFilesThatBlockWriters) {
    shareWithOrdinaryUser(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    AsOrdinaryUser user;
    if (!user.active())
        GTEST_SKIP() << user.whyNot().toStdString();
    {
        SqliteStore store(folder.storePath());
        expectReads(store);
        const StoreResult write = store.SetStringValue(HKLM, kUninstall + "App", "X", "1");
        EXPECT_FALSE(write);
        EXPECT_TRUE(write.message.contains("cannot write " + folder.storePath()))
            << write.message.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"Registry.db"});
    // Made writable again, the store takes writes at once.
    ASSERT_TRUE(QFile::setPermissions(folder.storePath(), QFile::ReadOwner | QFile::WriteOwner));
    SqliteStore store(folder.storePath());
    EXPECT_TRUE(store.SetStringValue(HKLM, kUninstall + "App", "X", "1"));
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "App", "X"), "1");
}

TEST_F(RegistryStoreReadOnly, AStoreInAReadOnlyFolderIsRead) {
    shareWithOrdinaryUser(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    AsOrdinaryUser user;
    if (!user.active())
        GTEST_SKIP() << user.whyNot().toStdString();
    SqliteStore store(folder.storePath());
    expectReads(store);
    const StoreResult write = store.SetStringValue(HKLM, kUninstall + "App", "X", "1");
    EXPECT_FALSE(write);
    EXPECT_TRUE(write.message.contains("cannot create files in " + folder.path()))
        << write.message.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"Registry.db"});
    // A store that does not exist cannot be made there, and says so.
    SqliteStore missing(folder.file("Other.db"));
    EXPECT_TRUE(missing.openStatus().message.contains(folder.path()))
        << missing.openStatus().message.toStdString();
}

TEST_F(RegistryStoreReadOnly, AReaderSeesWhatTheOwnerWrites) {
    // The folder and the file belong to root; the ordinary user only reads,
    // without companions of its own, and still sees root's later changes.
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to act as two users";
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0755), 0);
    std::unique_ptr<SqliteStore> reader;
    {
        AsOrdinaryUser user;
        ASSERT_TRUE(user.active()) << user.whyNot().toStdString();
        reader = std::make_unique<SqliteStore>(folder.storePath());
        expectReads(*reader);
    }
    {
        SqliteStore owner(folder.storePath());
        ASSERT_TRUE(owner.SetStringValue(HKLM, kUninstall + "App", "DisplayName", "Changed"));
        ASSERT_TRUE(owner.DeleteValue(HKLM, kUninstall + "App", "DisplayName"));
        ASSERT_TRUE(owner.SetStringValue(HKLM, kUninstall + "App", "DisplayName", "Changed"));
    }
    AsOrdinaryUser user;
    EXPECT_EQ(reader->GetStringValue(HKLM, kUninstall + "App", "DisplayName"), "Changed");
    reader.reset();
}

TEST_F(RegistryStoreReadOnly, AStoreOnAReadOnlyFileSystemIsRead) {
    const QString disk = folder.file("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    TmpfsMount mount(disk, "1m");
    if (!mount.mounted())
        GTEST_SKIP() << mount.whyNot().toStdString();
    const QString file = disk + "/Registry.db";
    ASSERT_TRUE(QFile::copy(folder.storePath(), file));
    ASSERT_TRUE(mount.remountReadOnly());
    SqliteStore store(file);
    EXPECT_TRUE(store.openStatus().ok()) << store.openStatus().message.toStdString();
    EXPECT_EQ(store.GetStringValue(HKLM, kUninstall + "App", "DisplayName"), "App");
    const StoreResult write = store.DeleteKey(HKLM, kUninstall + "App");
    EXPECT_TRUE(write.message.contains(disk)) << write.message.toStdString();
    EXPECT_TRUE(write.message.contains("Read-only file system")) << write.message.toStdString();
}

} // namespace
