#include "system/Dpkg.h"

#include "system/FileRead.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArrayView Trimmed(QByteArrayView v) {
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t'))
        v = v.sliced(1);
    while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r'))
        v.chop(1);
    return v;
}

QString Text(QByteArrayView v) {
    return QString::fromUtf8(v);
}

FileStamp StampOf(const struct stat& st) {
    return FileStamp{static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     static_cast<qint64>(st.st_size), static_cast<quint64>(st.st_ino)};
}

// The folder that best stands for where a package put its program: the
// common folder of its files under /opt, else /usr/lib/<name> or
// /usr/share/<name> when the package lists that folder.
QString InstallLocationOf(QByteArrayView list, const QString& name) {
    QByteArray common;
    bool any = false;
    qsizetype pos = 0;
    while (pos < list.size()) {
        qsizetype end = list.indexOf('\n', pos);
        if (end < 0)
            end = list.size();
        const QByteArrayView line = list.sliced(pos, end - pos);
        pos = end + 1;
        if (!line.startsWith("/opt/") || line.size() <= 5)
            continue;
        if (!any) {
            common = line.toByteArray();
            any = true;
            continue;
        }
        // Shorten common to the folders it shares with this line.
        qsizetype n = 0;
        while (n < common.size() && n < line.size() && common[n] == line[n])
            ++n;
        if (n == common.size() && (n == line.size() || line[n] == '/'))
            continue;
        if (n == line.size() && n < common.size() && common[n] == '/') {
            common.truncate(n);
            continue;
        }
        while (n > 0 && common[n - 1] != '/')
            --n;
        common.truncate(n > 0 ? n - 1 : 0);
    }
    if (any && common.count('/') >= 2)
        return QString::fromUtf8(common);
    for (const QString& candidate :
         QStringList{QStringLiteral("/usr/lib/") + name, QStringLiteral("/usr/share/") + name}) {
        const QByteArray needle = '\n' + candidate.toUtf8() + '\n';
        const QByteArray head = candidate.toUtf8() + '\n';
        if (list.startsWith(head) || QByteArrayView(list).indexOf(needle) >= 0)
            return candidate;
    }
    return QString();
}

} // namespace

// ---------------------------------------------------------------------------

bool DebPackage::present() const {
    return !status.isEmpty() && status != u"not-installed" && status != u"config-files";
}

QString DebPackage::versionWithoutEpoch() const {
    const qsizetype colon = version.indexOf(u':');
    if (colon > 0) {
        bool digits = true;
        for (qsizetype i = 0; i < colon; ++i)
            digits = digits && version[i].isDigit();
        if (digits)
            return version.mid(colon + 1);
    }
    return version;
}

QString DebPackage::maintainerName() const {
    QString name = maintainer;
    if (const qsizetype lt = name.indexOf(u'<'); lt >= 0)
        name.truncate(lt);
    name = name.trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
        name = name.mid(1, name.size() - 2);
    return name;
}

bool DebPackage::mustNotRemove() const {
    return essential || isProtected || priority == u"required";
}

std::optional<FileStamp> StatFile(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return StampOf(st);
}

// ---------------------------------------------------------------------------

DpkgStatus::Load DpkgStatus::load(const QString& statusFile) {
    const QByteArray path = QFile::encodeName(statusFile);
    struct stat st;
    if (::stat(path.constData(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            return Load::Failed;
        stamp_.reset();
        packages_.clear();
        byName_.clear();
        return Load::Missing;
    }
    const FileStamp stamp = StampOf(st);
    if (stamp_ && *stamp_ == stamp)
        return Load::Unchanged;
    const std::optional<QByteArray> bytes = ReadWholeFile(statusFile);
    if (!bytes)
        return Load::Failed;

    QList<DebPackage> packages;
    packages.reserve(packages_.isEmpty() ? 2048 : packages_.size());
    DebPackage current;
    auto flush = [&] {
        if (!current.name.isEmpty() && current.present())
            packages.append(std::move(current));
        current = DebPackage();
    };
    const QByteArrayView all(*bytes);
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype end = all.indexOf('\n', pos);
        if (end < 0)
            end = all.size();
        const QByteArrayView line = all.sliced(pos, end - pos);
        pos = end + 1;
        if (line.isEmpty() || line == "\r") {
            flush();
            continue;
        }
        if (line.front() == ' ' || line.front() == '\t')
            continue; // a continuation line of a field not read here
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArrayView field = line.first(colon);
        const QByteArrayView value = Trimmed(line.sliced(colon + 1));
        switch (field.front()) {
        case 'P':
            if (field == "Package")
                current.name = Text(value);
            else if (field == "Priority")
                current.priority = Text(value);
            else if (field == "Protected")
                current.isProtected = value == "yes";
            break;
        case 'S':
            if (field == "Status") {
                const qsizetype last = value.lastIndexOf(' ');
                current.status = Text(last >= 0 ? value.sliced(last + 1) : value);
            }
            break;
        case 'A':
            if (field == "Architecture")
                current.arch = Text(value);
            break;
        case 'V':
            if (field == "Version")
                current.version = Text(value);
            break;
        case 'I':
            if (field == "Installed-Size") {
                bool ok = false;
                const qint64 size = value.toLongLong(&ok);
                current.installedSizeKiB = ok && size >= 0 ? size : -1;
            }
            break;
        case 'H':
            if (field == "Homepage")
                current.homepage = Text(value);
            break;
        case 'M':
            if (field == "Maintainer")
                current.maintainer = Text(value);
            break;
        case 'E':
            if (field == "Essential")
                current.essential = value == "yes";
            break;
        default:
            break;
        }
    }
    flush();

    packages_ = std::move(packages);
    byName_.clear();
    byName_.reserve(packages_.size());
    for (qsizetype i = 0; i < packages_.size(); ++i)
        byName_[packages_[i].name].append(i);
    stamp_ = stamp;
    return Load::Read;
}

QList<const DebPackage*> DpkgStatus::present(const QString& name) const {
    QList<const DebPackage*> out;
    for (const qsizetype i : byName_.value(name))
        out.append(&packages_[i]);
    return out;
}

const DebPackage* DpkgStatus::find(const QString& name, const QString& arch) const {
    const auto it = byName_.constFind(name);
    if (it == byName_.constEnd() || it->isEmpty())
        return nullptr;
    if (arch.isEmpty())
        return &packages_[it->first()];
    for (const qsizetype i : *it) {
        if (packages_[i].arch == arch)
            return &packages_[i];
    }
    return nullptr;
}

// ---------------------------------------------------------------------------

std::pair<QString, QString> SplitListName(const QString& base) {
    const qsizetype colon = base.indexOf(u':');
    if (colon < 0)
        return {base, QString()};
    return {base.left(colon), base.mid(colon + 1)};
}

bool DpkgFileLists::refresh(const QString& infoDir) {
    DIR* dir = ::opendir(QFile::encodeName(infoDir).constData());
    if (!dir) {
        if (errno != ENOENT && errno != ENOTDIR)
            return false;
        lists_.clear();
        owners_.clear();
        return true;
    }
    const int dirFd = ::dirfd(dir);
    bool changed = false;
    QSet<QString> seen;
    seen.reserve(lists_.size() + 16);
    QByteArray buffer;
    static const QByteArrayView kApplications("/applications/");
    static const QByteArrayView kDesktop(".desktop");
    while (const dirent* e = ::readdir(dir)) {
        const size_t length = std::strlen(e->d_name);
        if (length <= 5 || std::memcmp(e->d_name + length - 5, ".list", 5) != 0)
            continue;
        const QString base = QFile::decodeName(QByteArray(e->d_name, qsizetype(length - 5)));
        struct stat st;
        if (::fstatat(dirFd, e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            continue;
        seen.insert(base);
        const FileStamp stamp = StampOf(st);
        const auto known = lists_.constFind(base);
        if (known != lists_.constEnd() && known->stamp == stamp)
            continue;
        changed = true;
        ListInfo info;
        info.stamp = stamp;
        const int fd = ::openat(dirFd, e->d_name, O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ReadFd(fd, static_cast<qint64>(st.st_size), &buffer);
            ::close(fd);
            const QByteArrayView text(buffer);
            qsizetype from = 0;
            while (true) {
                const qsizetype hit = text.indexOf(kApplications, from);
                if (hit < 0)
                    break;
                qsizetype start = hit;
                while (start > 0 && text[start - 1] != '\n')
                    --start;
                qsizetype end = text.indexOf('\n', hit);
                if (end < 0)
                    end = text.size();
                const QByteArrayView line = text.sliced(start, end - start);
                if (line.endsWith(kDesktop) && line.startsWith('/'))
                    info.desktopFiles.append(QString::fromUtf8(line));
                from = end;
            }
            if (!info.desktopFiles.isEmpty())
                info.installLocation = InstallLocationOf(text, SplitListName(base).first);
        }
        lists_.insert(base, std::move(info));
    }
    ::closedir(dir);
    if (seen.size() != lists_.size()) {
        changed = true;
        for (auto it = lists_.begin(); it != lists_.end();) {
            if (seen.contains(it.key()))
                ++it;
            else
                it = lists_.erase(it);
        }
    }
    if (changed) {
        owners_.clear();
        for (auto it = lists_.cbegin(); it != lists_.cend(); ++it) {
            for (const QString& path : it->desktopFiles)
                owners_.insert(path, it.key());
        }
    }
    return true;
}

const DpkgFileLists::ListInfo* DpkgFileLists::list(const QString& base) const {
    const auto it = lists_.constFind(base);
    return it == lists_.constEnd() ? nullptr : &*it;
}

qint64 DpkgFileLists::listModified(const QString& base) const {
    const ListInfo* info = list(base);
    return info ? info->stamp.mtimeNs / 1000000000 : -1;
}
