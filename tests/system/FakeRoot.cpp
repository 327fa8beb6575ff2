#include "tests/system/FakeRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>
#include <sys/time.h>

FakeRoot::FakeRoot() {
    for (const char* folder : {"/var/lib/dpkg/info", "/var/lib/dpkg/updates",
                               "/usr/share/applications", "/usr/bin", "/bin"})
        QDir().mkpath(file(QString::fromLatin1(folder)));
    writeStatus();
}

SystemLayout FakeRoot::layout(const QString& locale) const {
    SystemLayout l;
    l.root = path();
    l.dataHome = dataHome();
    l.dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    l.pathDirs = {QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin"),
                  QStringLiteral("/bin")};
    l.locale = locale;
    l.uninstallProgram = uninstaller();
    return l;
}

void FakeRoot::setMtime(const QString& path, const QDateTime& mtime) {
    struct timeval times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(mtime.toSecsSinceEpoch());
    times[0].tv_usec = times[1].tv_usec = 0;
    ::lutimes(QFile::encodeName(path).constData(), times);
}

void FakeRoot::write(const QString& rootPath, const QByteArray& content, const QDateTime& mtime) {
    const QString f = file(rootPath);
    QDir().mkpath(QFileInfo(f).absolutePath());
    QFile out(f);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(f));
    out.close();
    if (mtime.isValid())
        setMtime(f, mtime);
}

void FakeRoot::executable(const QString& rootPath) {
    write(rootPath, "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(file(rootPath), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadGroup | QFile::ExeGroup);
}

void FakeRoot::symlink(const QString& rootPath, const QString& target) {
    const QString f = file(rootPath);
    QDir().mkpath(QFileInfo(f).absolutePath());
    QFile::remove(f);
    if (!QFile::link(target, f))
        qFatal("cannot link %s", qPrintable(f));
}

void FakeRoot::remove(const QString& rootPath) {
    const QString f = file(rootPath);
    if (QFileInfo(f).isDir() && !QFileInfo(f).isSymLink())
        QDir(f).removeRecursively();
    else
        QFile::remove(f);
}

QString FakeRoot::listName(const FakePackage& p) {
    return p.archInListName ? p.name + u':' + p.arch : p.name;
}

void FakeRoot::package(const FakePackage& p, const QDateTime& listTime) {
    for (qsizetype i = 0; i < packages_.size(); ++i) {
        if (packages_[i].name == p.name && packages_[i].arch == p.arch) {
            packages_.removeAt(i);
            break;
        }
    }
    packages_.append(p);
    // dpkg lists the folders too, each once, before their files.
    QStringList lines{QStringLiteral("/.")};
    for (const QString& f : p.files) {
        QString folder = QFileInfo(f).path();
        QStringList parents;
        while (folder != u"/" && !folder.isEmpty()) {
            parents.prepend(folder);
            folder = QFileInfo(folder).path();
        }
        for (const QString& parent : parents) {
            if (!lines.contains(parent))
                lines.append(parent);
        }
        lines.append(f);
    }
    write(QStringLiteral("/var/lib/dpkg/info/") + listName(p) + QStringLiteral(".list"),
          (lines.join(u'\n') + u'\n').toUtf8(), listTime);
}

void FakeRoot::removePackage(const QString& name) {
    for (qsizetype i = packages_.size() - 1; i >= 0; --i) {
        if (packages_[i].name == name) {
            remove(QStringLiteral("/var/lib/dpkg/info/") + listName(packages_[i]) +
                   QStringLiteral(".list"));
            packages_.removeAt(i);
        }
    }
}

void FakeRoot::writeStatus() {
    QByteArray text;
    for (const FakePackage& p : std::as_const(packages_)) {
        text += "Package: " + p.name.toUtf8() + "\nStatus: " + p.status.toUtf8() +
                "\nPriority: optional\nSection: misc\nInstalled-Size: 100\n"
                "Maintainer: Some One <some@example.org>\nArchitecture: " +
                p.arch.toUtf8() + "\nVersion: " + p.version.toUtf8() + "\n";
        if (!p.extra.isEmpty())
            text += p.extra.toUtf8() + (p.extra.endsWith(u'\n') ? "" : "\n");
        text += "Description: a package\n more about it\n .\n and more\n\n";
    }
    QSaveFile out(file(QStringLiteral("/var/lib/dpkg/status")));
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        qFatal("cannot write the status file");
}

void FakeRoot::desktop(const QString& rootPath, const QString& lines) {
    write(rootPath, (QStringLiteral("[Desktop Entry]\n") + lines + u'\n').toUtf8());
}
