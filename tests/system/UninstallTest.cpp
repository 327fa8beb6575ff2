// The uninstall helper: PackageKit through a stand-in service on the private
// bus this test runs on (dbus-run-session), the terminal without PackageKit,
// Flatpak and Snap commands through a scripted process service, AppImages
// to the trash, the safety checks, and the helper's window.
#include "core/AppContext.h"
#include "core/SqliteStore.h"
#include "system/SystemSync.h"
#include "system/Uninstaller.h"
#include "tests/support/TestEnv.h"
#include "tests/system/FakeRoot.h"
#include "tools/uninstall/UninstallWindow.h"

#include <QCheckBox>
#include <QDBusConnectionInterface>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {

class FakeUi final : public UninstallUi {
public:
    UninstallChoice answer{true, false};
    QStringList progress;
    QList<UninstallPreview> asked;
    QList<std::pair<UninstallOutcome, QString>> outcomes;
    void showProgress(const QString& text) override { progress.append(text); }
    UninstallChoice confirm(const UninstallPreview& preview) override {
        asked.append(preview);
        return answer;
    }
    void showOutcome(UninstallOutcome outcome, const QString& message) override {
        outcomes.append({outcome, message});
    }
};

// Records the command lines; "runs" each by calling effect, and reports the
// process running for a few polls.
class ScriptedProcesses final : public ProcessService {
public:
    QStringList started;
    std::function<void(const QString&)> effect;
    LaunchResult result{1234, LaunchError::None, QString()};
    int polls = 0;
    LaunchResult Start(const QString& commandLine) override {
        started.append(commandLine);
        if (result.ok() && effect)
            effect(commandLine);
        return result;
    }
    LaunchResult StartProgram(const QString& program, const QStringList& arguments,
                              const QString&) override {
        return Start((QStringList{program} + arguments).join(u' '));
    }
    bool IsRunning(qint64 pid) override { return pid == 1234 && ++polls < 3; }
};

// The stand-in PackageKit, started on the session bus for one test.
class FakePackageKit {
public:
    FakePackageKit(const QString& dir, const QJsonObject& scenario) {
        QJsonObject s = scenario;
        log_ = dir + "/packagekit.log";
        s["log"] = log_;
        const QString file = dir + "/scenario.json";
        WriteFileBytes(file, QJsonDocument(s).toJson());
        process_.start(RELVANO_FAKE_PACKAGEKIT, {file});
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        for (int i = 0; i < 200 && !bus->isServiceRegistered("org.freedesktop.PackageKit"); ++i)
            QTest::qWait(25);
    }
    ~FakePackageKit() {
        process_.kill();
        process_.waitForFinished();
        // Wait until the name is free again for the next test.
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        for (int i = 0; i < 200 && bus->isServiceRegistered("org.freedesktop.PackageKit"); ++i)
            QTest::qWait(25);
    }
    QStringList log() const {
        return QString::fromUtf8(ReadFileBytes(log_)).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QProcess process_;
    QString log_;
};

QString StatusOf(const FakeRoot& root, const QString& name) {
    const QString text = QString::fromUtf8(ReadFileBytes(root.file("/var/lib/dpkg/status")));
    const qsizetype at = text.indexOf("Package: " + name + "\n");
    return at < 0 ? QString() : text.mid(at).section(u'\n', 1, 1);
}

} // namespace

class UninstallTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeRoot> root;
    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<QTemporaryDir> work;
    ScriptedProcesses processes;
    FakeUi ui;

    Uninstaller::Config config(const QDBusConnection& bus = QDBusConnection::sessionBus()) {
        Uninstaller::Config c;
        c.layout = root->layout();
        c.storeFile = folder->storePath();
        c.configIni = folder->file("Config.Ini");
        c.processes = &processes;
        c.bus = bus;
        c.pollMs = 10;
        return c;
    }
    UninstallOutcome uninstall(const QString& kind, const QString& id,
                               const QDBusConnection& bus = QDBusConnection::sessionBus()) {
        Uninstaller u(config(bus), ui);
        const UninstallOutcome outcome = u.run(kind, id);
        if (!ui.outcomes.isEmpty())
            qInfo() << "outcome" << int(outcome) << ui.outcomes.last().second;
        return outcome;
    }
    bool hasEntry(const QString& key) {
        SqliteStore store(folder->storePath());
        return store
            .keyExists({RootKey::LocalMachine,
                        {"SOFTWARE", "Microsoft", "Windows", "CurrentVersion", "Uninstall", key}})
            .ok();
    }
    QJsonObject scenario(const QString& remove,
                         const QJsonObject& dependants = {{"vim-common", QJsonArray{"vim"}}}) {
        return QJsonObject{{"status", root->file("/var/lib/dpkg/status")},
                           {"installed", QJsonArray{QJsonArray{"vim-common", "2:9.0.1378-2", "all"},
                                                    QJsonArray{"vim", "2:9.0.1378-2", "amd64"},
                                                    QJsonArray{"gnome-shell", "43.9-0", "amd64"},
                                                    QJsonArray{"coreutils", "9.1-1", "amd64"}}},
                           {"dependants", dependants},
                           {"remove", remove}};
    }
    static bool sessionBus() { return QDBusConnection::sessionBus().isConnected(); }

private slots:
    void init() {
        root = std::make_unique<FakeRoot>();
        folder = std::make_unique<TempProgramFolder>();
        work = std::make_unique<QTemporaryDir>();
        processes = ScriptedProcesses();
        ui = FakeUi();

        root->executable("/usr/bin/vim");
        root->package({"vim-common",
                       "2:9.0.1378-2",
                       "all",
                       "install ok installed",
                       QString(),
                       {"/usr/share/applications/vim.desktop"}});
        root->package({"vim", "2:9.0.1378-2", "amd64", "install ok installed", QString(), {}});
        root->package({"gnome-shell", "43.9-0", "amd64", "install ok installed", QString(), {}});
        root->package({"coreutils",
                       "9.1-1",
                       "amd64",
                       "install ok installed",
                       "Essential: yes",
                       {"/usr/share/applications/coreutils.desktop"}});
        root->desktop("/usr/share/applications/vim.desktop",
                      "Type=Application\nName=Vim\nTryExec=vim\nIcon=gvim");
        root->desktop("/usr/share/applications/coreutils.desktop",
                      "Type=Application\nName=Core Utilities");
        root->writeStatus();

        const QString fp = "/var/lib/flatpak";
        root->desktop(fp + "/exports/share/applications/org.gnome.Maps.desktop",
                      "Type=Application\nName=Maps\nX-Flatpak=org.gnome.Maps");
        root->symlink(fp + "/app/org.gnome.Maps/current", "x86_64/stable");
        QDir().mkpath(root->file(fp + "/app/org.gnome.Maps/x86_64/stable/abc"));
        root->symlink(fp + "/app/org.gnome.Maps/x86_64/stable/active", "abc");
        const QString ufp = FakeRoot::dataHome() + "/flatpak";
        root->desktop(ufp + "/exports/share/applications/org.example.Notes.desktop",
                      "Type=Application\nName=Notes\nX-Flatpak=org.example.Notes");
        root->symlink(ufp + "/app/org.example.Notes/current", "x86_64/master");
        QDir().mkpath(root->file(ufp + "/app/org.example.Notes/x86_64/master/def"));
        root->symlink(ufp + "/app/org.example.Notes/x86_64/master/active", "def");

        root->desktop("/var/lib/snapd/desktop/applications/hello_hello.desktop",
                      "Type=Application\nName=Hello\nX-SnapInstanceName=hello");
        root->write("/snap/hello/27/meta/snap.yaml", "name: hello\nversion: 2.10\n");
        root->symlink("/snap/hello/current", "27");

        root->write("/home/u/Apps/Tool.AppImage", "ELF");
        root->desktop(FakeRoot::dataHome() + "/applications/appimagekit_tool.desktop",
                      "Type=Application\nName=Tool\nExec=/home/u/Apps/Tool.AppImage\n"
                      "Icon=appimagekit_tool");
        root->write(FakeRoot::dataHome() + "/icons/hicolor/64x64/apps/appimagekit_tool.png", "png");
        root->write(FakeRoot::dataHome() + "/icons/hicolor/32x32/apps/appimagekit_tool.png", "png");

        SystemSync sync(root->layout(), folder->storePath());
        QVERIFY(sync.run().ok);
        QVERIFY(hasEntry("deb:vim-common"));
        QVERIFY(hasEntry("snap:hello"));
    }
    void cleanup() {
        root.reset();
        folder.reset();
        work.reset();
    }

    void debPreviewListsWhatGoesWithItAndNoChangesNothing() {
        if (!sessionBus())
            QSKIP("needs a private session bus (run under dbus-run-session)");
        FakePackageKit pk(work->path(), scenario("success"));
        ui.answer = {false, false};
        QCOMPARE(uninstall("deb", "vim-common"), UninstallOutcome::Cancelled);
        QCOMPARE(ui.asked.size(), 1);
        QCOMPARE(ui.asked[0].items,
                 QStringList({"vim-common 2:9.0.1378-2 (all)", "vim 2:9.0.1378-2 (amd64)"}));
        QCOMPARE(ui.asked[0].displayName, QString("Vim"));
        QVERIFY(!ui.asked[0].offerDeleteData);
        const QStringList log = pk.log();
        QVERIFY(log.contains("Resolve 4 vim-common"));
        QVERIFY(log.contains("RemovePackages 4 vim-common;2:9.0.1378-2;all;installed:debian "
                             "true false"));
        for (const QString& line : log) {
            QVERIFY2(!line.startsWith("SetHints"), qPrintable(line));
            QVERIFY2(!line.startsWith("RemovePackages 0"), qPrintable(line));
        }
        QCOMPARE(StatusOf(*root, "vim-common"), QString("Status: install ok installed"));
        QVERIFY(hasEntry("deb:vim-common"));
    }

    void debRemovedThroughPackageKitThenItsEntryGoes() {
        if (!sessionBus())
            QSKIP("needs a private session bus (run under dbus-run-session)");
        FakePackageKit pk(work->path(), scenario("success"));
        QCOMPARE(uninstall("deb", "vim-common"), UninstallOutcome::Success);
        const QStringList log = pk.log();
        const qsizetype hints = log.indexOf("SetHints interactive=true");
        const qsizetype remove =
            log.indexOf("RemovePackages 0 vim-common;2:9.0.1378-2;all;installed:debian true false");
        QVERIFY2(hints >= 0 && remove > hints, qPrintable(log.join('\n')));
        QCOMPARE(StatusOf(*root, "vim"), QString("Status: deinstall ok config-files"));
        QVERIFY(!hasEntry("deb:vim-common"));
        QVERIFY(hasEntry("snap:hello"));
        QVERIFY(processes.started.isEmpty());
    }

    void debRemovalTakingASystemPackageAlongIsRefused() {
        if (!sessionBus())
            QSKIP("needs a private session bus (run under dbus-run-session)");
        for (const QString& needed : {QString("gnome-shell"), QString("coreutils")}) {
            ui = FakeUi();
            FakePackageKit pk(work->path(),
                              scenario("success", {{"vim-common", QJsonArray{"vim", needed}}}));
            QCOMPARE(uninstall("deb", "vim-common"), UninstallOutcome::Refused);
            QVERIFY(ui.asked.isEmpty());
            QVERIFY(ui.outcomes.last().second.contains(needed));
            for (const QString& line : pk.log())
                QVERIFY2(!line.startsWith("RemovePackages 0"), qPrintable(line));
            QVERIFY(hasEntry("deb:vim-common"));
            QFile::remove(work->path() + "/packagekit.log");
        }
    }

    void debPackageKitAnswers_data() {
        QTest::addColumn<QString>("remove");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("no password")
            << "not-authorized" << int(UninstallOutcome::Cancelled) << "cancelled";
        QTest::newRow("failure") << "fail" << int(UninstallOutcome::Failed)
                                 << "The dependencies could not be resolved.";
        QTest::newRow("success, yet installed")
            << "pretend" << int(UninstallOutcome::Failed) << "still installed";
    }
    void debPackageKitAnswers() {
        if (!sessionBus())
            QSKIP("needs a private session bus (run under dbus-run-session)");
        QFETCH(QString, remove);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        FakePackageKit pk(work->path(), scenario(remove));
        QCOMPARE(int(uninstall("deb", "vim-common")), outcome);
        QVERIFY2(ui.outcomes.last().second.contains(message),
                 qPrintable(ui.outcomes.last().second));
        QVERIFY(hasEntry("deb:vim-common"));
    }

    void debWithoutPackageKitOpensATerminal() {
        QDBusConnection none("no bus");
        processes.effect = [this](const QString&) {
            FakePackage vim = root->packages().first();
            vim.status = "deinstall ok config-files";
            root->package(vim);
            root->writeStatus();
        };
        QCOMPARE(uninstall("deb", "vim-common", none), UninstallOutcome::Success);
        QCOMPARE(processes.started,
                 QStringList({"x-terminal-emulator -e sudo apt-get remove -- vim-common"}));
        QCOMPARE(ui.asked.size(), 1);
        QVERIFY(!hasEntry("deb:vim-common"));

        // Declined in the window: no terminal.
        ui = FakeUi();
        processes = ScriptedProcesses();
        ui.answer = {false, false};
        root->package({"vim-common",
                       "2:9.0.1378-2",
                       "all",
                       "install ok installed",
                       QString(),
                       {"/usr/share/applications/vim.desktop"}});
        root->writeStatus();
        QCOMPARE(uninstall("deb", "vim-common", none), UninstallOutcome::Cancelled);
        QVERIFY(processes.started.isEmpty());
    }

    void systemPackagesAndMalformedIdsAreRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("id");
        QTest::newRow("essential") << "deb"
                                   << "coreutils";
        QTest::newRow("critical") << "deb"
                                  << "gnome-shell";
        QTest::newRow("shell text") << "deb"
                                    << "vim; rm -rf /";
        QTest::newRow("option") << "deb"
                                << "-y";
        QTest::newRow("upper case") << "deb"
                                    << "Vim";
        QTest::newRow("blank") << "deb"
                               << "vim common";
        QTest::newRow("substitution") << "deb"
                                      << "$(reboot)";
        QTest::newRow("no installation") << "flatpak"
                                         << "app/org.gnome.Maps/x86_64/stable";
        QTest::newRow("dots") << "flatpak"
                              << "system:app/org.x.Y/../stable/x";
        QTest::newRow("extra option") << "flatpak"
                                      << "system:app/org.gnome.Maps/x86_64/stable --delete-data";
        QTest::newRow("snap option") << "snap"
                                     << "--purge";
        QTest::newRow("snap upper case") << "snap"
                                         << "Hello";
        QTest::newRow("appimage path") << "appimage"
                                       << "../../etc/passwd";
        QTest::newRow("appimage upper case") << "appimage"
                                             << "ABCDEF012345";
        QTest::newRow("manual") << "manual"
                                << "mytool.desktop";
        QTest::newRow("unknown kind") << "rpm"
                                      << "vim";
    }
    void systemPackagesAndMalformedIdsAreRefused() {
        QFETCH(QString, kind);
        QFETCH(QString, id);
        QCOMPARE(uninstall(kind, id, QDBusConnection("no bus")), UninstallOutcome::Refused);
        QVERIFY(ui.asked.isEmpty());
        QVERIFY(processes.started.isEmpty());
        QCOMPARE(ui.outcomes.size(), 1);
        QVERIFY(hasEntry("deb:coreutils"));
    }

    void flatpakUninstalledAsThePerson() {
        const QString active =
            root->file("/var/lib/flatpak/app/org.gnome.Maps/x86_64/stable/active");
        processes.effect = [active](const QString&) {
            QFile::remove(active);
        };
        ui.answer = {true, true};
        QCOMPARE(uninstall("flatpak", "system:app/org.gnome.Maps/x86_64/stable"),
                 UninstallOutcome::Success);
        QCOMPARE(processes.started,
                 QStringList({"flatpak uninstall --system --noninteractive -y --delete-data -- "
                              "app/org.gnome.Maps/x86_64/stable"}));
        QVERIFY(ui.asked[0].offerDeleteData);
        QVERIFY(!hasEntry("flatpak:system:app/org.gnome.Maps/x86_64/stable"));

        // The user installation, keeping the data; then a cancel.
        processes = ScriptedProcesses();
        ui = FakeUi();
        ui.answer = {false, false};
        const QString id = "user:app/org.example.Notes/x86_64/master";
        QCOMPARE(uninstall("flatpak", id), UninstallOutcome::Cancelled);
        QVERIFY(processes.started.isEmpty());
        ui.answer = {true, false};
        const QString userActive = root->file(
            FakeRoot::dataHome() + "/flatpak/app/org.example.Notes/x86_64/master/active");
        processes.effect = [userActive](const QString&) {
            QFile::remove(userActive);
        };
        QCOMPARE(uninstall("flatpak", id), UninstallOutcome::Success);
        QCOMPARE(processes.started, QStringList({"flatpak uninstall --user --noninteractive -y -- "
                                                 "app/org.example.Notes/x86_64/master"}));
        QVERIFY(!hasEntry("flatpak:" + id));
    }

    void snapRemovedOnlyWhenReallyGone() {
        QCOMPARE(uninstall("snap", "hello"), UninstallOutcome::Failed); // snap did nothing
        QCOMPARE(processes.started, QStringList({"snap remove -- hello"}));
        QVERIFY(processes.polls >= 3); // waited for it to end
        QVERIFY(hasEntry("snap:hello"));

        processes = ScriptedProcesses();
        processes.effect = [this](const QString&) {
            root->remove("/snap/hello/current");
        };
        QCOMPARE(uninstall("snap", "hello"), UninstallOutcome::Success);
        QVERIFY(!hasEntry("snap:hello"));

        // A program that cannot be started.
        root->symlink("/snap/hello/current", "27");
        processes = ScriptedProcesses();
        processes.result = {0, LaunchError::FileNotFound, "The program snap was not found."};
        QCOMPARE(uninstall("snap", "hello"), UninstallOutcome::Failed);
        QVERIFY(ui.outcomes.last().second.contains("not found"));
    }

    void appImageMovedToTheTrash() {
        // The trash of the fake person, inside the temporary root.
        const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", root->file(FakeRoot::dataHome()).toUtf8());
        auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", oldDataHome); });

        SystemSource source(root->layout());
        QString id;
        for (const SystemApp& app : source.scan().apps) {
            if (app.kind == SourceKind::AppImage)
                id = app.uninstallId;
        }
        QVERIFY(!id.isEmpty());
        QCOMPARE(uninstall("appimage", id), UninstallOutcome::Success);
        QCOMPARE(ui.asked[0].items.size(), 4); // the file, its entry, two icons
        for (const QString& gone :
             QStringList{"/home/u/Apps/Tool.AppImage",
                         FakeRoot::dataHome() + "/applications/appimagekit_tool.desktop",
                         FakeRoot::dataHome() + "/icons/hicolor/64x64/apps/appimagekit_tool.png"})
            QVERIFY2(!QFileInfo::exists(root->file(gone)), qPrintable(gone));
        QStringList trashed;
        QDirIterator it(root->file(FakeRoot::dataHome() + "/Trash/files"), QDir::Files);
        while (it.hasNext())
            trashed.append(QFileInfo(it.next()).fileName());
        trashed.sort();
        QCOMPARE(trashed, QStringList({"Tool.AppImage", "appimagekit_tool.desktop",
                                       "appimagekit_tool.png", "appimagekit_tool.png-0001"}));
        QVERIFY(!hasEntry("appimage:" + id));
    }

    void alreadyGoneIsSuccessAndTheEntryGoes() {
        root->removePackage("vim-common");
        root->remove("/usr/share/applications/vim.desktop");
        root->writeStatus();
        QVERIFY(hasEntry("deb:vim-common"));
        QCOMPARE(uninstall("deb", "vim-common", QDBusConnection("no bus")),
                 UninstallOutcome::Success);
        QVERIFY(ui.asked.isEmpty());
        QVERIFY(!hasEntry("deb:vim-common"));
    }

    void windowAsksAndTells() {
        UninstallWindow window;
        window.showProgress("Looking...");
        QVERIFY(window.isVisible());
        QCOMPARE(window.findChild<QLabel*>("messageLabel")->text(), QString("Looking..."));

        UninstallPreview preview;
        preview.displayName = "Maps";
        preview.question = "Removing Maps removes:";
        preview.items = {"app/org.gnome.Maps/x86_64/stable"};
        preview.offerDeleteData = true;
        QTimer::singleShot(0, &window, [&window] {
            QCOMPARE(window.findChild<QListWidget*>("packageList")->count(), 1);
            QVERIFY(window.findChild<QCheckBox*>("deleteDataCheck")->isVisible());
            window.findChild<QCheckBox*>("deleteDataCheck")->setChecked(true);
            QTest::mouseClick(window.findChild<QPushButton*>("uninstallButton"), Qt::LeftButton);
        });
        UninstallChoice choice = window.confirm(preview);
        QVERIFY(choice.accepted);
        QVERIFY(choice.deleteData);

        // Escape is a no.
        preview.offerDeleteData = false;
        QTimer::singleShot(0, &window, [&window] {
            QVERIFY(!window.findChild<QCheckBox*>("deleteDataCheck")->isVisible());
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        choice = window.confirm(preview);
        QVERIFY(!choice.accepted);

        // A failure stays until the person closes it; a success does not.
        QTimer::singleShot(0, &window, [&window] {
            QCOMPARE(window.findChild<QLabel*>("messageLabel")->text(), QString("It failed."));
            QVERIFY(!window.findChild<QPushButton*>("uninstallButton")->isVisible());
            QTest::mouseClick(window.findChild<QPushButton*>("closeButton"), Qt::LeftButton);
        });
        window.showOutcome(UninstallOutcome::Failed, "It failed.");
        QVERIFY(!window.isVisible());
        window.showOutcome(UninstallOutcome::Success, "Done.");
        QVERIFY(!window.isVisible());
    }

    void commandLine() {
        // Help and wrong usage need no display: run without one.
        QByteArray output;
        auto run = [&output](const QStringList& args) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                env.remove(name);
            p.setProcessEnvironment(env);
            p.start(RELVANO_UNINSTALL_TOOL, args);
            p.waitForFinished(30000);
            output = p.readAllStandardOutput();
            return p.exitCode();
        };
        QCOMPARE(run({"--help"}), 0);
        QVERIFY2(output.startsWith("Usage: relvano-uninstall [options] kind id"),
                 output.constData());
        QCOMPARE(run({}), UninstallUsageExit);
        QCOMPARE(run({"deb"}), UninstallUsageExit);
        QCOMPARE(run({"deb", "a", "b"}), UninstallUsageExit);
        QCOMPARE(run({"--bogus", "deb", "vim"}), UninstallUsageExit);
    }
};

QTEST_MAIN(UninstallTest)
#include "UninstallTest.moc"
