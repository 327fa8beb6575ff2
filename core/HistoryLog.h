// HistoryLog: the install history (Inlog.Ini) and the uninstall history
// (Unlog.Ini). Each file holds a counter ([InNum] or [UnNum] Val=n) and one
// section per record, Prog1 ... Progn, appended and never renumbered.
//
// Every step of an append stands alone: the counter is written first, then
// each key with its own write, and a key whose value cannot be had (an
// installer that is gone) is skipped while the others are still written.
#pragma once

#include "core/IniFile.h"

#include <QDateTime>
#include <QString>

#include <functional>

class HistoryLog {
public:
    enum class File { Install, Uninstall };

    HistoryLog(QString inlogIni, QString unlogIni)
        : inlog_(std::move(inlogIni)), unlog_(std::move(unlogIni)) {}

    QString path(File file) const { return file == File::Install ? inlog_ : unlog_; }

    // seconds: the counted seconds; 0 writes no InTime / UnTime.
    void AppendInstallRecord(const QString& installerPath, int seconds);
    void AppendUninstallRecord(const QString& programName, bool completed, bool removed,
                               int seconds);

    // The counter; 0 for a missing file or a value that is not a number.
    qint64 RecordCount(File file) const;
    QString RecordField(File file, qint64 record, const QString& key,
                        const QString& defaultText = QString()) const;
    // Deletes the whole file, also when it is read-only.
    void ClearHistory(File file);

    // One history file read once, for showing many records: the counter and
    // the fields of every record, each lookup as RecordField answers it.
    class View {
    public:
        qint64 count() const { return count_; }
        // The numbers of the records whose section is in the file, ascending.
        QList<qint64> records() const;
        bool exists(qint64 record) const;
        QString field(qint64 record, const QString& key, const QString& defaultText = {}) const;

    private:
        friend class HistoryLog;
        IniIndex index_;
        qint64 count_ = 0;
    };
    View read(File file) const;

    // The date and time as records hold them: short date, a space, long time.
    static QString DateText(const QDateTime& when);
    // The version in an executable's version resource ("1.2.3.4"), or empty.
    static QString FileVersion(const QString& path);

    // The clock, replaceable in tests.
    std::function<QDateTime()> now = [] {
        return QDateTime::currentDateTime();
    };

private:
    // Reads the counter, writes it back one higher, returns the new record's section.
    QString nextRecord(File file);

    QString inlog_;
    QString unlog_;
};
