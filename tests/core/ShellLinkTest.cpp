// Shell link files: the exact bytes of a known link, and links read back by
// lnkinfo (liblnk-utils) when it is installed.
#include "core/ShellLink.h"
#include "tests/support/TestEnv.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray FromHex(const char* hex) {
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// lnkinfo's report of a link file; empty when lnkinfo is not installed.
QString LnkInfo(const QString& file) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("lnkinfo"));
    if (tool.isEmpty())
        return QString();
    QProcess p;
    p.start(tool, {file});
    p.waitForFinished(10000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The value lnkinfo prints after "label:" (tabs and spaces trimmed).
QString Field(const QString& report, const QString& label) {
    for (const QString& line : report.split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0 && line.left(colon).trimmed() == label)
            return line.mid(colon + 1).trimmed();
    }
    return QStringLiteral("<no %1>").arg(label);
}

TEST(ShellLink, AFolderLinkWithADescriptionHasTheKnownLayout) {
    // A folder link by local path with a description: 175 bytes.
    ShellLink link;
    link.targetPath = QStringLiteral("C:\\Program Files\\Example");
    link.description = QStringLiteral("Example App");
    link.driveSerialNumber = 0x1234abcd;
    const QByteArray expected =
        FromHex("4c000000 01140200 00000000 c0000000 00000046 86000000 10000000 00000000"
                "00000000 00000000 00000000 00000000 00000000 00000000 00000000 01000000"
                "00000000 00000000 00000000 47000000 1c000000 01000000 1c000000 2d000000"
                "00000000 46000000 11000000 03000000 cdab3412 10000000 00"
                "433a5c50726f6772616d2046696c65735c4578616d706c6500 00"
                "0b00 4500780061006d0070006c006500200041007000700000000000");
    EXPECT_EQ(ShellLinkBytes(link).toHex(' '), expected.toHex(' '));
    EXPECT_EQ(ShellLinkBytes(link).size(), 175);
}

TEST(ShellLink, WithoutADescriptionThereIsNoNameString) {
    ShellLink link;
    link.targetPath = QStringLiteral("/opt/tool");
    const QByteArray bytes = ShellLinkBytes(link);
    EXPECT_EQ(bytes.mid(0x14, 4), FromHex("82000000"));
    EXPECT_TRUE(bytes.endsWith(FromHex("2f6f70742f746f6f6c00 00 00000000")));
}

TEST(ShellLink, LnkinfoReadsTheTargetAndDescriptionBack) {
    QTemporaryDir dir;
    const struct {
        const char* target;
        const char* description;
    } cases[] = {
        {"/opt/example tool", "Example Tool 2.0"},
        {"C:\\Program Files\\Example", "Example App"},
        // Not plain ASCII: the path is also written in UTF-16.
        {"/opt/Bücher Ärger/日本", "Beschreibung: Ärger"},
    };
    int n = 0;
    for (const auto& c : cases) {
        ShellLink link;
        link.targetPath = QString::fromUtf8(c.target);
        link.description = QString::fromUtf8(c.description);
        link.writeTime = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
        const QString file = dir.filePath(QStringLiteral("link%1.lnk").arg(++n));
        ASSERT_TRUE(WriteShellLink(file, link).ok());
        const QString report = LnkInfo(file);
        if (report.isEmpty())
            GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
        EXPECT_EQ(Field(report, "Local path"), link.targetPath) << report.toStdString();
        EXPECT_EQ(Field(report, "Description"), link.description) << report.toStdString();
        EXPECT_EQ(Field(report, "Drive type"), "Fixed (3)") << report.toStdString();
        EXPECT_TRUE(report.contains("Is directory")) << report.toStdString();
        EXPECT_EQ(Field(report, "Modification time"), "May 06, 2024 07:08:09.000000000 UTC")
            << report.toStdString();
    }
}

TEST(ShellLink, AFailedWriteIsReportedAndLeavesNothing) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("missing/link.lnk"));
    ShellLink link;
    link.targetPath = QStringLiteral("/opt/x");
    const WriteResult written = WriteShellLink(file, link);
    EXPECT_FALSE(written.ok());
    EXPECT_TRUE(written.error.startsWith("cannot write " + file)) << written.error.toStdString();
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
