// The entry editor on entries of 1,000 values each, with a main list of 300
// programs: opening the editor (until it is drawn) and switching between two
// such entries. The editor opens from a main window that is already drawn;
// a stand-in for it (a list, a toolbar, a menu) is drawn first, so that the
// fonts and the style are loaded as they are when the editor is opened.
// Prints the first opening, and the median and the slowest of 30 runs.
//   QT_QPA_PLATFORM=offscreen build/bin/entry_editor_bench
#include "core/AppContext.h"
#include "core/RegFile.h"
#include "core/SqliteStore.h"
#include "dialogs/MainWindowHost.h"
#include "editing/EntryValuesModel.h"
#include "editing/FrmEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace {

class BenchHost final : public MainWindowHost {
public:
    BenchHost(AppContext& context, QList<ListedProgram> programs, QString selected)
        : context_(context), programs_(std::move(programs)), selected_(std::move(selected)) {}
    AppContext& context() override { return context_; }
    QString selectedKey() const override { return selected_; }
    QString selectedText() const override { return selected_; }
    QList<ListedProgram> listedPrograms() const override { return programs_; }
    void reloadList() override {}
    void applyOptions() override {}
    QWidget* dialogParent() override { return nullptr; }

private:
    AppContext& context_;
    QList<ListedProgram> programs_;
    QString selected_;
};

void Report(const char* what, QList<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s median %7.2f ms   slowest %7.2f ms\n", what, ms[ms.size() / 2], ms.last());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QList<ListedProgram> programs;
    {
        QList<RegExportKey> keys;
        for (int i = 0; i < 300; ++i) {
            const QString key = QStringLiteral("Entry%1").arg(i, 3, 10, QLatin1Char('0'));
            const QString name = QStringLiteral("Program %1").arg(i);
            QList<RegValue> values{MakeStringValue(QStringLiteral("DisplayName"), name),
                                   MakeStringValue(QStringLiteral("UninstallString"),
                                                   QStringLiteral("/opt/p/uninstall"))};
            if (i < 2) {
                for (int v = 0; v < 998; ++v)
                    values.append(MakeStringValue(
                        QStringLiteral("Value%1").arg(v, 4, 10, QLatin1Char('0')),
                        QStringLiteral("%ProgramFiles%\\Program %1\\file %2.dat").arg(i).arg(v),
                        v % 2 ? RegType::ExpandSz : RegType::Sz));
            }
            keys.append({AppContext::UninstallKeyFullPath + key, values});
            programs.append({key, name});
        }
        SqliteStore store(dir.filePath(QStringLiteral("Registry.db")));
        store.importBytes(FormatRegFile(keys), nullptr);
    }
    AppContext context(dir.path());
    BenchHost host(context, programs, QStringLiteral("Entry000"));

    QMainWindow mainWindow;
    mainWindow.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("Exit"));
    mainWindow.addToolBar(QStringLiteral("ToolBar"))->addAction(QStringLiteral("Add"));
    auto* list = new QTableWidget(20, 2, &mainWindow);
    list->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Program")));
    mainWindow.setCentralWidget(list);
    mainWindow.show();
    mainWindow.grab();

    QList<double> opening, switching;
    for (int run = 0; run < 30; ++run) {
        QElapsedTimer timer;
        timer.start();
        FrmEdit editor(host);
        editor.show();
        editor.grab(); // drawn once
        opening.append(timer.nsecsElapsed() / 1e6);
        if (editor.values().count() != 1000)
            std::fprintf(stderr, "unexpected row count %d\n", editor.values().count());
        for (int i = 0; i < 2; ++i) {
            timer.restart();
            editor.chooseProgram(editor.currentProgram() == 0 ? 1 : 0);
            editor.grab();
            switching.append(timer.nsecsElapsed() / 1e6);
        }
        editor.reject();
    }
    std::printf("%-40s %7.2f ms\n", "first opening", opening.first());
    Report("open the editor on 1,000 values", opening);
    Report("switch between two 1,000-value entries", switching);
    return 0;
}
