#include "system/SystemSource.h"

#include "system/FileRead.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString DateText(qint64 secs) {
    if (secs <= 0)
        return QString();
    return QDateTime::fromSecsSinceEpoch(secs).toString(QStringLiteral("yyyyMMdd"));
}

qint64 KiB(qint64 bytes) {
    return bytes < 0 ? -1 : (bytes + 1023) / 1024;
}

QString ShortHash(const QString& text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(12));
}

// The target of a symbolic link as written, or "".
QString ReadLink(const QString& path) {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer - 1);
    return n > 0 ? QFile::decodeName(QByteArray(buffer, n)) : QString();
}

// Modification time of the file itself (a link is not followed), or -1.
qint64 LinkModified(const QString& path) {
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return st.st_mtim.tv_sec;
}

bool IsFile(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Exists(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

// A subkey name the store keeps as one name and enumerates: no backslash,
// shorter than the registry's 255 characters.
QString SafeKey(SourceKind kind, const QString& key) {
    if (key.size() < MaxKeyNameLength - 1 && !key.contains(u'\\'))
        return key;
    return KindName(kind) + u':' + ShortHash(key);
}

// The AppImage an Exec value starts: its program, or the program after
// "env VAR=value ...".
QString AppImageOf(const QString& exec) {
    const QStringList args = DesktopEntry::splitExec(exec);
    qsizetype i = 0;
    if (!args.isEmpty() && (args[0] == u"env" || args[0].endsWith(u"/env"))) {
        i = 1;
        while (i < args.size() &&
               (args[i].startsWith(u'-') || (args[i].contains(u'=') && !args[i].startsWith(u'/'))))
            ++i;
    }
    if (i < args.size() && args[i].startsWith(u'/') &&
        args[i].endsWith(QStringLiteral(".appimage"), Qt::CaseInsensitive))
        return QDir::cleanPath(args[i]);
    return QString();
}

// Top-level "key: value" lines of a snap.yaml.
QHash<QString, QString> YamlTopLevel(const QByteArray& bytes) {
    QHash<QString, QString> out;
    for (const QByteArray& raw : bytes.split('\n')) {
        if (raw.isEmpty() || raw[0] == ' ' || raw[0] == '\t' || raw[0] == '#')
            continue;
        const qsizetype colon = raw.indexOf(':');
        if (colon <= 0)
            continue;
        QString value = QString::fromUtf8(raw.mid(colon + 1)).trimmed();
        if (value.size() >= 2 && ((value.startsWith(u'"') && value.endsWith(u'"')) ||
                                  (value.startsWith(u'\'') && value.endsWith(u'\''))))
            value = value.mid(1, value.size() - 2);
        out.insert(QString::fromUtf8(raw.left(colon)).trimmed(), value);
    }
    return out;
}

} // namespace

const QStringList& SourceValueNames() {
    static const QStringList names{QStringLiteral("DisplayName"),
                                   QStringLiteral("DisplayIcon"),
                                   QStringLiteral("DisplayVersion"),
                                   QStringLiteral("Publisher"),
                                   QStringLiteral("InstallDate"),
                                   QStringLiteral("InstallLocation"),
                                   QStringLiteral("InstallSource"),
                                   QStringLiteral("EstimatedSize"),
                                   QStringLiteral("URLInfoAbout"),
                                   QStringLiteral("HelpLink"),
                                   QStringLiteral("UninstallString"),
                                   QStringLiteral("NoRemove"),
                                   SourceMarkerValue};
    return names;
}

QList<RegValue> EntryValues(const SystemApp& app, const QString& uninstallProgram) {
    QList<RegValue> values;
    auto text = [&values](const QString& name, const QString& value) {
        if (!value.isEmpty())
            values.append(MakeStringValue(name, value));
    };
    text(QStringLiteral("DisplayName"), app.displayName);
    text(QStringLiteral("DisplayIcon"), app.displayIcon);
    text(QStringLiteral("DisplayVersion"), app.displayVersion);
    text(QStringLiteral("Publisher"), app.publisher);
    text(QStringLiteral("InstallDate"), app.installDate);
    text(QStringLiteral("InstallLocation"), app.installLocation);
    text(QStringLiteral("InstallSource"), app.installSource);
    if (app.estimatedSizeKiB >= 0)
        values.append(MakeDwordValue(QStringLiteral("EstimatedSize"),
                                     quint32(std::min<qint64>(app.estimatedSizeKiB, 0xFFFFFFFF))));
    text(QStringLiteral("URLInfoAbout"), app.urlInfoAbout);
    text(QStringLiteral("HelpLink"), app.helpLink);
    const bool removable = IsValidUninstallId(app.kind, app.uninstallId);
    if (removable)
        text(QStringLiteral("UninstallString"),
             UninstallCommand(uninstallProgram, app.kind, app.uninstallId));
    if (app.noRemove || !removable)
        values.append(MakeDwordValue(QStringLiteral("NoRemove"), 1));
    values.append(MakeStringValue(SourceMarkerValue, KindName(app.kind)));
    return values;
}

SystemSource::SystemSource(SystemLayout layout) : layout_(std::move(layout)) {}

SystemSource::EntryPtr SystemSource::desktopEntry(const QString& file) {
    const auto stamp = StatFile(file);
    if (!stamp)
        return nullptr;
    auto it = desktops_.find(file);
    if (it == desktops_.end() || it->stamp != *stamp) {
        Desktop d{*stamp, nullptr};
        if (const auto bytes = ReadWholeFile(file)) {
            if (auto parsed = DesktopEntry::parse(*bytes))
                d.entry = std::make_shared<const DesktopEntry>(std::move(*parsed));
        }
        it = desktops_.insert(file, std::move(d));
    }
    return it->entry;
}

bool SystemSource::programExists(const QString& program) {
    const auto known = programs_.constFind(program);
    if (known != programs_.constEnd())
        return *known;
    auto executable = [](const QString& path) {
        return IsFile(path) && ::access(QFile::encodeName(path).constData(), X_OK) == 0;
    };
    bool found = false;
    if (program.startsWith(u'/')) {
        found = executable(layout_.file(program));
    } else if (!program.contains(u'/')) {
        for (const QString& dir : std::as_const(layout_.pathDirs)) {
            if (executable(layout_.file(dir + u'/' + program))) {
                found = true;
                break;
            }
        }
    }
    programs_.insert(program, found);
    return found;
}

bool SystemSource::counts(const DesktopEntry& entry) {
    if (entry.value(QStringLiteral("Type")) != u"Application")
        return false;
    if (entry.flag(QStringLiteral("NoDisplay")) || entry.flag(QStringLiteral("Hidden")) ||
        entry.flag(QStringLiteral("X-AppStream-Ignore")))
        return false;
    if (entry.localized(QStringLiteral("Name"), layout_.locale).trimmed().isEmpty())
        return false;
    const QString tryExec = entry.value(QStringLiteral("TryExec")).trimmed();
    return tryExec.isEmpty() || programExists(tryExec);
}

QString SystemSource::iconFile(const QString& iconValue) const {
    const QString value = iconValue.trimmed();
    if (value.isEmpty())
        return QString();
    if (value.startsWith(u'/')) {
        const QString file = layout_.file(QDir::cleanPath(value));
        return IsFile(file) ? file : QString();
    }
    return icons_.find(value);
}

void SystemSource::fillFromMetainfo(SystemApp& app, const AppStreamInfo* info) {
    if (!info)
        return;
    if (!info->developerName.isEmpty())
        app.publisher = info->developerName;
    if (app.urlInfoAbout.isEmpty())
        app.urlInfoAbout = info->homepage;
    if (app.helpLink.isEmpty())
        app.helpLink = info->helpUrl;
}

void SystemSource::fillDeb(SystemApp& app, const QString& listBase) {
    const auto [name, arch] = SplitListName(listBase);
    const DebPackage* pkg = dpkg_.find(name, arch);
    app.kind = SourceKind::Deb;
    app.package = name;
    app.arch = arch;
    // The architecture is named only when the package is installed for several.
    app.uninstallId = !arch.isEmpty() && dpkg_.present(name).size() > 1 ? listBase : name;
    app.key = QStringLiteral("deb:") + app.uninstallId;
    if (!pkg)
        return;
    app.displayVersion = pkg->versionWithoutEpoch();
    app.publisher = pkg->maintainerName();
    app.installDate = DateText(lists_.listModified(listBase));
    if (const auto* list = lists_.list(listBase); list && !list->installLocation.isEmpty())
        app.installLocation = layout_.file(list->installLocation);
    app.estimatedSizeKiB = pkg->installedSizeKiB;
    app.urlInfoAbout = pkg->homepage;
    app.noRemove = pkg->mustNotRemove();
}

bool SystemSource::fillFlatpak(SystemApp& app, const QString& appId, const QString& rootPath) {
    struct Installation {
        bool user;
        QString dir;
    };
    const Installation user{true, layout_.flatpakUserDir()};
    const Installation system{false, SystemLayout::flatpakSystemDir()};
    QList<Installation> candidates;
    if (rootPath.startsWith(user.dir + u'/'))
        candidates = {user};
    else if (rootPath.startsWith(system.dir + u'/'))
        candidates = {system};
    else
        candidates = {system, user};
    for (const Installation& inst : candidates) {
        const QString appDir = inst.dir + QStringLiteral("/app/") + appId;
        const QStringList current = ReadLink(layout_.file(appDir + QStringLiteral("/current")))
                                        .split(u'/', Qt::SkipEmptyParts);
        if (current.size() != 2)
            continue;
        const QString deploy = appDir + u'/' + current[0] + u'/' + current[1];
        const QString active = layout_.file(deploy + QStringLiteral("/active"));
        if (!Exists(active))
            continue;
        FlatpakTarget target{inst.user, appId, current[0], current[1]};
        app.kind = SourceKind::Flatpak;
        app.uninstallId =
            (inst.user ? QStringLiteral("user:") : QStringLiteral("system:")) + target.ref();
        app.key = QStringLiteral("flatpak:") + app.uninstallId;
        app.installLocation = layout_.file(appDir);
        app.installDate = DateText(LinkModified(active));
        // The remote it came from: the one holding the ref.
        const QString remotes = layout_.file(inst.dir + QStringLiteral("/repo/refs/remotes"));
        for (const QString& remote :
             QDir(remotes).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (Exists(remotes + u'/' + remote + u'/' + target.ref())) {
                app.installSource = remote;
                break;
            }
        }
        const QString share = active + QStringLiteral("/files/share");
        const AppStreamInfo* info = nullptr;
        for (const QString& candidate : QStringList{
                 share + QStringLiteral("/metainfo/") + appId + QStringLiteral(".metainfo.xml"),
                 share + QStringLiteral("/metainfo/") + appId + QStringLiteral(".appdata.xml"),
                 share + QStringLiteral("/appdata/") + appId + QStringLiteral(".appdata.xml")}) {
            if ((info = metainfo_.file(candidate)))
                break;
        }
        fillFromMetainfo(app, info);
        if (info)
            app.displayVersion = info->version;
        return true;
    }
    return false;
}

bool SystemSource::fillSnap(SystemApp& app, const QString& instance) {
    const QString base = QStringLiteral("/snap/") + instance;
    const QString current = layout_.file(base + QStringLiteral("/current"));
    const QString revision = ReadLink(current);
    if (revision.isEmpty() || !Exists(current))
        return false;
    app.kind = SourceKind::Snap;
    app.uninstallId = instance;
    app.key = QStringLiteral("snap:") + instance;
    app.installLocation = layout_.file(base);
    app.installDate = DateText(LinkModified(current));
    if (const auto yaml = ReadWholeFile(current + QStringLiteral("/meta/snap.yaml"))) {
        const auto fields = YamlTopLevel(*yaml);
        app.displayVersion = fields.value(QStringLiteral("version"));
        app.urlInfoAbout = fields.value(QStringLiteral("website"));
    }
    const QString snapFile = layout_.file(QStringLiteral("/var/lib/snapd/snaps/%1_%2.snap")
                                              .arg(instance, QFileInfo(revision).fileName()));
    if (const auto stamp = StatFile(snapFile)) {
        app.installSource = snapFile;
        app.estimatedSizeKiB = KiB(stamp->size);
    }
    return true;
}

bool SystemSource::fillAppImage(SystemApp& app, const QString& rootPath, const Found& found) {
    const QString file = layout_.file(rootPath);
    struct stat st;
    if (::stat(QFile::encodeName(file).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    app.kind = SourceKind::AppImage;
    app.uninstallId = ShortHash(rootPath);
    app.key = QStringLiteral("appimage:") + app.uninstallId;
    app.appImageFile = file;
    app.installLocation = QFileInfo(file).absolutePath();
    app.installDate = DateText(st.st_mtim.tv_sec);
    app.estimatedSizeKiB = KiB(st.st_size);
    app.displayVersion = found.entry->value(QStringLiteral("X-AppImage-Version"));
    return true;
}

SystemSource::Scan SystemSource::scan() {
    Scan result;
    programs_.clear();
    const QString dpkgDir = layout_.file(SystemLayout::dpkgDir());
    if (dpkg_.load(dpkgDir + QStringLiteral("/status")) == DpkgStatus::Load::Failed) {
        result.ok = false;
        result.error = QStringLiteral("cannot read %1/status").arg(dpkgDir);
        return result;
    }
    if (!lists_.refresh(dpkgDir + QStringLiteral("/info"))) {
        result.ok = false;
        result.error = QStringLiteral("cannot read %1/info").arg(dpkgDir);
        return result;
    }

    const QStringList shares = layout_.shareDirs();
    QStringList metainfoDirs, iconDirs, pixmapDirs;
    for (const QString& share : shares) {
        metainfoDirs << layout_.file(share + QStringLiteral("/metainfo"))
                     << layout_.file(share + QStringLiteral("/appdata"));
        iconDirs << layout_.file(share + QStringLiteral("/icons"));
        pixmapDirs << layout_.file(share + QStringLiteral("/pixmaps"));
    }
    metainfo_.refresh(metainfoDirs);
    icons_.refresh(iconDirs, pixmapDirs);

    // Every desktop file by id, in order of precedence.
    QStringList watch;
    if (Exists(dpkgDir))
        watch.append(dpkgDir);
    QMap<QString, QList<Found>> byId;
    QSet<QString> seenFiles;
    for (const QString& dir : layout_.applicationDirs()) {
        const QString real = layout_.file(dir);
        if (!QFileInfo(real).isDir()) {
            // A folder that may yet appear (a person's first AppImage): its
            // parent is watched, when that exists.
            const QString parent = QFileInfo(real).absolutePath();
            if (QFileInfo(parent).isDir() && !watch.contains(parent))
                watch.append(parent);
            continue;
        }
        watch.append(real);
        QDirIterator it(real, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QFileInfo info = it.fileInfo();
            const QString relative = file.mid(real.size() + 1);
            if (info.isDir()) {
                watch.append(file);
                continue;
            }
            if (!relative.endsWith(QStringLiteral(".desktop")))
                continue;
            QString id = relative;
            id.replace(u'/', u'-');
            byId[id].append(Found{id, dir + u'/' + relative, file, {}});
            seenFiles.insert(file);
        }
    }
    for (auto it = desktops_.begin(); it != desktops_.end();) {
        if (seenFiles.contains(it.key()))
            ++it;
        else
            it = desktops_.erase(it);
    }

    struct Group {
        SystemApp app;
        QList<Found> entries;
    };
    QMap<QString, Group> groups;
    for (auto it = byId.begin(); it != byId.end(); ++it) {
        QList<Found>& found = *it;
        Found& first = found.first();
        first.entry = desktopEntry(first.file);
        if (!first.entry || !counts(*first.entry))
            continue;
        const DesktopEntry& entry = *first.entry;
        SystemApp app;
        bool keep = true;
        const QString flatpak = entry.value(QStringLiteral("X-Flatpak")).trimmed();
        const QString snap = entry.value(QStringLiteral("X-SnapInstanceName")).trimmed();
        const QString appImage = AppImageOf(entry.value(QStringLiteral("Exec")));
        if (!flatpak.isEmpty()) {
            keep = fillFlatpak(app, flatpak, first.rootPath);
        } else if (!snap.isEmpty()) {
            keep = fillSnap(app, snap);
        } else if (!appImage.isEmpty()) {
            keep = fillAppImage(app, appImage, first);
        } else {
            // The package of the entry, or of an entry it hides (a person's
            // own copy of a packaged entry).
            QString owner;
            for (const Found& f : std::as_const(found)) {
                owner = lists_.ownerOf(f.rootPath);
                if (!owner.isEmpty())
                    break;
            }
            const auto [name, arch] = SplitListName(owner);
            if (!owner.isEmpty() && dpkg_.find(name, arch)) {
                fillDeb(app, owner);
            } else {
                app.kind = SourceKind::Manual;
                app.key = QStringLiteral("manual:") + first.id;
                app.noRemove = true;
                if (const auto stamp = StatFile(first.file))
                    app.installDate = DateText(stamp->mtimeNs / 1000000000);
            }
        }
        if (!keep)
            continue;
        app.key = SafeKey(app.kind, app.key);
        Group& group = groups[app.key];
        if (group.entries.isEmpty())
            group.app = std::move(app);
        group.entries.append(first);
    }

    QSet<QString> appImageDirs;
    for (Group& group : groups) {
        SystemApp& app = group.app;
        // The entry that stands for the unit: one with metainfo, else one
        // named after the package or Flatpak app, else the first by id.
        const Found* primary = nullptr;
        for (const Found& f : std::as_const(group.entries)) {
            if (metainfo_.forDesktopId(f.id)) {
                primary = &f;
                break;
            }
        }
        if (!primary) {
            const QString own = app.kind == SourceKind::Deb ? app.package
                                : app.kind == SourceKind::Flatpak
                                    ? app.uninstallId.section(u'/', 1, 1)
                                    : QString();
            for (const Found& f : std::as_const(group.entries)) {
                if (!own.isEmpty() && f.id == own + QStringLiteral(".desktop")) {
                    primary = &f;
                    break;
                }
            }
        }
        if (!primary)
            primary = &group.entries.first();
        app.desktopId = primary->id;
        app.displayName =
            primary->entry->localized(QStringLiteral("Name"), layout_.locale).trimmed();
        app.iconName = primary->entry->value(QStringLiteral("Icon")).trimmed();
        app.displayIcon = iconFile(app.iconName);
        for (const Found& f : std::as_const(group.entries)) {
            app.desktopFiles.append(f.file);
            if (app.displayIcon.isEmpty())
                app.displayIcon = iconFile(f.entry->value(QStringLiteral("Icon")));
        }
        if (app.kind != SourceKind::Flatpak)
            fillFromMetainfo(app, metainfo_.forDesktopId(primary->id));
        if (app.kind == SourceKind::AppImage)
            appImageDirs.insert(app.installLocation);
        result.apps.append(std::move(app));
    }
    for (const QString& dir : std::as_const(appImageDirs)) {
        if (!watch.contains(dir))
            watch.append(dir);
    }
    watchFolders_ = watch;
    return result;
}

QStringList SystemSource::watchFolders() const {
    return watchFolders_;
}
