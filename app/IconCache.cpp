#include "app/IconCache.h"

#include "controls/WindowHelpers.h"

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
    auto it = icons_.constFind(file);
    if (it == icons_.constEnd()) {
        ++filesRead_;
        QIcon loaded = GetFileIcon(file, true);
        it = icons_.insert(file, loaded.isNull() ? defaultIcon() : loaded);
    }
    return *it;
}

void InitRelvanoResources() {
    // The images live in the windows' static library; this keeps them linked in.
    Q_INIT_RESOURCE(resources);
}
