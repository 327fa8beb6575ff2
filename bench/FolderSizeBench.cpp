// FolderSize over a tree of 100,000 files, against `du -sb` on the same tree
// in the same run.
//   build/bin/folder_size_bench [files]
#include "core/FileFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    // 100 folders of 10 subfolders, files spread over them.
    for (int i = 0; i < files; ++i) {
        const QString folder = dir.filePath(QString("d%1/s%2").arg(i % 100).arg(i % 1000 / 100));
        if (i < 1000)
            QDir().mkpath(folder);
        QFile f(folder + QString("/f%1.dat").arg(i));
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(i % 300, 'x'));
    }
    QList<double> ours;
    QList<double> du;
    quint64 size = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        size = FolderSize(dir.path()).value_or(0);
        ours.append(t.nsecsElapsed() / 1e6);
        QProcess p;
        t.restart();
        p.start("du", {"-sb", dir.path()});
        p.waitForFinished(-1);
        du.append(t.nsecsElapsed() / 1e6);
    }
    std::printf("files: %d, bytes: %llu\n", files, static_cast<unsigned long long>(size));
    std::printf("FolderSize: %.1f ms (median of 5)\n", Median(ours));
    std::printf("du -sb:     %.1f ms (median of 5)\n", Median(du));
    std::printf("ratio:      %.2f\n", Median(ours) / Median(du));
    return 0;
}
