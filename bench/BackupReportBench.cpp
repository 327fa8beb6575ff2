// Backup, restore and reports over 10,000 entries of 10 values each, timed
// through the windows as the user runs them (offscreen):
//   backup all      FrmBackup::backupAll, with no backups yet and again over them
//   restore         FrmRestore::restoreSelected of 1,000 backup files
//   report          the full text and web-page reports of every program
//   programs list   FrmList's text of every program
//   QT_QPA_PLATFORM=offscreen build/bin/backup_report_bench
#include "backup/FrmBackup.h"
#include "backup/FrmRestore.h"
#include "core/AppContext.h"
#include "core/FileFolder.h"
#include "core/RegFile.h"
#include "core/RegFileKey.h"
#include "core/SqliteStore.h"
#include "dialogs/MainWindowHost.h"
#include "reports/FrmList.h"
#include "reports/ReportWriter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

namespace {

constexpr int kEntries = 10000;
constexpr int kRestored = 1000;

class BenchHost final : public MainWindowHost {
public:
    explicit BenchHost(AppContext& context) : context_(context) {}
    QList<ListedProgram> programs;
    AppContext& context() override { return context_; }
    QString selectedKey() const override { return QString(); }
    QString selectedText() const override { return QString(); }
    QList<ListedProgram> listedPrograms() const override { return programs; }
    void reloadList() override {}
    void applyOptions() override {}
    QWidget* dialogParent() override { return nullptr; }

private:
    AppContext& context_;
};

QList<ListedProgram> FillStore(const QString& storePath) {
    QList<RegExportKey> keys;
    QList<ListedProgram> programs;
    for (int i = 0; i < kEntries; ++i) {
        const QString key = QStringLiteral("Entry%1").arg(i, 5, 10, QChar(u'0'));
        // Every fifth name is shared by two entries, as runtimes often are.
        const QString name = QStringLiteral("Program %1").arg(i % 5 == 1 ? i - 1 : i);
        keys.append(
            {AppContext::UninstallKeyFullPath + key,
             {MakeStringValue(QStringLiteral("DisplayName"), name),
              MakeStringValue(QStringLiteral("UninstallString"),
                              QStringLiteral("/opt/p%1/uninstall --quiet").arg(i)),
              MakeStringValue(QStringLiteral("Publisher"),
                              QStringLiteral("Publisher %1").arg(i % 40)),
              MakeStringValue(QStringLiteral("DisplayVersion"), QStringLiteral("1.%1").arg(i)),
              MakeStringValue(QStringLiteral("InstallLocation"), QStringLiteral("/opt/p%1").arg(i)),
              MakeStringValue(QStringLiteral("InstallSource"), QStringLiteral("/media/cd")),
              MakeStringValue(QStringLiteral("InstallDate"), QStringLiteral("20240305")),
              MakeStringValue(QStringLiteral("URLInfoAbout"),
                              QStringLiteral("https://example.com/p%1").arg(i)),
              MakeStringValue(QStringLiteral("HelpLink"), QStringLiteral("N/A")),
              MakeDwordValue(QStringLiteral("EstimatedSize"), 1024 + i)}});
        programs.append({key, name});
    }
    SqliteStore store(storePath);
    store.importBytes(FormatRegFile(keys), nullptr);
    return programs;
}

double Seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString storePath = JoinPath(dir.path(), StoreFileName);
    const QList<ListedProgram> programs = FillStore(storePath);
    AppContext context(dir.path());
    BenchHost host(context);
    host.programs = programs;
    QElapsedTimer timer;

    for (const char* run : {"no backups yet", "over the old backups"}) {
        FrmBackup backup(host);
        backup.show();
        QCoreApplication::processEvents();
        timer.start();
        backup.backupAll();
        std::printf(
            "backup all, %d entries (%s): %.2f s, %lld files\n", kEntries, run, Seconds(timer),
            static_cast<long long>(QDir(context.BackupFolder).entryList(QDir::Files).size()));
    }

    {
        // 1,000 backups of deleted entries, restored in one go.
        FrmRestore restore(host);
        restore.show();
        restore.loadList();
        auto* lv = restore.findChild<QTreeWidget*>(QStringLiteral("Lv"));
        for (int row = 0; row < kRestored; ++row) {
            QTreeWidgetItem* item = lv->topLevelItem(row);
            item->setSelected(true);
            const QString key = ReadRegFileKey(JoinPath(context.BackupFolder, item->text(0)));
            context.entries().remove(key.section(u'\\', -1));
        }
        const qsizetype before = context.entries().keys().size();
        timer.start();
        restore.restoreSelected();
        std::printf("restore, %d backup files: %.2f s, entries %lld before, %lld after\n",
                    kRestored, Seconds(timer), static_cast<long long>(before),
                    static_cast<long long>(context.entries().keys().size()));
    }

    ReportInput input;
    input.computerName = ComputerName();
    input.userName = UserName();
    input.programs = programs;
    input.chosen = QList<bool>(programs.size(), true);
    UninstallEntries& entries = context.entries();
    input.readValue = [&entries, &programs](qsizetype n, const QString& name) {
        return ReadReportValue(entries, programs, n, name);
    };
    for (const auto& [label, writer, file] :
         {std::tuple{"text", &WriteTextFull, "report.txt"},
          std::tuple{"web page", &WriteHtmlFull, "report.htm"}}) {
        timer.start();
        WriteResult written;
        {
            const auto batch = context.store().BeginReadBatch();
            written = writer(JoinPath(dir.path(), QLatin1String(file)), input);
        }
        std::printf(
            "full %s report, %d programs x 9 items: %.2f s (%s, %lld bytes)\n", label, kEntries,
            Seconds(timer), written ? "written" : qPrintable(written.error),
            static_cast<long long>(QFileInfo(JoinPath(dir.path(), QLatin1String(file))).size()));
    }

    {
        timer.start();
        FrmList list(host);
        list.show();
        auto* txt = list.findChild<QWidget*>(QStringLiteral("Txt"));
        while (!txt->isVisible())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        std::printf(
            "programs list window, %d programs: %.2f s to the text shown (%lld characters)\n",
            kEntries, Seconds(timer), static_cast<long long>(list.text().size()));
    }
    return 0;
}
