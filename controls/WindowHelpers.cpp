#include "controls/WindowHelpers.h"

#include <QActionGroup>
#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <cmath>

bool IsIconImageFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"ico" || suffix == u"png" || suffix == u"svg" || suffix == u"svgz" ||
           suffix == u"xpm";
}

QList<QImage> ReadIconImages(const QString& path, qint64 maxBytes, int maxImages) {
    QList<QImage> images;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maxBytes || !IsIconImageFile(path))
        return images;
    QImageReader reader(path);
    if (reader.format() == "svg" || reader.format() == "svgz")
        reader.setScaledSize(QSize(64, 64));
    // An .ico file holds several sizes; take them (up to the limit) and let
    // the view pick.
    do {
        const QImage image = reader.read();
        if (!image.isNull())
            images.append(image);
    } while (images.size() < maxImages && reader.jumpToNextImage());
    return images;
}

QIcon GetFileIcon(const QString& path, bool large) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return QIcon();
    if (IsIconImageFile(path)) {
        QIcon icon;
        for (const QImage& image : ReadIconImages(path))
            icon.addPixmap(QPixmap::fromImage(image));
        if (!icon.isNull())
            return icon;
    }
    static QFileIconProvider provider;
    QIcon icon = provider.icon(info);
    if (icon.isNull() && info.isExecutable())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    Q_UNUSED(large); // a QIcon carries every size; the view asks for the one it shows
    return icon;
}

GradientStrip::GradientStrip(const QColor& start, const QColor& end, QWidget* parent)
    : QWidget(parent), start_(start), end_(end) {}

void GradientStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawGradient(painter, width() - 1, height(), start_, end_);
}

QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

QAction* AddToolButton(QToolBar* toolBar, const char* name, const QString& caption,
                       const QIcon& icon) {
    QAction* action = toolBar->addAction(icon, caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

void LayOutDialog(QDialog* dialog, QLayout* fields, const QList<QPushButton*>& buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(row);
}

QPushButton* MakeCancelButton(QDialog* dialog) {
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("Cmd_Cancel"));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return cancel;
}

QStatusBar* MakeStatusBar(QWidget* window, const QList<QLabel*>& panels) {
    auto* bar = new QStatusBar(window);
    bar->setObjectName(QStringLiteral("Sb"));
    bar->setSizeGripEnabled(false);
    for (qsizetype i = 0; i < panels.size(); ++i)
        bar->addWidget(panels[i], i == 0 ? 1 : 0);
    return bar;
}

void DrawGradient(QPainter& painter, int width, int height, const QColor& start,
                  const QColor& end) {
    if (width <= 0) {
        painter.setPen(start);
        painter.drawLine(0, 0, 0, height);
        return;
    }
    const double w = width;
    const double stepR = (end.red() - start.red()) / w;
    const double stepG = (end.green() - start.green()) / w;
    const double stepB = (end.blue() - start.blue()) / w;
    for (int x = 0; x <= width; ++x) {
        const QColor c(static_cast<int>(std::nearbyint(start.red() + x * stepR)),
                       static_cast<int>(std::nearbyint(start.green() + x * stepG)),
                       static_cast<int>(std::nearbyint(start.blue() + x * stepB)));
        painter.setPen(c);
        painter.drawLine(x, 0, x, height);
    }
}

void SetMenuRadio(QMainWindow* window, int menuNumber, int checked, int first, int last) {
    if (!window)
        return;
    const QList<QAction*> menus = window->menuBar()->actions();
    if (menuNumber < 1 || menuNumber > menus.size() || !menus[menuNumber - 1]->menu())
        return;
    QMenu* menu = menus[menuNumber - 1]->menu();
    const QList<QAction*> items = menu->actions();
    // Items in one exclusive group are drawn with radio marks.
    QActionGroup* group = nullptr;
    for (int i = std::max(first, 1); i <= last && i <= items.size(); ++i) {
        if (items[i - 1]->actionGroup())
            group = items[i - 1]->actionGroup();
    }
    if (!group) {
        group = new QActionGroup(menu);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    }
    for (int i = std::max(first, 1); i <= last && i <= items.size(); ++i) {
        QAction* item = items[i - 1];
        if (item->isSeparator())
            continue;
        group->addAction(item);
        item->setCheckable(true);
        item->setChecked(i == checked);
    }
}

void CloseOnEsc(int key, QWidget* window) {
    if (window && (key == Qt::Key_Escape || key == 27))
        window->close();
}

void RemoveSystemMenuItems(QWidget* window, int a, int b) {
    if (!window)
        return;
    if (a == 1 || b == 1) {
        window->setWindowFlag(Qt::CustomizeWindowHint, true);
        window->setWindowFlag(Qt::WindowCloseButtonHint, false);
    }
}
