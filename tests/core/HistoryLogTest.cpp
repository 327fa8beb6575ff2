// The install and uninstall histories: record layout, key order, counting
// and clearing.
#include "core/HistoryLog.h"
#include "core/IniFile.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QtTest>

class HistoryLogTest : public QObject {
    Q_OBJECT

    static QDateTime fixedTime() { return QDateTime(QDate(2026, 12, 9), QTime(21, 5, 7)); }

private slots:
    void uninstallRecordsAreAppendedWithTheirKeysInOrder() {
        TempProgramFolder folder;
        HistoryLog log(folder.file("Inlog.Ini"), folder.file("Unlog.Ini"));
        log.now = fixedTime;
        log.AppendUninstallRecord("Tool One", true, false, 149);
        log.AppendUninstallRecord("Tool Two", false, true, 0);
        const QString date = HistoryLog::DateText(fixedTime());
        QCOMPARE(ReadFileBytes(folder.file("Unlog.Ini")),
                 ("[UnNum]\r\nVal=2\r\n"
                  "[Prog1]\r\nDate=" +
                  date +
                  "\r\nProgName=Tool One\r\n"
                  "St=Program Uninstallation complete successfully\r\nUnTime=2.5 Minute\r\n"
                  "[Prog2]\r\nDate=" +
                  date +
                  "\r\nProgName=Tool Two\r\n"
                  "St=Program Uninstallation not complete\r\n"
                  "Rm=The program was removed from the list by Relvano\r\n")
                     .toUtf8());
        QCOMPARE(log.RecordCount(HistoryLog::File::Uninstall), 2);
        QCOMPARE(log.RecordField(HistoryLog::File::Uninstall, 2, "ProgName"), QString("Tool Two"));
        QCOMPARE(log.RecordField(HistoryLog::File::Uninstall, 2, "UnTime", "N/A"), QString("N/A"));
        QCOMPARE(log.RecordCount(HistoryLog::File::Install), 0);
    }

    void datesHaveNoTimeZone() {
        const QString date = HistoryLog::DateText(fixedTime());
        QVERIFY2(date.endsWith("21:05:07"), qPrintable(date));
        QVERIFY(!date.contains("UTC"));
    }

    // A view of a whole file answers as the single reads do.
    void aViewReadsTheFileOnce_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<qint64>>("records");
        QTest::addColumn<QString>("name2");
        QTest::newRow("plain") << QByteArray("[UnNum]\r\nVal=3\r\n[Prog1]\r\nProgName=A\r\n"
                                             "[Prog2]\r\nProgName=B\r\n[Prog3]\r\n")
                               << QList<qint64>{1, 2, 3} << "B";
        QTest::newRow("any case, quotes, blanks")
            << QByteArray("[unnum]\r\nval = 2 \r\n[PROG2]\r\n progname = \"B b\" \r\n")
            << QList<qint64>{2} << "B b";
        QTest::newRow("first section and key win")
            << QByteArray("[UnNum]\r\nVal=2\r\n[Prog2]\r\nProgName=first\r\nProgName=x\r\n"
                          "[Prog2]\r\nProgName=second\r\n")
            << QList<qint64>{2} << "first";
        QTest::newRow("beyond the counter, leading zeros")
            << QByteArray("[UnNum]\r\nVal=1\r\n[Prog1]\r\n[Prog2]\r\nProgName=B\r\n"
                          "[Prog01]\r\n")
            << QList<qint64>{1} << "B";
        QTest::newRow("counter not a number")
            << QByteArray("[UnNum]\r\nVal=many\r\n[Prog1]\r\n") << QList<qint64>{} << "";
    }
    void aViewReadsTheFileOnce() {
        QFETCH(QByteArray, file);
        QFETCH(QList<qint64>, records);
        QFETCH(QString, name2);
        TempProgramFolder folder;
        HistoryLog log(folder.file("Inlog.Ini"), folder.file("Unlog.Ini"));
        QVERIFY(WriteFileBytes(folder.file("Unlog.Ini"), file));
        const HistoryLog::View view = log.read(HistoryLog::File::Uninstall);
        QCOMPARE(view.records(), records);
        QCOMPARE(view.count(), log.RecordCount(HistoryLog::File::Uninstall));
        QCOMPARE(view.field(2, "ProgName"), name2);
        QCOMPARE(view.field(2, "ProgName"),
                 log.RecordField(HistoryLog::File::Uninstall, 2, "ProgName"));
        QCOMPARE(view.field(2, "Missing", " N/A  "),
                 log.RecordField(HistoryLog::File::Uninstall, 2, "Missing", " N/A  "));
    }

    void installRecordsDescribeTheInstaller() {
        TempProgramFolder folder;
        QDir().mkpath(folder.file("setup"));
        const QString installer = folder.file("setup/setup.exe");
        // A tiny executable with a version resource's fixed part: 1.2.3.4.
        QByteArray exe("MZ");
        exe += QByteArray(62, '\0');
        exe += QByteArray("\xBD\x04\xEF\xFE\x00\x00\x01\x00\x02\x00\x01\x00\x04\x00\x03\x00", 16);
        exe += QByteArray(2048 - exe.size(), 'x');
        QVERIFY(WriteFileBytes(installer, exe));
        QVERIFY(WriteFileBytes(folder.file("setup/data.bin"), QByteArray(1024, 'd')));
        HistoryLog log(folder.file("Inlog.Ini"), folder.file("Unlog.Ini"));
        log.now = fixedTime;
        log.AppendInstallRecord(installer, 0);
        log.AppendInstallRecord(folder.file("setup/gone.exe"), 3599);
        const auto field = [&](qint64 record, const char* key) {
            return log.RecordField(HistoryLog::File::Install, record, key, "<none>");
        };
        QCOMPARE(
            IniDocument::load(folder.file("Inlog.Ini"))->keys("Prog1"),
            (QStringList{"ProgName", "ProgPath", "ProgVer", "Date", "ProgSize", "ProgFolderSize"}));
        QCOMPARE(field(1, "ProgName"), QString("setup.exe"));
        QCOMPARE(field(1, "ProgPath"), folder.file("setup"));
        QCOMPARE(field(1, "ProgVer"), QString("1.2.3.4"));
        QCOMPARE(field(1, "ProgSize"), QString("2 KB"));
        QCOMPARE(field(1, "ProgFolderSize"), QString("3 KB"));
        // The installer is gone: the counter, the date and the (empty) time stand.
        QCOMPARE(IniDocument::load(folder.file("Inlog.Ini"))->keys("Prog2"),
                 (QStringList{"Date", "InTime"}));
        QCOMPARE(field(2, "InTime"), QString());
        QCOMPARE(log.RecordCount(HistoryLog::File::Install), 2);
    }

    void countingGoesOnPast32767AndBadCountersStartAgain() {
        TempProgramFolder folder;
        HistoryLog log(folder.file("Inlog.Ini"), folder.file("Unlog.Ini"));
        WriteIni(log.path(HistoryLog::File::Uninstall), "UnNum", "Val", "32767");
        log.AppendUninstallRecord("Late", true, false, 0);
        QCOMPARE(log.RecordCount(HistoryLog::File::Uninstall), 32768);
        QCOMPARE(log.RecordField(HistoryLog::File::Uninstall, 32768, "ProgName"), QString("Late"));

        WriteIni(log.path(HistoryLog::File::Uninstall), "UnNum", "Val", "many");
        WriteIni(log.path(HistoryLog::File::Uninstall), "Prog1", "Rm", "left from before");
        log.AppendUninstallRecord("Again", false, false, 0);
        QCOMPARE(log.RecordCount(HistoryLog::File::Uninstall), 1);
        QCOMPARE(log.RecordField(HistoryLog::File::Uninstall, 1, "ProgName"), QString("Again"));
        QCOMPARE(log.RecordField(HistoryLog::File::Uninstall, 1, "Rm"),
                 QString("left from before"));
    }

    void clearingDeletesTheFileEvenWhenReadOnly() {
        TempProgramFolder folder;
        HistoryLog log(folder.file("Inlog.Ini"), folder.file("Unlog.Ini"));
        log.AppendUninstallRecord("One", true, false, 0);
        QFile::setPermissions(log.path(HistoryLog::File::Uninstall), QFile::ReadOwner);
        log.ClearHistory(HistoryLog::File::Uninstall);
        QVERIFY(!QFile::exists(log.path(HistoryLog::File::Uninstall)));
        QCOMPARE(log.RecordCount(HistoryLog::File::Uninstall), 0);
        log.AppendUninstallRecord("Two", true, false, 0);
        QCOMPARE(log.RecordField(HistoryLog::File::Uninstall, 1, "ProgName"), QString("Two"));
    }
};

QTEST_GUILESS_MAIN(HistoryLogTest)
#include "HistoryLogTest.moc"
