#include "app/IconCache.h"

#include "controls/WindowHelpers.h"

#include <QPixmap>

IconCache::IconCache(QObject* parent) : QObject(parent) {
    pool_.setMaxThreadCount(1);
}

IconCache::~IconCache() {
    // No reader may post a result to a cache that is gone.
    pool_.clear();
    pool_.waitForDone();
}

QIcon IconCache::defaultIcon() {
    InitRelvanoResources();
    static const QIcon icon = [] {
        QIcon both(QStringLiteral(":/relvano/program.png"));
        both.addFile(QStringLiteral(":/relvano/program16.png"));
        return both;
    }();
    return icon;
}

QIcon IconCache::icon(const QString& file) {
    if (file.isEmpty())
        return defaultIcon();
    const auto it = icons_.constFind(file);
    if (it != icons_.constEnd())
        return *it;
    if (!pending_.contains(file)) {
        pending_.insert(file);
        ++filesRead_;
        pool_.start([this, file] {
            const QList<QImage> images = ReadIconImages(file);
            QMetaObject::invokeMethod(
                this, [this, file, images] { loaded(file, images); }, Qt::QueuedConnection);
        });
    }
    return defaultIcon();
}

void IconCache::loaded(const QString& file, const QList<QImage>& images) {
    pending_.remove(file);
    QIcon icon;
    for (const QImage& image : images)
        icon.addPixmap(QPixmap::fromImage(image));
    // A file that is no icon file shows the desktop's icon of its type.
    if (icon.isNull() && !IsIconImageFile(file))
        icon = GetFileIcon(file, true);
    if (icon.isNull())
        icon = defaultIcon();
    icons_.insert(file, icon);
    emit iconLoaded(file, icon);
}

void InitRelvanoResources() {
    // The images live in the windows' static library; this keeps them linked in.
    Q_INIT_RESOURCE(resources);
}
