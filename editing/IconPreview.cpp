#include "editing/IconPreview.h"

#include "controls/WindowHelpers.h"
#include "core/TextHelpers.h"

#include <QFileInfo>
#include <QIcon>
#include <QImageReader>

namespace {

const QStringList ImageSuffixes{QStringLiteral("png"), QStringLiteral("svg"),
                                QStringLiteral("xpm")};

// Where a path begins in the text: the drive letter before ":\", or a "/" at
// the start or after a blank or quote. -1 when there is none.
qsizetype PathStart(const QString& text) {
    const qsizetype drive = text.indexOf(u":\\");
    if (drive >= 1)
        return drive - 1;
    if (drive == 0)
        return -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'/' &&
            (i == 0 || text[i - 1] == u' ' || text[i - 1] == u'"' || text[i - 1] == u'\''))
            return i;
    }
    return -1;
}

QString ImagePath(const QString& text) {
    const qsizetype start = PathStart(text);
    if (start < 0)
        return QString();
    const QString lower = text.toLower();
    qsizetype end = -1;
    for (const QString& suffix : ImageSuffixes) {
        const qsizetype at = lower.indexOf(u'.' + suffix, start);
        if (at >= 0 && (end < 0 || at < end))
            end = at;
    }
    return end < 0 ? QString() : text.mid(start, end + 4 - start);
}

} // namespace

QString PreviewIconPath(const QString& text) {
    const QString iconPath = ExtractIconPath(text);
    if (!iconPath.isEmpty() && QFileInfo(iconPath).isFile())
        return iconPath;
    const QString image = ImagePath(text);
    if (!image.isEmpty() && QFileInfo(image).isFile())
        return image;
    return iconPath.isEmpty() ? image : iconPath;
}

QPixmap PreviewIcon(const QString& path, int size) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return QPixmap();
    if (ImageSuffixes.contains(info.suffix().toLower())) {
        // An image file is its own icon, scaled to the preview.
        QImageReader reader(path);
        QSize target = reader.size();
        if (target.isValid())
            target.scale(QSize(size, size), Qt::KeepAspectRatio);
        else
            target = QSize(size, size);
        reader.setScaledSize(target);
        const QImage image = reader.read();
        if (!image.isNull())
            return QPixmap::fromImage(image);
    }
    return GetFileIcon(path, true).pixmap(size, size);
}
