#include "system/IconLookup.h"

#include <QFile>

#include <cstring>
#include <dirent.h>

namespace {

// Names of the entries of a folder (files and links), without "." and "..".
QList<QByteArray> ListFolder(const QString& folder) {
    QList<QByteArray> names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.' &&
            (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
            continue;
        names.append(QByteArray(e->d_name));
    }
    ::closedir(dir);
    return names;
}

// "48x48" -> 48, "48x48@2" -> 96, "scalable" -> 0; -1 for other names.
int FolderSize(const QByteArray& name) {
    if (name == "scalable")
        return 0;
    const qsizetype x = name.indexOf('x');
    if (x <= 0)
        return -1;
    bool ok = false;
    const int size = name.left(x).toInt(&ok);
    if (!ok || size <= 0)
        return -1;
    int scale = 1;
    if (const qsizetype at = name.indexOf('@'); at > x) {
        scale = name.mid(at + 1).toInt(&ok);
        if (!ok || scale <= 0)
            scale = 1;
    }
    return size * scale;
}

} // namespace

void IconLookup::refresh(const QStringList& iconBases, const QStringList& pixmapDirs) {
    if (iconBases == bases_ && pixmapDirs == pixmaps_ && !dirStamps_.isEmpty()) {
        bool same = true;
        for (auto it = dirStamps_.cbegin(); same && it != dirStamps_.cend(); ++it) {
            const auto stamp = StatFile(it.key());
            same = stamp ? *stamp == *it : it->size == -2;
        }
        if (same)
            return;
    }
    index(iconBases, pixmapDirs);
}

void IconLookup::index(const QStringList& iconBases, const QStringList& pixmapDirs) {
    bases_ = iconBases;
    pixmaps_ = pixmapDirs;
    dirStamps_.clear();
    theme_.clear();
    pixmapFiles_.clear();
    // A folder that does not exist is remembered too, so that its creation
    // is noticed.
    auto remember = [this](const QString& folder) {
        const auto stamp = StatFile(folder);
        dirStamps_.insert(folder, stamp ? *stamp : FileStamp{-2, -2, 0});
        return stamp.has_value();
    };
    auto addFiles = [](const QString& folder, int size, int order,
                       QHash<QString, QList<Candidate>>& into) {
        for (const QByteArray& file : ListFolder(folder)) {
            const qsizetype dot = file.lastIndexOf('.');
            if (dot <= 0)
                continue;
            const QByteArray ext = file.mid(dot + 1).toLower();
            Kind kind;
            if (ext == "png")
                kind = Png;
            else if (ext == "svg")
                kind = Svg;
            else if (ext == "xpm")
                kind = Xpm;
            else
                continue;
            into[QFile::decodeName(file.left(dot))].append(
                {kind, kind == Svg ? 0 : size, order, folder + u'/' + QFile::decodeName(file)});
        }
    };
    int order = 0;
    for (const QString& base : iconBases) {
        const QString hicolor = base + QStringLiteral("/hicolor");
        if (!remember(hicolor)) {
            ++order;
            continue;
        }
        for (const QByteArray& sizeDir : ListFolder(hicolor)) {
            const int size = FolderSize(sizeDir);
            if (size < 0)
                continue;
            const QString apps =
                hicolor + u'/' + QFile::decodeName(sizeDir) + QStringLiteral("/apps");
            if (remember(apps))
                addFiles(apps, size, order, theme_);
        }
        ++order;
    }
    for (const QString& dir : pixmapDirs) {
        if (remember(dir))
            addFiles(dir, 0, order, pixmapFiles_);
        ++order;
    }
}

QString IconLookup::find(const QString& value) const {
    if (value.isEmpty())
        return QString();
    QString name = value;
    auto lookup = [this](const QString& n) -> QString {
        if (const auto it = theme_.constFind(n); it != theme_.constEnd()) {
            const Candidate* bestPng = nullptr;
            const Candidate* svg = nullptr;
            const Candidate* xpm = nullptr;
            for (const Candidate& c : *it) {
                const Candidate** slot = c.kind == Png ? &bestPng : c.kind == Svg ? &svg : &xpm;
                const Candidate* current = *slot;
                if (!current || c.size > current->size ||
                    (c.size == current->size && c.order < current->order))
                    *slot = &c;
            }
            if (bestPng && bestPng->size >= 48)
                return bestPng->path;
            if (svg)
                return svg->path;
            if (bestPng)
                return bestPng->path;
            if (xpm)
                return xpm->path;
        }
        if (const auto it = pixmapFiles_.constFind(n); it != pixmapFiles_.constEnd()) {
            const Candidate* best = nullptr;
            for (const Candidate& c : *it) {
                if (!best || c.kind < best->kind || (c.kind == best->kind && c.order < best->order))
                    best = &c;
            }
            if (best)
                return best->path;
        }
        return QString();
    };
    QString found = lookup(name);
    if (found.isEmpty()) {
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot > 0) {
            const QString ext = name.mid(dot + 1).toLower();
            if (ext == u"png" || ext == u"svg" || ext == u"xpm")
                found = lookup(name.left(dot));
        }
    }
    return found;
}
