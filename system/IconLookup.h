// Finds the file of an application's icon, as a desktop would: the hicolor
// theme in every icons folder, then the pixmaps folders. The result is a file
// path that any reader of DisplayIcon can open.
//
// Choice among the sizes of one icon: the largest PNG when it is at least
// 48 pixels; else an SVG; else the largest PNG; else an XPM. PNG comes first
// because every image reader takes it; an SVG needs a plug-in.
#pragma once

#include "system/Dpkg.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class IconLookup {
public:
    // iconBases are ".../icons" folders and pixmapDirs ".../pixmaps" folders,
    // paths this process can open, in order of precedence. Folders are listed
    // again only when they changed since the last call.
    void refresh(const QStringList& iconBases, const QStringList& pixmapDirs);

    // The file for an icon name ("gvim"; a name with an extension is taken
    // without it too), or "" when there is none.
    QString find(const QString& name) const;

private:
    enum Kind { Png, Svg, Xpm };
    struct Candidate {
        Kind kind;
        int size;  // pixels (size x scale); 0 for scalable
        int order; // precedence of the folder it came from
        QString path;
    };
    void index(const QStringList& iconBases, const QStringList& pixmapDirs);

    QHash<QString, FileStamp> dirStamps_;
    QStringList bases_;
    QStringList pixmaps_;
    QHash<QString, QList<Candidate>> theme_;
    QHash<QString, QList<Candidate>> pixmapFiles_;
};
