// Finding the help: help.chm in the program folder, else the HTML pages beside
// the executable or in the installed documentation folder.
#include "core/HelpFiles.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class HelpFilesTest : public ::testing::Test {
protected:
    // An installed layout: <root>/usr/bin, <root>/usr/share/doc/relvano/html.
    TempProgramFolder root;
    TempProgramFolder programFolder;
    QString bin = root.file("usr/bin");
    QString installedIndex = root.file("usr/share/doc/relvano/html/index.html");
    QString buildIndex = root.file("usr/bin/help/index.html");

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(bin)); }
    static void make(const QString& file) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        ASSERT_TRUE(WriteFileBytes(file, "<html></html>"));
    }
};

TEST_F(HelpFilesTest, NothingFoundWithoutAnyHelp) {
    const HelpLocation help = FindHelp(programFolder.path(), bin);
    EXPECT_EQ(help.kind, HelpLocation::Kind::None);
    EXPECT_TRUE(help.path.isEmpty());
    EXPECT_EQ(FindHelp(QString(), QString()).kind, HelpLocation::Kind::None);
}

TEST_F(HelpFilesTest, TheChmFileInTheProgramFolderComesFirst) {
    make(buildIndex);
    make(installedIndex);
    make(programFolder.file("help.chm"));
    const HelpLocation help = FindHelp(programFolder.path(), bin);
    EXPECT_EQ(help.kind, HelpLocation::Kind::Chm);
    EXPECT_EQ(help.path, programFolder.file("help.chm"));
}

TEST_F(HelpFilesTest, HtmlBesideTheExecutableBeforeTheInstalledPages) {
    make(installedIndex);
    HelpLocation help = FindHelp(programFolder.path(), bin);
    EXPECT_EQ(help.kind, HelpLocation::Kind::Html);
    // A clean path, without the "../" that leads there.
    EXPECT_EQ(help.path, QDir::cleanPath(installedIndex));
    make(buildIndex);
    help = FindHelp(programFolder.path(), bin);
    EXPECT_EQ(help.kind, HelpLocation::Kind::Html);
    EXPECT_EQ(help.path, buildIndex);
}

TEST_F(HelpFilesTest, FoldersNamedLikeTheFilesDoNotCount) {
    ASSERT_TRUE(QDir().mkpath(programFolder.file("help.chm")));
    ASSERT_TRUE(QDir().mkpath(buildIndex));
    EXPECT_EQ(FindHelp(programFolder.path(), bin).kind, HelpLocation::Kind::None);
}

} // namespace
