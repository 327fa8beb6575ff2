// Renders the restore window, the backup dialog, the report wizard's pages,
// a report and the programs list in their states to PNG files, for a person
// to look at: BackupReportScreens OUTPUT_FOLDER
#include "backup/BackupLogic.h"
#include "backup/FrmBackup.h"
#include "backup/FrmRestore.h"
#include "reports/FrmList.h"
#include "reports/FrmReport.h"
#include "reports/ReportWriter.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

#include "tests/screens/ScreenShots.h"

namespace {

// A message box as the program shows it, drawn without waiting for an answer.
void SaveMessage(const MsgBoxCall& call, const QString& folder, const QString& name) {
    QMessageBox box(call.icon == MsgIcon::Exclamation ? QMessageBox::Warning
                    : call.icon == MsgIcon::Critical  ? QMessageBox::Critical
                                                      : QMessageBox::Information,
                    call.title, call.text, QMessageBox::Ok);
    box.show();
    Save(box, folder, name);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: BackupReportScreens OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    FakeApp fake;
    AppContext& context = fake.context;
    UninstallEntries& entries = context.entries();
    const QStringList names{"Acme Photo Editor",
                            "Runtime Redistributable",
                            "Runtime Redistributable",
                            "Béta Music Player 2.1",
                            "Office Suite",
                            "Zip Archiver",
                            "Video Converter Pro",
                            "Web Browser"};
    for (int i = 0; i < names.size(); ++i) {
        const QString key = QStringLiteral("{%1-app}").arg(i);
        entries.setValue(key, QStringLiteral("DisplayName"), names[i]);
        entries.setValue(key, QStringLiteral("Publisher"), QStringLiteral("Maker %1").arg(i));
        entries.setValue(key, QStringLiteral("DisplayVersion"), QStringLiteral("%1.0").arg(i + 1));
        entries.setValue(key, QStringLiteral("URLInfoAbout"),
                         QStringLiteral("https://maker%1.example/").arg(i));
        entries.setValue(key, QStringLiteral("UninstallString"),
                         QStringLiteral("/opt/app%1/uninstall --quiet").arg(i));
    }
    entries.setValue(QStringLiteral("{3-app}"), QStringLiteral("HelpLink"),
                     QStringLiteral("javascript:alert(1)"));
    FakeHost host(context);
    host.listEntries();

    { // The backup dialog: ready, working, done.
        FrmBackup d(host);
        d.show();
        Save(d, out, QStringLiteral("backup-1-ready"));
        QObject::connect(&d, &FrmBackup::rowDone, &d, [&](qsizetype row, qsizetype) {
            if (row == 5)
                Save(d, out, QStringLiteral("backup-2-working"), 0);
        });
        d.findChild<QPushButton*>(QStringLiteral("Cmd_Backup"))->click();
        Save(d, out, QStringLiteral("backup-3-done"));
    }
    { // The restore window: a few files, then many with the progress panel.
        FrmRestore w(host);
        w.show();
        Wait(200);
        w.findChild<QTreeWidget*>(QStringLiteral("Lv"))->topLevelItem(1)->setSelected(true);
        Save(w, out, QStringLiteral("restore-1-few"));
        for (int i = 0; i < 40; ++i)
            QFile::copy(entries.backupFolder() + QStringLiteral("/Office Suite.Reg"),
                        entries.backupFolder() + QStringLiteral("/Old Program %1.reg").arg(i));
        w.loadList();
        w.selectAll();
        QObject::connect(&w, &FrmRestore::restoringFile, &w, [&](qsizetype i, qsizetype) {
            if (i == 17)
                Save(w, out, QStringLiteral("restore-2-progress"), 0);
        });
        Wait(100);
        w.restoreSelected();
        Save(w, out, QStringLiteral("restore-3-many"));
        // A backup with a broken line and a file that is not a backup.
        WriteFileBytes(entries.backupFolder() + QStringLiteral("/Broken.reg"),
                       "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\"
                       "CurrentVersion\\Uninstall\\broken]\r\n\"DisplayName\"=\"Broken\"\r\n"
                       "\"Size\"=dword:xyz\r\n");
        WriteFileBytes(entries.backupFolder() + QStringLiteral("/Notes.reg"), "some notes");
        w.loadList();
        auto* lv = w.findChild<QTreeWidget*>(QStringLiteral("Lv"));
        lv->clearSelection();
        for (int i = 0; i < lv->topLevelItemCount(); ++i)
            if (lv->topLevelItem(i)->text(0).startsWith(QStringLiteral("Broken")) ||
                lv->topLevelItem(i)->text(0).startsWith(QStringLiteral("Notes")) ||
                lv->topLevelItem(i)->text(0).startsWith(QStringLiteral("Zip")))
                lv->topLevelItem(i)->setSelected(true);
        w.restoreSelected();
        SaveMessage(fake.fakes.messages.calls.last(), out, QStringLiteral("restore-4-warning"));
        w.reject();
    }
    const QString reportFolder = context.programFolder();
    { // The report wizard's pages.
        FrmReport w(host);
        w.show();
        auto* list = w.findChild<QListWidget*>(QStringLiteral("UnList"));
        for (int i : {0, 3, 4})
            list->item(i)->setCheckState(Qt::Checked);
        Save(w, out, QStringLiteral("report-1-programs"));
        w.next();
        w.findChild<QCheckBox*>(QStringLiteral("ChkAll"))->click();
        Save(w, out, QStringLiteral("report-2-items"));
        w.next();
        fake.fakes.dialogs.fileAnswers.enqueue({true, reportFolder + QStringLiteral("/report"), 2});
        w.browse();
        Save(w, out, QStringLiteral("report-3-file"));
        w.next();
        Save(w, out, QStringLiteral("report-4-summary"));
        w.finish();
        Save(w, out, QStringLiteral("report-5-done"));
        w.reject();
    }
    { // The web page as Qt's rich text shows it (wkhtmltoimage gives a browser's view).
        QTextDocument document;
        QFile page(reportFolder + QStringLiteral("/report.htm"));
        page.open(QIODevice::ReadOnly);
        document.setHtml(QString::fromUtf8(page.readAll()));
        document.setTextWidth(820);
        QImage image(820, static_cast<int>(document.size().height()), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        document.drawContents(&painter);
        painter.end();
        image.save(QDir(out).filePath(QStringLiteral("report-6-html-qt.png")));
        QFile::copy(reportFolder + QStringLiteral("/report.htm"),
                    QDir(out).filePath(QStringLiteral("report.htm")));
        std::printf("report-6-html-qt.png\n");
    }
    { // The programs list, read-only and editable.
        FrmList w(host);
        w.show();
        Save(w, out, QStringLiteral("list-1-loading"), 0);
        Wait(200);
        w.copy();
        Save(w, out, QStringLiteral("list-2-copied"));
        w.toggleEdit();
        Save(w, out, QStringLiteral("list-3-editing"));
        w.reject();
    }
    return 0;
}
