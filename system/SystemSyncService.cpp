#include "system/SystemSyncService.h"

#include "core/Settings.h"

#include <QDir>
#include <QSet>

SystemSyncWorker::SystemSyncWorker(const SystemLayout& layout, const QString& storeFile)
    : layout_(layout), storeFile_(storeFile) {}

SystemSyncWorker::~SystemSyncWorker() = default;

void SystemSyncWorker::sync(bool clear) {
    if (!sync_)
        sync_ = std::make_unique<SystemSync>(layout_, storeFile_);
    const SyncResult result = clear ? sync_->clear() : sync_->run();
    emit done(result, clear ? QStringList() : sync_->source().watchFolders());
}

SystemSyncService::SystemSyncService(const Settings& settings, QObject* parent)
    : QObject(parent), settings_(settings) {
    worker_ = new SystemSyncWorker(settings_.layout, settings_.storeFile);
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &SystemSyncWorker::done, this, &SystemSyncService::onWorkerDone);
    quiet_.setSingleShot(true);
    quiet_.setInterval(settings_.quietMs);
    connect(&quiet_, &QTimer::timeout, this, &SystemSyncService::onQuiet);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
            &SystemSyncService::onFolderChanged);
}

SystemSyncService::~SystemSyncService() {
    quiet_.stop();
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    if (thread_.isRunning()) {
        // The worker is deleted in its thread once the loop has ended; a sync
        // in progress finishes first.
        thread_.quit();
        thread_.wait();
    } else {
        delete worker_;
    }
}

bool SystemSyncService::SourceEnabled(const QString& configIni) {
    return ReadIniFlag(configIni, QStringLiteral("Options"), QStringLiteral("Sys"), true);
}

void SystemSyncService::start() {
    if (started_)
        return;
    started_ = true;
    enabled_ = SourceEnabled(settings_.configIni);
    thread_.setObjectName(QStringLiteral("SystemSync"));
    thread_.start(QThread::LowPriority);
    runNow();
}

void SystemSyncService::requestSync() {
    if (!started_ || !enabled_)
        return;
    if (running_)
        pending_ = true;
    else
        runNow();
}

void SystemSyncService::reloadSetting() {
    if (!started_)
        return;
    const bool on = SourceEnabled(settings_.configIni);
    if (on == enabled_)
        return;
    enabled_ = on;
    if (!on) {
        quiet_.stop();
        if (!watcher_.directories().isEmpty())
            watcher_.removePaths(watcher_.directories());
    }
    // Turned on: a sync; turned off: the clearing run. Either waits for a
    // sync in progress.
    if (running_)
        pending_ = true;
    else
        runNow();
}

QStringList SystemSyncService::watchedFolders() const {
    return watcher_.directories();
}

void SystemSyncService::runNow() {
    running_ = true;
    const bool clear = !enabled_;
    QMetaObject::invokeMethod(
        worker_, [w = worker_, clear] { w->sync(clear); }, Qt::QueuedConnection);
}

void SystemSyncService::onWorkerDone(const SyncResult& result, const QStringList& folders) {
    running_ = false;
    if (enabled_) {
        const QStringList watched = watcher_.directories();
        const QSet<QString> now(folders.cbegin(), folders.cend());
        QStringList gone;
        for (const QString& dir : watched) {
            if (!now.contains(dir))
                gone.append(dir);
        }
        if (!gone.isEmpty())
            watcher_.removePaths(gone);
        QStringList added;
        for (const QString& dir : folders) {
            if (!watched.contains(dir))
                added.append(dir);
        }
        if (!added.isEmpty())
            watcher_.addPaths(added);
    }
    if (result.ok && result.changed())
        emit storeChanged();
    emit syncFinished(result);
    if (pending_) {
        pending_ = false;
        runNow();
    }
}

void SystemSyncService::onFolderChanged() {
    quiet_.start(); // restarts the wait
}

void SystemSyncService::onQuiet() {
    if (dpkgBusy()) {
        quiet_.start();
        return;
    }
    requestSync();
}

bool SystemSyncService::dpkgBusy() const {
    const QDir updates(settings_.layout.file(SystemLayout::dpkgDir() + QStringLiteral("/updates")));
    for (const QString& name : updates.entryList(QDir::Files)) {
        bool digits = !name.isEmpty();
        for (const QChar c : name)
            digits = digits && c.isDigit();
        if (digits)
            return true;
    }
    return false;
}
