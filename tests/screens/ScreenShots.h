// What the screenshot programs share: waiting while the event loop runs, and
// saving a window as FOLDER/NAME.png.
#pragma once

#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <cstdio>

inline void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Lets the window settle (waitMs), then saves its picture and names the file.
inline void Save(QWidget& w, const QString& folder, const QString& name, int waitMs = 150) {
    if (waitMs > 0)
        Wait(waitMs);
    w.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    std::printf("%s.png\n", qPrintable(name));
}
