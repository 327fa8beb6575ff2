// The sync of the machine's applications on a synthetic root: 2,000 packages
// (a status file and file lists of realistic size), 150 desktop entries with
// icons in several sizes, 50 metainfo files.
//   build/bin/system_sync_bench [packages] [desktop entries]
//
// cold:  a new sync object (no cache) on a store that already holds the
//        entries: what the program does at start-up.
// first: a new sync object on an empty store (it writes every entry).
// warm:  the same sync object again, nothing changed (the watcher's case).
// one:   the same sync object after one package changed.
// The file cache of the system is warm in every case (dropping it would take
// root and disturb the machine).
#include "core/RegistryTypes.h"
#include "system/SystemSync.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Status(int packages, int changed) {
    QByteArray text;
    for (int i = 0; i < packages; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "Package: pkg" + n +
                "\nStatus: install ok installed\nPriority: optional\nSection: misc\n"
                "Installed-Size: " +
                QByteArray::number(100 + i) + "\nMaintainer: Team " + n + " <team" + n +
                "@example.org>\nArchitecture: amd64\nVersion: 1:" + n + "." +
                QByteArray::number(i == changed ? 2 : 1) + "-1\nDepends: libc6 (>= 2.34), libfoo" +
                n + " (= 1.0), libbar | libbaz\nConffiles:\n /etc/pkg" + n +
                "/a.conf 0123456789abcdef0123456789abcdef\n /etc/pkg" + n +
                "/b.conf 0123456789abcdef0123456789abcdef\nDescription: package number " + n +
                "\n A longer description of the package that runs over several lines,\n"
                " as descriptions in the status file do.\n .\n It has paragraphs too.\n"
                "Homepage: https://example.org/" +
                n + "\n\n";
    }
    return text;
}

void Build(const QString& root, int packages, int apps) {
    const QString info = root + "/var/lib/dpkg/info/";
    QDir().mkpath(info);
    QDir().mkpath(root + "/var/lib/dpkg/updates");
    Write(root + "/var/lib/dpkg/status", Status(packages, -1));
    const QStringList langs{"de", "fr", "es", "it", "pt", "ru", "ja", "zh_CN", "nl", "pl",
                            "sv", "fi", "da", "cs", "hu", "tr", "uk", "ko",    "el", "ca"};
    for (int i = 0; i < packages; ++i) {
        const QString n = QString::number(i);
        QByteArray list = "/.\n/usr\n/usr/bin\n/usr/share\n/usr/share/doc\n/usr/share/doc/pkg" +
                          n.toUtf8() + "\n";
        list += "/usr/bin/prog" + n.toUtf8() + "\n/usr/lib/x86_64-linux-gnu/libpkg" + n.toUtf8() +
                ".so.1\n/usr/share/doc/pkg" + n.toUtf8() + "/copyright\n/usr/share/doc/pkg" +
                n.toUtf8() + "/changelog.Debian.gz\n/usr/share/man/man1/prog" + n.toUtf8() +
                ".1.gz\n/usr/share/pkg" + n.toUtf8() + "\n";
        for (int f = 0; f < 115; ++f) // about 150 lines a list, as on a desktop
            list += "/usr/share/pkg" + n.toUtf8() + "/data/file" + QByteArray::number(f) + ".dat\n";
        for (const QString& lang : langs)
            list +=
                "/usr/share/locale/" + lang.toUtf8() + "/LC_MESSAGES/pkg" + n.toUtf8() + ".mo\n";
        if (i % (packages / apps) == 0 && i / (packages / apps) < apps) {
            const QString app = "app" + n;
            list += "/usr/share/applications/" + app.toUtf8() + ".desktop\n";
            Write(root + "/usr/share/applications/" + app + ".desktop",
                  "[Desktop Entry]\nType=Application\nName=Application " + n.toUtf8() +
                      "\nName[de]=Anwendung " + n.toUtf8() + "\nName[fr]=Application " +
                      n.toUtf8() + "\nComment=Does things\nExec=prog" + n.toUtf8() + " %U\nIcon=" +
                      app.toUtf8() + "\nCategories=Utility;\nMimeType=text/plain;image/png;\n");
            for (const char* size : {"16x16", "32x32", "48x48", "256x256"}) {
                const QString icon =
                    root + "/usr/share/icons/hicolor/" + size + "/apps/" + app + ".png";
                list += icon.mid(root.size()).toUtf8() + "\n";
                Write(icon, "png");
            }
            if (i % 3 == 0)
                Write(root + "/usr/share/metainfo/org.example." + app + ".metainfo.xml",
                      "<component type=\"desktop-application\"><id>org.example." + app.toUtf8() +
                          "</id><launchable type=\"desktop-id\">" + app.toUtf8() +
                          ".desktop</launchable><developer_name>Dev " + n.toUtf8() +
                          "</developer_name><url type=\"help\">https://help.example.org/" +
                          n.toUtf8() +
                          "</url><description><p>Text.</p></description>"
                          "<releases><release version=\"1.0\"/></releases></component>");
        }
        Write(info + "pkg" + n + ".list", list);
    }
    // Other icons of the theme, as on a desktop.
    for (int i = 0; i < 1500; ++i)
        Write(root + "/usr/share/icons/hicolor/48x48/apps/other" + QString::number(i) + ".png",
              "png");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int packages = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int apps = argc > 2 ? std::atoi(argv[2]) : 150;
    QTemporaryDir dir;
    const QString root = dir.filePath("root");
    Build(root, packages, apps);
    SystemLayout layout;
    layout.root = root;
    layout.dataHome = "/home/u/.local/share";
    layout.dataDirs = {"/usr/local/share", "/usr/share"};
    layout.pathDirs = {"/usr/bin"};
    layout.locale = "de_DE.UTF-8";
    layout.uninstallProgram = "/usr/bin/relvano-uninstall";

    const int rounds = 7;
    QList<double> first, cold, warm, one;
    int entries = 0;
    bool wroteWhenUnchanged = false;
    for (int r = 0; r < rounds; ++r) {
        const QString store = dir.filePath(QString("r%1.db").arg(r));
        QElapsedTimer t;
        t.start();
        {
            SystemSync sync(layout, store);
            const SyncResult result = sync.run();
            first.append(t.nsecsElapsed() / 1e6);
            entries = result.added;
        }
        t.restart();
        SystemSync sync(layout, store);
        SyncResult result = sync.run();
        cold.append(t.nsecsElapsed() / 1e6);
        wroteWhenUnchanged = wroteWhenUnchanged || result.changed();
        const qint64 walBefore = QFileInfo(store + "-wal").size();
        t.restart();
        result = sync.run();
        warm.append(t.nsecsElapsed() / 1e6);
        wroteWhenUnchanged =
            wroteWhenUnchanged || result.changed() || QFileInfo(store + "-wal").size() != walBefore;
        // One package changes version, as after an upgrade.
        QSaveFile status(root + "/var/lib/dpkg/status");
        status.open(QIODevice::WriteOnly);
        status.write(Status(packages, 0));
        status.commit();
        t.restart();
        result = sync.run();
        one.append(t.nsecsElapsed() / 1e6);
        if (result.updated != 1)
            std::printf("unexpected: %d entries updated after one change\n", result.updated);
        QSaveFile back(root + "/var/lib/dpkg/status");
        back.open(QIODevice::WriteOnly);
        back.write(Status(packages, -1));
        back.commit();
    }
    std::printf("system sync, %d packages, %d desktop entries (%d entries), median of %d:\n",
                packages, apps, entries, rounds);
    std::printf("  first (empty store, writes all)   %7.1f ms\n", Median(first));
    std::printf("  cold  (new sync, store up to date) %7.1f ms   target < 300\n", Median(cold));
    std::printf("  warm  (same sync, nothing changed) %7.1f ms   target < 100\n", Median(warm));
    std::printf("  warm  after one package changed    %7.1f ms\n", Median(one));
    std::printf("  unchanged sync wrote to the store: %s\n", wroteWhenUnchanged ? "YES" : "no");
    return wroteWhenUnchanged ? 1 : 0;
}
