#include "core/HistoryLog.h"

#include "core/FileFolder.h"
#include "core/IniFile.h"
#include "core/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>

namespace {

QString CounterSection(HistoryLog::File file) {
    return file == HistoryLog::File::Install ? QStringLiteral("InNum") : QStringLiteral("UnNum");
}

QString RecordSection(qint64 record) {
    return QStringLiteral("Prog") + QString::number(record);
}

} // namespace

QString HistoryLog::DateText(const QDateTime& when) {
    // The long time of the locale without its time zone ("13:53:42", not
    // "13:53:42 UTC"): a record shows the local time, as a clock does.
    const QLocale locale;
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(when.time(), format.trimmed());
}

QString HistoryLog::FileVersion(const QString& path) {
    // VS_FIXEDFILEINFO starts with the signature 0xFEEF04BD; the file version
    // follows as two 32-bit halves (major.minor, build.revision).
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 256 * 1024 * 1024)
        return QString();
    const QByteArray head = file.read(2);
    if (head != "MZ")
        return QString();
    file.seek(0);
    const QByteArray bytes = file.readAll();
    const qsizetype at = bytes.indexOf(QByteArray("\xBD\x04\xEF\xFE", 4));
    if (at < 0 || at + 16 > bytes.size())
        return QString();
    const quint32 ms = qFromLittleEndian<quint32>(bytes.constData() + at + 8);
    const quint32 ls = qFromLittleEndian<quint32>(bytes.constData() + at + 12);
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ms >> 16)
        .arg(ms & 0xffff)
        .arg(ls >> 16)
        .arg(ls & 0xffff);
}

qint64 HistoryLog::RecordCount(File file) const {
    bool ok = false;
    const qint64 count =
        ReadIni(path(file), CounterSection(file), QStringLiteral("Val"), QStringLiteral("0"))
            .trimmed()
            .toLongLong(&ok);
    return ok && count > 0 ? count : 0;
}

QString HistoryLog::RecordField(File file, qint64 record, const QString& key,
                                const QString& defaultText) const {
    return ReadIni(path(file), RecordSection(record), key, defaultText);
}

HistoryLog::View HistoryLog::read(File file) const {
    View view;
    view.index_ = IniIndex::load(path(file));
    bool ok = false;
    const qint64 count =
        view.index_.read(CounterSection(file), QStringLiteral("Val"), QStringLiteral("0"))
            .trimmed()
            .toLongLong(&ok);
    view.count_ = ok && count > 0 ? count : 0;
    return view;
}

QList<qint64> HistoryLog::View::records() const {
    // From the sections there are, not from the counter, which a hand-edited
    // file may set far beyond the records it holds.
    QList<qint64> numbers;
    const QString prefix = QStringLiteral("prog");
    for (const QString& name : index_.foldedSections()) {
        if (!name.startsWith(prefix))
            continue;
        bool ok = false;
        const qint64 record = name.mid(prefix.size()).toLongLong(&ok);
        if (ok && record >= 1 && record <= count_ && name == prefix + QString::number(record))
            numbers.append(record);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

bool HistoryLog::View::exists(qint64 record) const {
    return index_.hasSection(RecordSection(record));
}

QString HistoryLog::View::field(qint64 record, const QString& key,
                                const QString& defaultText) const {
    return index_.read(RecordSection(record), key, defaultText);
}

QString HistoryLog::nextRecord(File file) {
    // The counter is decimal text with no upper bound: the history keeps
    // counting past 32767 records.
    const qint64 next = RecordCount(file) + 1;
    WriteIni(path(file), CounterSection(file), QStringLiteral("Val"), QString::number(next));
    return RecordSection(next);
}

void HistoryLog::AppendInstallRecord(const QString& installerPath, int seconds) {
    const QString section = nextRecord(File::Install);
    const QString ini = path(File::Install);
    const QFileInfo installer(installerPath);
    const bool exists = installer.isFile();
    if (exists) {
        WriteIni(ini, section, QStringLiteral("ProgName"), installer.fileName());
        WriteIni(ini, section, QStringLiteral("ProgPath"),
                 QDir::toNativeSeparators(installer.absolutePath()));
        WriteIni(ini, section, QStringLiteral("ProgVer"), FileVersion(installerPath));
    }
    WriteIni(ini, section, QStringLiteral("Date"), DateText(now()));
    if (exists) {
        WriteIni(ini, section, QStringLiteral("ProgSize"),
                 SizeText(static_cast<double>(installer.size())));
        const QString folderSize = FolderSizeText(installer.absolutePath());
        if (!folderSize.isEmpty())
            WriteIni(ini, section, QStringLiteral("ProgFolderSize"), folderSize);
    }
    if (seconds > 0)
        WriteIni(ini, section, QStringLiteral("InTime"), TimeText(seconds));
}

void HistoryLog::AppendUninstallRecord(const QString& programName, bool completed, bool removed,
                                       int seconds) {
    const QString section = nextRecord(File::Uninstall);
    const QString ini = path(File::Uninstall);
    WriteIni(ini, section, QStringLiteral("Date"), DateText(now()));
    WriteIni(ini, section, QStringLiteral("ProgName"), programName);
    WriteIni(ini, section, QStringLiteral("St"),
             completed ? QStringLiteral("Program Uninstallation complete successfully")
                       : QStringLiteral("Program Uninstallation not complete"));
    if (removed)
        WriteIni(ini, section, QStringLiteral("Rm"),
                 QStringLiteral("The program was removed from the list by Relvano"));
    if (seconds > 0)
        WriteIni(ini, section, QStringLiteral("UnTime"), TimeText(seconds));
}

void HistoryLog::ClearHistory(File file) {
    const QString ini = path(file);
    QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(ini);
}
