#include "info/FolderSizeJob.h"

#include "core/FileFolder.h"
#include "core/TextHelpers.h"

FolderSizeJob::FolderSizeJob(QObject* parent) : QObject(parent) {}

FolderSizeJob::~FolderSizeJob() {
    stop();
}

void FolderSizeJob::stop() {
    if (stop_)
        stop_->store(true);
    if (thread_.joinable())
        thread_.join();
    stop_.reset();
    ++run_;
    busy_ = false;
}

void FolderSizeJob::start(const QStringList& folders) {
    stop();
    busy_ = true;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    // Each post carries the run it belongs to, and one that arrives after a
    // restart or a stop is dropped. The thread only posts; run_, busy_ and
    // the signals belong to the GUI thread. The job outlives its thread (the
    // destructor joins it), and posts still queued when it goes are dropped
    // with it.
    thread_ = std::thread([this, folders, stop = stop_, run = run_] {
        for (qsizetype i = 0; i < folders.size(); ++i) {
            const std::optional<quint64> size = FolderSize(folders[i], stop.get());
            if (stop->load())
                return;
            const QString text = size ? SizeText(static_cast<double>(*size)) : QString();
            QMetaObject::invokeMethod(
                this,
                [this, run, index = static_cast<int>(i), text] {
                    if (run == run_)
                        emit measured(index, text);
                },
                Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(
            this,
            [this, run] {
                if (run != run_)
                    return;
                busy_ = false;
                emit finished();
            },
            Qt::QueuedConnection);
    });
}
