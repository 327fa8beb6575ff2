// Files written whole or not at all: a full disk, a read-only file system, a
// missing folder and device nodes.
#include "core/WholeFile.h"
#include "tests/support/Privileged.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

bool IsCharacterDevice(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Writes in chunks through the streaming writer.
WriteResult WriteInChunks(const QString& path, const QByteArray& bytes, qsizetype chunk) {
    WholeFileWriter out(path);
    bool ok = out.open();
    for (qsizetype at = 0; ok && at < bytes.size(); at += chunk)
        ok = out.write(QByteArrayView(bytes).sliced(at, std::min(chunk, bytes.size() - at)));
    if (ok && out.commit())
        return {};
    return {out.error()};
}

TEST(WholeFile, WritesAndReplacesAFile) {
    TempProgramFolder folder;
    const QString file = folder.file("a.txt");
    EXPECT_TRUE(WriteWholeFile(file, "first"));
    EXPECT_TRUE(WriteInChunks(file, "second, longer", 3));
    EXPECT_EQ(ReadFileBytes(file), QByteArray("second, longer"));
    EXPECT_TRUE(WriteWholeFile(file, ""));
    EXPECT_EQ(ReadFileBytes(file), QByteArray());
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"a.txt"});

    // Dropped without commit: the old file stays, nothing is left beside it.
    {
        WholeFileWriter out(file);
        ASSERT_TRUE(out.open());
        ASSERT_TRUE(out.write("never"));
    }
    EXPECT_EQ(ReadFileBytes(file), QByteArray());
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"a.txt"});

    // A link to a file stays a link; the file it names is replaced.
    ASSERT_TRUE(QFile::link(file, folder.file("link.txt")));
    EXPECT_TRUE(WriteWholeFile(folder.file("link.txt"), "through the link"));
    EXPECT_TRUE(QFileInfo(folder.file("link.txt")).isSymLink());
    EXPECT_EQ(ReadFileBytes(file), QByteArray("through the link"));
}

TEST(WholeFile, SaysWhyItCannotWrite) {
    TempProgramFolder folder;
    const QString missing = folder.file("no/such/folder/x.txt");
    WriteResult r = WriteWholeFile(missing, "x");
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.error.startsWith("cannot write " + missing + ": ")) << r.error.toStdString();
    EXPECT_TRUE(r.error.contains("does not exist")) << r.error.toStdString();

    QDir(folder.path()).mkdir("sub");
    r = WriteWholeFile(folder.file("sub"), "x");
    EXPECT_EQ(r.error, "cannot write " + folder.file("sub") + ": it is a folder");
}

TEST(WholeFile, AFullDiskKeepsTheOldFile) {
    TempProgramFolder folder;
    const QString disk = folder.file("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    TmpfsMount mount(disk, "256k");
    if (!mount.mounted())
        GTEST_SKIP() << mount.whyNot().toStdString();
    const QString file = disk + "/export.reg";
    const QByteArray good = QByteArray("the good old file\n").repeated(100);
    ASSERT_TRUE(WriteWholeFile(file, good));
    const QByteArray tooBig(400 * 1024, 'x');
    for (const qsizetype chunk : {tooBig.size(), qsizetype(4096)}) {
        const WriteResult r = WriteInChunks(file, tooBig, chunk);
        EXPECT_EQ(r.error, "cannot write " + file + ": No space left on device");
        EXPECT_EQ(ReadFileBytes(file), good);
        EXPECT_EQ(FilesIn(disk), QStringList{"export.reg"}) << "no temporary file is left";
    }
    // Once the disk has room again, the same write succeeds.
    EXPECT_TRUE(WriteWholeFile(file, QByteArray(100 * 1024, 'y')));

    ASSERT_TRUE(mount.remountReadOnly());
    const WriteResult r = WriteWholeFile(file, "z");
    EXPECT_TRUE(r.error.startsWith("cannot write " + file + ": ")) << r.error.toStdString();
    EXPECT_TRUE(r.error.contains("Read-only file system")) << r.error.toStdString();
    EXPECT_EQ(ReadFileBytes(file), QByteArray(100 * 1024, 'y'));
}

TEST(WholeFile, DevicesAreWrittenInPlaceAndNeverReplaced) {
    EXPECT_TRUE(WriteWholeFile("/dev/null", QByteArray(100000, 'x')));
    EXPECT_TRUE(IsCharacterDevice("/dev/null"));
    WriteResult r = WriteWholeFile("/dev/full", "x");
    EXPECT_EQ(r.error, "cannot write /dev/full: No space left on device");
    EXPECT_TRUE(WriteInChunks("/dev/full", QByteArray(100000, 'x'), 4096)
                    .error.contains("No space left on device"));
    EXPECT_TRUE(IsCharacterDevice("/dev/full"));

    // Copies of both, where a rename would otherwise replace them.
    TempProgramFolder folder;
    const QString null = folder.file("null");
    const QString full = folder.file("full");
    const QString why = MakeCharacterDevice(null, 1, 3);
    if (!why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    ASSERT_EQ(MakeCharacterDevice(full, 1, 7), QString());
    EXPECT_TRUE(WriteWholeFile(null, "into the void"));
    r = WriteWholeFile(full, "x");
    EXPECT_EQ(r.error, "cannot write " + full + ": No space left on device");
    EXPECT_TRUE(IsCharacterDevice(null));
    EXPECT_TRUE(IsCharacterDevice(full));
    EXPECT_EQ((QStringList{"full", "null"}),
              QDir(folder.path()).entryList(QDir::System | QDir::Files));
}

} // namespace
