// Renders the install and uninstall windows in each of their states to PNG
// files, for a person to look at: LifecycleScreens OUTPUT_FOLDER RELVANO_REG
#include "core/AppContext.h"
#include "core/HistoryLog.h"
#include "dialogs/QtServices.h"
#include "lifecycle/FrmAddNew.h"
#include "lifecycle/FrmLog.h"
#include "lifecycle/FrmUn.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "tests/screens/ScreenShots.h"

namespace {

QString Script(const QString& dir, const QString& name, const QString& body) {
    return WriteScript(QDir(dir).filePath(name), body);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: LifecycleScreens OUTPUT_FOLDER RELVANO_REG\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString reg = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    QTemporaryDir dir;
    QtServices services;
    AppContext context(dir.path());
    context.setServices(services.all());
    const QString key = QStringLiteral("Demo Tool");
    auto setEntry = [&](const QString& uninstall) {
        context.entries().setValue(key, QStringLiteral("DisplayName"),
                                   QStringLiteral("Demo Tool 2.0"));
        context.entries().setValue(key, QStringLiteral("UninstallString"), uninstall);
    };
    const QString deleteSelf =
        QStringLiteral("%1 --store %2 delete '%3'")
            .arg(reg, JoinPath(dir.path(), StoreFileName), AppContext::UninstallKeyFullPath + key);

    { // Question, waiting, done.
        setEntry(Script(dir.path(), "un1.sh", "sleep 1.5\n" + deleteSelf));
        FrmUn d(context, key, QStringLiteral("Demo Tool 2.0"), {});
        d.show();
        Save(d, out, "uninstall-1-question");
        d.findChild<QPushButton*>("Cmd_Yes")->click();
        Wait(600);
        Save(d, out, "uninstall-2-waiting");
        d.findChild<QPushButton*>("Cmd_Cont")->click();
        Save(d, out, "uninstall-3-already-opened");
        Wait(2500);
        Save(d, out, "uninstall-4-done");
    }
    { // Not removed.
        setEntry(Script(dir.path(), "un2.sh", "exit 0"));
        FrmUn d(context, key, QStringLiteral("Demo Tool 2.0"), {});
        d.show();
        d.findChild<QPushButton*>("Cmd_Yes")->click();
        Wait(800);
        d.findChild<QPushButton*>("Cmd_Cont")->click();
        Save(d, out, "uninstall-5-not-removed");
    }
    { // No command, and a command that cannot be found.
        setEntry(QStringLiteral("   "));
        FrmUn d(context, key, QStringLiteral("Demo Tool 2.0"), {});
        d.show();
        Save(d, out, "uninstall-6-no-command");
        setEntry(QStringLiteral("/opt/missing/uninstall"));
        FrmUn e(context, key, QStringLiteral("Demo Tool 2.0"), {});
        e.show();
        e.findChild<QPushButton*>("Cmd_Yes")->click();
        Wait(500);
        Save(e, out, "uninstall-7-not-found");
    }
    { // The wizard's three pages.
        const QString installer = Script(dir.path(), "setup.sh", "exit 0");
        FrmAddNew w(context, {});
        w.show();
        Save(w, out, "install-1-prepare");
        w.findChild<QPushButton*>("Nxt")->click();
        w.findChild<QLineEdit*>("Txt")->setText(installer);
        Save(w, out, "install-2-choose");
        w.findChild<QPushButton*>("Nxt")->click();
        Save(w, out, "install-3-installing");
        w.reject();
    }
    { // The history window with a few records.
        HistoryLog log = context.history();
        log.AppendUninstallRecord(QStringLiteral("Old Game"), true, false, 42);
        log.AppendUninstallRecord(QStringLiteral("Trial Tool"), false, true, 3);
        FrmLog h(context);
        h.show();
        Wait(100);
        h.showUninstalled();
        h.selectEntry(1);
        Save(h, out, "history-uninstalled");
        h.showInstalled();
        h.selectEntry(0);
        Save(h, out, "history-installed");
        h.reject();
    }
    return 0;
}
