#include "system/AppStream.h"

#include "system/FileRead.h"

#include <QDir>
#include <QSet>
#include <QXmlStreamReader>

namespace {

bool Untranslated(const QXmlStreamReader& xml) {
    return xml.attributes()
               .value(QStringLiteral("http://www.w3.org/XML/1998/namespace"),
                      QStringLiteral("lang"))
               .isEmpty() &&
           xml.attributes().value(QStringLiteral("xml:lang")).isEmpty();
}

} // namespace

std::optional<AppStreamInfo> ParseMetainfo(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement())
        return std::nullopt;
    if (xml.name() != u"component" && xml.name() != u"application")
        return std::nullopt;
    AppStreamInfo info;
    bool releaseSeen = false;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"id") {
            info.id = xml.readElementText().trimmed();
        } else if (name == u"launchable") {
            const bool desktop = xml.attributes().value(QStringLiteral("type")) == u"desktop-id";
            const QString text = xml.readElementText().trimmed();
            if (desktop && !text.isEmpty())
                info.desktopIds.append(text);
        } else if (name == u"developer_name") {
            const bool plain = Untranslated(xml);
            const QString text = xml.readElementText().trimmed();
            if (plain && info.developerName.isEmpty())
                info.developerName = text;
        } else if (name == u"developer") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"name" && Untranslated(xml)) {
                    const QString text = xml.readElementText().trimmed();
                    if (!text.isEmpty())
                        info.developerName = text;
                } else {
                    xml.skipCurrentElement();
                }
            }
        } else if (name == u"url") {
            const QString type = xml.attributes().value(QStringLiteral("type")).toString();
            const QString text = xml.readElementText().trimmed();
            if (type == u"homepage" && info.homepage.isEmpty())
                info.homepage = text;
            else if (type == u"help" && info.helpUrl.isEmpty())
                info.helpUrl = text;
        } else if (name == u"releases") {
            // Releases are listed newest first.
            while (xml.readNextStartElement()) {
                if (xml.name() == u"release" && !releaseSeen) {
                    info.version = xml.attributes().value(QStringLiteral("version")).toString();
                    releaseSeen = true;
                }
                xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError() && info.id.isEmpty())
        return std::nullopt;
    if (info.id.isEmpty() && info.desktopIds.isEmpty())
        return std::nullopt;
    // Without a launchable, the component id names the desktop entry.
    if (info.desktopIds.isEmpty() && !info.id.isEmpty())
        info.desktopIds.append(
            info.id.endsWith(u".desktop") ? info.id : info.id + QStringLiteral(".desktop"));
    return info;
}

void AppStreamIndex::refresh(const QStringList& folders) {
    QSet<QString> seen;
    bool changed = false;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList names =
            dir.entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& name : names) {
            const QString path = folder + u'/' + name;
            const auto stamp = StatFile(path);
            if (!stamp)
                continue;
            seen.insert(path);
            auto it = files_.find(path);
            if (it != files_.end() && it->stamp == *stamp)
                continue;
            changed = true;
            File file{*stamp, std::nullopt};
            if (const auto bytes = ReadWholeFile(path))
                file.info = ParseMetainfo(*bytes);
            files_.insert(path, std::move(file));
        }
    }
    for (auto it = files_.begin(); it != files_.end();) {
        if (seen.contains(it.key())) {
            ++it;
        } else {
            it = files_.erase(it);
            changed = true;
        }
    }
    if (!changed)
        return;
    // The first folder given wins when two files name the same entry.
    byDesktopId_.clear();
    QStringList paths = files_.keys();
    paths.sort();
    for (const QString& folder : folders) {
        for (const QString& path : std::as_const(paths)) {
            const File& file = files_[path];
            if (!file.info || !path.startsWith(folder + u'/'))
                continue;
            for (const QString& id : file.info->desktopIds) {
                if (!byDesktopId_.contains(id))
                    byDesktopId_.insert(id, path);
            }
        }
    }
}

const AppStreamInfo* AppStreamIndex::forDesktopId(const QString& desktopId) const {
    const auto path = byDesktopId_.constFind(desktopId);
    if (path == byDesktopId_.constEnd())
        return nullptr;
    const auto file = files_.constFind(*path);
    return file == files_.constEnd() || !file->info ? nullptr : &*file->info;
}

const AppStreamInfo* AppStreamIndex::file(const QString& path) {
    const auto stamp = StatFile(path);
    if (!stamp) {
        single_.remove(path);
        return nullptr;
    }
    auto it = single_.find(path);
    if (it == single_.end() || it->stamp != *stamp) {
        File file{*stamp, std::nullopt};
        if (const auto bytes = ReadWholeFile(path))
            file.info = ParseMetainfo(*bytes);
        it = single_.insert(path, std::move(file));
    }
    return it->info ? &*it->info : nullptr;
}
