// Icons of files, each file read once per run and never on the GUI thread:
// an entry shows the program's default icon at once and its own icon as soon
// as a worker has read the file. Icon files are read with bounded work, so a
// hostile or huge file cannot hold up the window.
#pragma once

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QThreadPool>

class IconCache : public QObject {
    Q_OBJECT
public:
    explicit IconCache(QObject* parent = nullptr);
    ~IconCache() override;

    // The file's icon when it has been read; until then (and for an empty
    // file name) the default icon, and the file is queued for reading.
    QIcon icon(const QString& file);
    static QIcon defaultIcon();
    // Files queued for reading so far (each file once per run).
    int filesRead() const { return filesRead_; }
    // Files still being read.
    int pending() const { return static_cast<int>(pending_.size()); }

signals:
    // The file's own icon is known (the default icon when it has none).
    void iconLoaded(const QString& file, const QIcon& icon);

private:
    void loaded(const QString& file, const QList<QImage>& images);

    QHash<QString, QIcon> icons_;
    QSet<QString> pending_;
    int filesRead_ = 0;
    QThreadPool pool_;
};

// Registers the program's images (icons, splash picture) once.
void InitRelvanoResources();
