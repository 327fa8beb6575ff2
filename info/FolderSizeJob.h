// Folder sizes measured off the GUI thread. Walking a large folder tree takes
// seconds or minutes; a window that waited for it would stop repainting and
// could not even be closed. A job walks the folders it is given one after
// another on one thread of its own and posts each size back to the GUI
// thread, in the order given; stopping it (or destroying it, as a closing
// window does) ends the walk within one directory entry.
#pragma once

#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>
#include <thread>

class FolderSizeJob : public QObject {
    Q_OBJECT
public:
    explicit FolderSizeJob(QObject* parent = nullptr);
    ~FolderSizeJob() override; // stops the walk and waits for its thread

    // Measures the folders in order. A walk still running is stopped first and
    // its results are dropped.
    void start(const QStringList& folders);
    // Ends the walk; results not yet delivered are dropped, finished() is not
    // emitted.
    void stop();
    bool busy() const { return busy_; }

signals:
    // folders[index] measured: SizeText of its size, or empty text when it
    // could not be read (FolderSizeText).
    void measured(int index, const QString& sizeText);
    // Every folder of the run was measured and delivered.
    void finished();

private:
    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> stop_;
    quint64 run_ = 0; // results of an earlier run are dropped
    bool busy_ = false;
};
