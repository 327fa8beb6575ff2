#include "system/UninstallTarget.h"

#include <QRegularExpression>

QString KindName(SourceKind kind) {
    switch (kind) {
    case SourceKind::Deb:
        return QStringLiteral("deb");
    case SourceKind::Flatpak:
        return QStringLiteral("flatpak");
    case SourceKind::Snap:
        return QStringLiteral("snap");
    case SourceKind::AppImage:
        return QStringLiteral("appimage");
    case SourceKind::Manual:
        break;
    }
    return QStringLiteral("manual");
}

std::optional<SourceKind> ParseKind(const QString& name) {
    for (SourceKind kind : {SourceKind::Deb, SourceKind::Flatpak, SourceKind::Snap,
                            SourceKind::AppImage, SourceKind::Manual}) {
        if (name == KindName(kind))
            return kind;
    }
    return std::nullopt;
}

namespace {

const QRegularExpression& FlatpakPattern() {
    static const QRegularExpression re(QStringLiteral(
        R"(^(system|user):app/([A-Za-z_][A-Za-z0-9_-]*(?:\.[A-Za-z_][A-Za-z0-9_-]*)+)/)"
        R"(([A-Za-z0-9_]+)/([A-Za-z0-9_][A-Za-z0-9_.-]*)$)"));
    return re;
}

} // namespace

bool IsValidUninstallId(SourceKind kind, const QString& id) {
    if (id.isEmpty() || id.size() > 200)
        return false;
    switch (kind) {
    case SourceKind::Deb: {
        static const QRegularExpression re(
            QStringLiteral(R"(^[a-z0-9][a-z0-9+.-]+(?::[a-z0-9][a-z0-9-]*)?$)"));
        return re.match(id).hasMatch();
    }
    case SourceKind::Flatpak:
        return FlatpakPattern().match(id).hasMatch() && !id.contains(QStringLiteral(".."));
    case SourceKind::Snap: {
        static const QRegularExpression re(
            QStringLiteral(R"(^[a-z0-9](?:[a-z0-9-]{0,38}[a-z0-9])?(?:_[a-z0-9]{1,10})?$)"));
        return re.match(id).hasMatch();
    }
    case SourceKind::AppImage: {
        static const QRegularExpression re(QStringLiteral(R"(^[0-9a-f]{12}$)"));
        return re.match(id).hasMatch();
    }
    case SourceKind::Manual:
        break;
    }
    return false;
}

QString FlatpakTarget::ref() const {
    return QStringLiteral("app/%1/%2/%3").arg(appId, arch, branch);
}

std::optional<FlatpakTarget> ParseFlatpakId(const QString& id) {
    if (!IsValidUninstallId(SourceKind::Flatpak, id))
        return std::nullopt;
    const QRegularExpressionMatch m = FlatpakPattern().match(id);
    return FlatpakTarget{m.captured(1) == u"user", m.captured(2), m.captured(3), m.captured(4)};
}

QString UninstallCommand(const QString& program, SourceKind kind, const QString& id) {
    const QString quoted =
        program.contains(u' ') || program.contains(u'\t') ? u'"' + program + u'"' : program;
    return quoted + u' ' + KindName(kind) + u' ' + id;
}
