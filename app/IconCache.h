// Icons of files, each file read once per run; the program's default icon for
// entries without one.
#pragma once

#include <QHash>
#include <QIcon>

class IconCache {
public:
    QIcon icon(const QString& file); // empty file: the default icon
    static QIcon defaultIcon();
    int filesRead() const { return filesRead_; }

private:
    QHash<QString, QIcon> icons_;
    int filesRead_ = 0;
};

// Registers the program's images (icons, splash picture) once.
void InitRelvanoResources();
