// Keeps the store in line with the machine's applications while the program
// runs: syncs in a worker thread at start-up, on request ("Refresh", after an
// uninstall) and when the machine changes, and tells when the store changed.
//
// Use (the main window):
//
//     SystemSyncService::Settings settings;
//     settings.storeFile = JoinPath(context.programFolder(), StoreFileName);
//     settings.configIni = context.ConfigIniPath;
//     auto* sync = new SystemSyncService(settings, this);
//     connect(sync, &SystemSyncService::storeChanged, this, [this] { ResetList(); });
//     sync->start();           // after the window has shown the store's list
//     ...
//     sync->requestSync();     // "Refresh", and after the uninstall dialog closed
//
// The list shows what the store holds at once; the first sync runs in the
// background and storeChanged() comes once if it wrote anything. A sync of an
// unchanged machine writes nothing and emits no storeChanged().
//
// Watching: the dpkg folder (/var/lib/dpkg: dpkg replaces its status file by
// renaming, so the folder changes) and every desktop entry folder with its
// subfolders, plus the folders holding AppImages. Folders, never files. A
// change starts a one-second wait that every further change restarts; while
// /var/lib/dpkg/updates/ holds numbered files (dpkg is at work) the wait goes
// on. The watched folders are renewed after every sync, so a folder that
// appears is watched from the next sync on.
//
// The setting: section "Options", key "Sys" of Config.Ini, default 1. With 0
// the source is off: start() removes the source's entries once (in the
// worker) and neither watches nor syncs; requestSync() does nothing. A user
// sets it in Config.Ini for now (the options window may offer it later and
// call reloadSetting() after saving).
//
// All calls and signals on the thread that made the object (the GUI thread).
// The worker opens its own connection to the store file.
#pragma once

#include "system/SystemLayout.h"
#include "system/SystemSync.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QTimer>

Q_DECLARE_METATYPE(SyncResult)

class SystemSyncWorker;

class SystemSyncService : public QObject {
    Q_OBJECT
public:
    struct Settings {
        SystemLayout layout = SystemLayout::FromEnvironment(); // the real machine
        QString storeFile;                                     // Registry.db in the program folder
        QString configIni;  // Config.Ini: "Sys" in section "Options"
        int quietMs = 1000; // the wait after the last change
    };

    explicit SystemSyncService(const Settings& settings, QObject* parent = nullptr);
    // Stops watching and waits for a sync in progress to end.
    ~SystemSyncService() override;

    // The "Sys" setting (section "Options", default 1), read with ReadIniFlag.
    static bool SourceEnabled(const QString& configIni);

    // Reads the setting; when on, starts the first sync in the worker and
    // then watches. When off, removes the source's entries once. Calling it
    // again does nothing.
    void start();
    // Asks for a sync soon. A request while a sync runs makes one more sync
    // after it; several requests meanwhile make only that one.
    void requestSync();
    // Reads the setting again (after the options were saved): turned on, a
    // sync and watching; turned off, the source's entries removed and the
    // watching stopped. Nothing when it did not change or before start().
    void reloadSetting();

    bool enabled() const { return enabled_; }
    // True from a sync's start until its syncFinished().
    bool busy() const { return running_; }
    // The folders watched now.
    QStringList watchedFolders() const;

signals:
    // A sync wrote to the store: the list should reload.
    void storeChanged();
    // After every sync, changed or not; result.ok false when it failed (the
    // store unchanged then).
    void syncFinished(const SyncResult& result);

private:
    void runNow();
    void onWorkerDone(const SyncResult& result, const QStringList& watchFolders);
    void onFolderChanged();
    void onQuiet();
    bool dpkgBusy() const;

    Settings settings_;
    QThread thread_;
    SystemSyncWorker* worker_ = nullptr;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
    bool started_ = false;
    bool enabled_ = false;
    bool running_ = false;
    bool pending_ = false;
};

// The worker: lives in the service's thread and keeps the sync (and so its
// caches and its store connection) from run to run.
class SystemSyncWorker : public QObject {
    Q_OBJECT
public:
    SystemSyncWorker(const SystemLayout& layout, const QString& storeFile);
    ~SystemSyncWorker() override;
    void sync(bool clear);

signals:
    void done(const SyncResult& result, const QStringList& watchFolders);

private:
    SystemLayout layout_;
    QString storeFile_;
    std::unique_ptr<SystemSync> sync_;
};
