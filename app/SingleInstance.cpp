#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    path_ = QDir(dir).filePath(QStringLiteral("TIV4.0_iv1.0.lock"));
}

bool SingleInstance::acquire() {
    lock_ = std::make_unique<QLockFile>(path_);
    lock_->setStaleLockTime(0); // only a dead owner makes a lock stale
    if (lock_->tryLock(0))
        return true;
    lock_.reset();
    return false;
}

void SingleInstance::release() {
    if (lock_)
        lock_->unlock();
    lock_.reset();
}
