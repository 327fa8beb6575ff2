// The background sync: first sync in the worker, storeChanged only when the
// store changed, watching folders with a quiet period, waiting while dpkg is
// at work, coalesced requests, and the "Sys" setting.
#include "core/AppContext.h"
#include "core/IniFile.h"
#include "core/SqliteStore.h"
#include "system/SystemSyncService.h"
#include "tests/support/TestEnv.h"
#include "tests/system/FakeRoot.h"

#include <QSignalSpy>
#include <QtTest>

class SyncServiceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeRoot> root;
    std::unique_ptr<TempProgramFolder> folder;

    SystemSyncService::Settings settings() {
        SystemSyncService::Settings s;
        s.layout = root->layout();
        s.storeFile = folder->storePath();
        s.configIni = folder->file("Config.Ini");
        s.quietMs = 300;
        return s;
    }
    void addApp(const QString& name) {
        root->package({name,
                       "1.0",
                       "amd64",
                       "install ok installed",
                       QString(),
                       {"/usr/share/applications/" + name + ".desktop"}});
        root->desktop("/usr/share/applications/" + name + ".desktop",
                      "Type=Application\nName=" + name);
    }
    QStringList entries() {
        SqliteStore store(folder->storePath());
        QStringList names;
        store.EnumSubkeys(RootKey::LocalMachine, AppContext::UninstallKeyPath, names);
        return names;
    }
    // Waits so long that a sync, had one been started, would have ended.
    static void settle() { QTest::qWait(1000); }

private slots:
    void init() {
        root = std::make_unique<FakeRoot>();
        folder = std::make_unique<TempProgramFolder>();
        addApp("alpha");
        addApp("beta");
        root->writeStatus();
    }
    void cleanup() {
        root.reset();
        folder.reset();
    }

    void firstSyncRunsInTheBackgroundThenWatches() {
        SystemSyncService service(settings());
        QSignalSpy changed(&service, &SystemSyncService::storeChanged);
        QSignalSpy finished(&service, &SystemSyncService::syncFinished);
        QVERIFY(!service.busy());
        service.start();
        QVERIFY(service.enabled());
        QVERIFY(service.busy()); // start() returned; the sync goes on in the worker
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(changed.count(), 1);
        QVERIFY(finished.first().first().value<SyncResult>().ok);
        QCOMPARE(finished.first().first().value<SyncResult>().added, 2);
        QCOMPARE(entries(), QStringList({"deb:alpha", "deb:beta"}));
        const QStringList watched = service.watchedFolders();
        QVERIFY(watched.contains(root->file("/var/lib/dpkg")));
        QVERIFY(watched.contains(root->file("/usr/share/applications")));
        for (const QString& dir : watched)
            QVERIFY2(dir.startsWith(root->path()), qPrintable(dir));

        // Nothing changed: a sync, no storeChanged.
        service.requestSync();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!finished.last().first().value<SyncResult>().changed());
    }

    void changesAreSyncedOnceAfterAQuietSecond() {
        QDir().mkpath(root->file(FakeRoot::dataHome()));
        SystemSyncService service(settings());
        QSignalSpy changed(&service, &SystemSyncService::storeChanged);
        QSignalSpy finished(&service, &SystemSyncService::syncFinished);
        service.start();
        QTRY_COMPARE(finished.count(), 1);

        // A burst of changes: one sync after the last.
        for (const char* name : {"gamma", "delta", "epsilon"}) {
            addApp(QString::fromLatin1(name));
            root->writeStatus();
            QTest::qWait(50);
        }
        QCOMPARE(finished.count(), 1);
        QTRY_COMPARE(changed.count(), 2);
        settle();
        QCOMPARE(finished.count(), 2);
        QCOMPARE(entries().size(), 5);

        // A new subfolder of an applications folder is watched after the sync
        // that found it.
        root->desktop("/usr/share/applications/sub/zeta.desktop", "Type=Application\nName=Zeta");
        QTRY_COMPARE(finished.count(), 3);
        QCOMPARE(changed.count(), 3); // a manual entry
        QTRY_VERIFY(service.watchedFolders().contains(root->file("/usr/share/applications/sub")));
        root->desktop("/usr/share/applications/sub/eta.desktop", "Type=Application\nName=Eta");
        QTRY_COMPARE(changed.count(), 4);
        QVERIFY(entries().contains("manual:sub-eta.desktop"));

        // The person's applications folder appears: its parent was watched.
        QVERIFY(service.watchedFolders().contains(root->file(FakeRoot::dataHome())));
        root->desktop(FakeRoot::dataHome() + "/applications/mine.desktop",
                      "Type=Application\nName=Mine");
        QTRY_COMPARE(changed.count(), 5);
        QVERIFY(entries().contains("manual:mine.desktop"));
    }

    void waitsWhileDpkgIsAtWork() {
        SystemSyncService service(settings());
        QSignalSpy finished(&service, &SystemSyncService::syncFinished);
        service.start();
        QTRY_COMPARE(finished.count(), 1);

        root->write("/var/lib/dpkg/updates/0001", "Package: beta\n");
        root->write("/var/lib/dpkg/updates/tmp.i", "not a number"); // not a dpkg step
        root->removePackage("beta");
        root->remove("/usr/share/applications/beta.desktop");
        root->writeStatus();
        settle();
        QCOMPARE(finished.count(), 1);
        QVERIFY(entries().contains("deb:beta"));

        root->remove("/var/lib/dpkg/updates/0001");
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(entries(), QStringList({"deb:alpha"}));
    }

    void requestsWhileBusyMakeOneMoreSync() {
        SystemSyncService service(settings());
        QSignalSpy finished(&service, &SystemSyncService::syncFinished);
        service.requestSync(); // before start: nothing
        service.start();
        service.requestSync();
        service.requestSync();
        service.requestSync();
        QTRY_COMPARE(finished.count(), 2);
        settle();
        QCOMPARE(finished.count(), 2);
    }

    void turnedOffRemovesItsEntriesAndWatchesNothing() {
        {
            SystemSync sync(root->layout(), folder->storePath());
            QVERIFY(sync.run().ok);
            SqliteStore store(folder->storePath());
            store.SetStringValue(RootKey::LocalMachine, AppContext::UninstallKeyPath + "Foo",
                                 "DisplayName", "Foo");
        }
        WriteIni(folder->file("Config.Ini"), "Options", "Sys", "0");
        QVERIFY(!SystemSyncService::SourceEnabled(folder->file("Config.Ini")));
        QVERIFY(SystemSyncService::SourceEnabled(folder->file("Missing.Ini")));

        SystemSyncService service(settings());
        QSignalSpy changed(&service, &SystemSyncService::storeChanged);
        QSignalSpy finished(&service, &SystemSyncService::syncFinished);
        service.start();
        QVERIFY(!service.enabled());
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(entries(), QStringList({"Foo"}));
        QVERIFY(service.watchedFolders().isEmpty());

        addApp("gamma");
        root->writeStatus();
        service.requestSync();
        settle();
        QCOMPARE(finished.count(), 1);

        // Turned on again from the options: a sync, and watching.
        service.reloadSetting(); // unchanged: nothing
        QCOMPARE(finished.count(), 1);
        WriteIni(folder->file("Config.Ini"), "Options", "Sys", "1");
        service.reloadSetting();
        QVERIFY(service.enabled());
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(entries(), QStringList({"deb:alpha", "deb:beta", "deb:gamma", "Foo"}));
        QVERIFY(!service.watchedFolders().isEmpty());
        // And off again.
        WriteIni(folder->file("Config.Ini"), "Options", "Sys", "0");
        service.reloadSetting();
        QVERIFY(service.watchedFolders().isEmpty());
        QTRY_COMPARE(finished.count(), 3);
        QCOMPARE(entries(), QStringList({"Foo"}));
    }

    void endsCleanlyDuringASync() {
        for (int i = 0; i < 3; ++i) {
            auto service = std::make_unique<SystemSyncService>(settings());
            service->start();
            service.reset();
        }
        auto never = std::make_unique<SystemSyncService>(settings());
        never.reset(); // never started
        QVERIFY(true);
    }
};

QTEST_GUILESS_MAIN(SyncServiceTest)
#include "SyncServiceTest.moc"
