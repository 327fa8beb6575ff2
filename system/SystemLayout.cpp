#include "system/SystemLayout.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString CleanAbsolute(const QString& path) {
    return QDir::cleanPath(path);
}

QString Env(const char* name) {
    return qEnvironmentVariable(name);
}

} // namespace

SystemLayout SystemLayout::FromEnvironment(const QString& root) {
    SystemLayout layout;
    layout.root = root.isEmpty() ? QStringLiteral("/") : QDir::cleanPath(root);

    QString home = Env("HOME");
    if (home.isEmpty())
        home = QDir::homePath();
    layout.dataHome = Env("XDG_DATA_HOME");
    if (layout.dataHome.isEmpty() || !layout.dataHome.startsWith(u'/'))
        layout.dataHome = home + QStringLiteral("/.local/share");
    layout.dataHome = CleanAbsolute(layout.dataHome);

    const QString dirs = Env("XDG_DATA_DIRS");
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts)) {
        if (dir.startsWith(u'/'))
            layout.dataDirs.append(CleanAbsolute(dir));
    }
    if (layout.dataDirs.isEmpty())
        layout.dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};

    for (const QString& dir : Env("PATH").split(u':', Qt::SkipEmptyParts)) {
        if (dir.startsWith(u'/'))
            layout.pathDirs.append(CleanAbsolute(dir));
    }
    if (layout.pathDirs.isEmpty())
        layout.pathDirs = {QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin"),
                           QStringLiteral("/bin")};

    // The message locale decides the language of names, as for any program.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = Env(name);
        if (!value.isEmpty()) {
            layout.locale = value;
            break;
        }
    }

    const QString exeDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    layout.uninstallProgram = exeDir.isEmpty() ? QStringLiteral("relvano-uninstall")
                                               : exeDir + QStringLiteral("/relvano-uninstall");
    return layout;
}

QString SystemLayout::file(const QString& path) const {
    if (root.isEmpty() || root == u'/')
        return path;
    if (path.startsWith(u'/'))
        return root + path;
    return root + u'/' + path;
}

QString SystemLayout::onRoot(const QString& file) const {
    if (root.isEmpty() || root == u'/')
        return file;
    if (file.startsWith(root) && (file.size() == root.size() || file[root.size()] == u'/'))
        return file.size() == root.size() ? QStringLiteral("/") : file.mid(root.size());
    return file;
}

QStringList SystemLayout::shareDirs() const {
    QStringList dirs;
    auto add = [&dirs](const QString& dir) {
        const QString clean = CleanAbsolute(dir);
        if (!clean.isEmpty() && !dirs.contains(clean))
            dirs.append(clean);
    };
    add(dataHome);
    for (const QString& dir : dataDirs)
        add(dir);
    add(flatpakUserDir() + QStringLiteral("/exports/share"));
    add(flatpakSystemDir() + QStringLiteral("/exports/share"));
    return dirs;
}

QStringList SystemLayout::applicationDirs() const {
    QStringList dirs;
    for (const QString& share : shareDirs())
        dirs.append(share + QStringLiteral("/applications"));
    dirs.append(snapDesktopDir());
    return dirs;
}

QString SystemLayout::flatpakUserDir() const {
    return dataHome + QStringLiteral("/flatpak");
}
