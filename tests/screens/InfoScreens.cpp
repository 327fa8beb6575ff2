// Renders the information, options, quick tour and about windows to PNG
// files, for a person to look at: InfoScreens OUTPUT_FOLDER
#include "core/AppContext.h"
#include "dialogs/QtServices.h"
#include "info/FrmAbout.h"
#include "info/FrmAllInfo.h"
#include "info/FrmInfo.h"
#include "prefs/FrmOptions.h"
#include "prefs/FrmStart.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

#include "tests/screens/ScreenShots.h"

namespace {

void WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i)
        Wait(20);
}

void WriteFile(const QString& path, qint64 bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(QByteArray(bytes, 'x'));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: InfoScreens OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir dir;
    QtServices services;
    AppContext context(dir.path());
    context.setServices(services.all());
    // A programs folder of a few programs of known sizes.
    const QString programs = QDir(dir.path()).filePath(QStringLiteral("opt"));
    context.programFilesFolder = programs;
    WriteFile(programs + QStringLiteral("/demo-tool/bin/demo"), 3 * 1024 * 1024);
    WriteFile(programs + QStringLiteral("/demo-tool/share/readme.txt"), 2048);
    WriteFile(programs + QStringLiteral("/office-suite/lib/core.so"), 48 * 1024 * 1024);
    WriteFile(programs + QStringLiteral("/photo-viewer/viewer"), 900 * 1024);
    QDir().mkpath(programs + QStringLiteral("/empty-app"));

    UninstallEntries& entries = context.entries();
    auto entry = [&](const QString& key, const QString& name, const QString& location,
                     const QString& publisher, const QString& url, const QString& help) {
        entries.setValue(key, QStringLiteral("DisplayName"), name);
        entries.setValue(key, QStringLiteral("UninstallString"),
                         location + QStringLiteral("/uninstall"));
        entries.setValue(key, QStringLiteral("InstallLocation"), location);
        entries.setValue(key, QStringLiteral("InstallSource"),
                         QStringLiteral("/media/cdrom/setup"));
        entries.setValue(key, QStringLiteral("InstallDate"), QStringLiteral("20240117"));
        entries.setValue(key, QStringLiteral("Publisher"), publisher);
        entries.setValue(key, QStringLiteral("DisplayVersion"), QStringLiteral("2.4.1"));
        entries.setValue(key, QStringLiteral("URLInfoAbout"), url);
        entries.setValue(key, QStringLiteral("HelpLink"), help);
    };
    entry(QStringLiteral("DemoTool"), QStringLiteral("Demo Tool 2.4"),
          programs + QStringLiteral("/demo-tool"), QStringLiteral("Demo Works"),
          QStringLiteral("https://demo.example/tool"), QStringLiteral("support@demo.example"));
    entry(QStringLiteral("OfficeSuite"), QStringLiteral("Office Suite"),
          programs + QStringLiteral("/office-suite"), QStringLiteral("Office People"),
          QStringLiteral("https://office.example"), QStringLiteral("https://office.example/help"));
    entries.setValue(QStringLiteral("Bare"), QStringLiteral("DisplayName"),
                     QStringLiteral("Bare Entry"));

    FakeHost host(context);
    host.listEntries();
    host.select(QStringLiteral("DemoTool"));

    { // Program information: the install location selected, its button shown.
        FrmInfo w(host);
        w.show();
        WaitFor([&] { return !w.measuring(); });
        auto* lv = w.findChild<QTreeWidget*>(QStringLiteral("Lv"));
        lv->setFocus();
        lv->setCurrentItem(lv->topLevelItem(3));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(lv, &release);
        Save(w, out, QStringLiteral("info-1-install-location"));
        w.chooseProgram(0);
        Save(w, out, QStringLiteral("info-2-bare-entry"));
    }
    { // All programs information, both pages with their sizes.
        FrmAllInfo w(host, programs);
        w.show();
        WaitFor([&] { return w.currentPage() == 1 && !w.measuring(); });
        Save(w, out, QStringLiteral("allinfo-1-general"));
        w.clickProgramFiles();
        WaitFor([&] { return !w.measuring(); });
        auto* lv = w.findChild<QTreeWidget*>(QStringLiteral("Lv"));
        lv->setCurrentItem(lv->topLevelItem(1));
        Save(w, out, QStringLiteral("allinfo-2-program-files"));
        w.reject();
    }
    { // Options, both pages.
        FrmOptions w(host);
        w.show();
        Save(w, out, QStringLiteral("options-1-general"));
        w.findChild<QTabWidget*>(QStringLiteral("Ts"))->setCurrentIndex(1);
        Save(w, out, QStringLiteral("options-2-interface"));
    }
    { // The quick tour: a page's last frame, and the title on its way in.
        FrmStart w;
        w.show();
        Wait(60);
        Save(w, out, QStringLiteral("tour-1-title"));
        WaitFor([&] { return !w.fading(); });
        Save(w, out, QStringLiteral("tour-2-first-page"));
        w.nextTip();
        w.nextTip();
        WaitFor([&] { return !w.fading(); });
        Save(w, out, QStringLiteral("tour-3-third-page"));
    }
    { // About.
        FrmAbout w(context);
        w.show();
        Save(w, out, QStringLiteral("about"));
    }
    return 0;
}
