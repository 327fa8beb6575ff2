// The program runs once per user: a lock named "TIV4.0_iv1.0" in the user's
// runtime folder marks a running copy. A lock left by a copy that crashed is
// taken over.
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

class SingleInstance {
public:
    // folder: where the lock lives (the user's runtime folder by default).
    explicit SingleInstance(const QString& folder = QString());
    // False when another copy holds the lock.
    bool acquire();
    void release();
    QString lockPath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};
