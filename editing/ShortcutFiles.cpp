#include "editing/ShortcutFiles.h"

#include "core/AppContext.h"
#include "core/ShellLink.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A string value of a desktop entry: backslashes and control characters
// escaped, so a value can never start a line of its own; a leading space kept.
QString DesktopValue(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u' ' && i == 0)
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

// One argument of an Exec line: quoted, with the characters that keep a
// meaning inside quotes escaped, and field codes ("%") doubled.
QString ExecArgument(const QString& argument) {
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        if (c == u'%')
            out += u'%';
        out += c;
    }
    return out + u'"';
}

bool SameFolder(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

QList<ShortcutChoice> ShortcutChoices(const ShortcutTargets& targets) {
    QList<ShortcutChoice> choices;
    if (targets.installFolder.size() > 3)
        choices.append({ShortcutKind::InstallFolder, QStringLiteral("Installation Location"),
                        targets.installFolder});
    if (targets.publisherUrl.size() > 3)
        choices.append(
            {ShortcutKind::PublisherUrl, QStringLiteral("Publisher Url"), targets.publisherUrl});
    if (targets.supportUrl.size() > 3)
        choices.append(
            {ShortcutKind::SupportUrl, QStringLiteral("Support Url"), targets.supportUrl});
    return choices;
}

QByteArray InternetShortcutText(const QString& address) {
    QString url = address;
    url.replace(u'\r', QStringLiteral("%0D")).replace(u'\n', QStringLiteral("%0A"));
    return (QStringLiteral("[DEFAULT]\r\nBASEURL=") + url +
            QStringLiteral("\r\n[InternetShortcut]\r\nURL=") + url + QStringLiteral("\r\n"))
        .toUtf8();
}

QByteArray DesktopLauncherText(const ShortcutChoice& choice, const QString& name,
                               const QString& comment) {
    QString text = QStringLiteral("[Desktop Entry]\n");
    if (choice.kind == ShortcutKind::InstallFolder)
        text += QStringLiteral("Type=Application\n");
    else
        text += QStringLiteral("Type=Link\n");
    text += QStringLiteral("Name=") + DesktopValue(name) + u'\n';
    if (!comment.isEmpty())
        text += QStringLiteral("Comment=") + DesktopValue(comment) + u'\n';
    if (choice.kind == ShortcutKind::InstallFolder) {
        text += QStringLiteral("Exec=") +
                DesktopValue(QStringLiteral("xdg-open ") + ExecArgument(choice.target)) + u'\n';
        text += QStringLiteral("Icon=folder\nTerminal=false\n");
    } else {
        text += QStringLiteral("URL=") + DesktopValue(choice.target) + u'\n';
    }
    return text.toUtf8();
}

QString ShortcutFile(const ShortcutRequest& request) {
    const bool link = request.choice.kind == ShortcutKind::InstallFolder;
    return JoinPath(request.folder,
                    request.name + (link ? QStringLiteral(".lnk") : QStringLiteral(".url")));
}

WriteResult CreateShortcut(const ShortcutRequest& request, const QString& desktopFolder) {
    const QString file = ShortcutFile(request);
    const bool folderLink = request.choice.kind == ShortcutKind::InstallFolder;
    WriteResult written;
    if (folderLink) {
        ShellLink link;
        link.targetPath = request.choice.target;
        link.description = request.description;
        const QFileInfo target(request.choice.target);
        if (target.exists()) {
            link.targetIsFolder = target.isDir();
            link.creationTime = target.birthTime();
            link.accessTime = target.lastRead();
            link.writeTime = target.lastModified();
            link.fileSize = target.isDir() ? 0 : static_cast<quint32>(target.size());
        }
        written = WriteShellLink(file, link);
    } else {
        written = WriteWholeFile(file, InternetShortcutText(request.choice.target));
    }
    if (!written || desktopFolder.isEmpty() || !SameFolder(request.folder, desktopFolder))
        return written;

    const QString launcher = JoinPath(request.folder, request.name + QStringLiteral(".desktop"));
    written =
        WriteWholeFile(launcher, DesktopLauncherText(request.choice, request.name,
                                                     folderLink ? request.description : QString()));
    if (written) {
        // Desktops start only launchers that are marked executable.
        QFile::setPermissions(launcher, QFile::permissions(launcher) | QFile::ExeOwner |
                                            QFile::ExeGroup | QFile::ExeOther);
    }
    return written;
}
