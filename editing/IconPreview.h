// The picture the change-icon dialog previews for a DisplayIcon text.
#pragma once

#include <QPixmap>
#include <QString>

// The file a DisplayIcon text names for the preview: the icon or program file
// ExtractIconPath finds when it exists, otherwise an image file of the kinds a
// Linux program uses for its icon (.png, .svg, .xpm), found the same way
// (from a drive letter, or a "/" that begins a word, through the first such
// extension). An icon index after a comma falls outside.
QString PreviewIconPath(const QString& text);

// The large picture of an existing file: an image file's own picture, else
// the desktop's icon for the file. A null pixmap when there is none.
QPixmap PreviewIcon(const QString& path, int size);
