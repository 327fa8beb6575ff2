#include "core/Addresses.h"

#include <QFileInfo>
#include <QRegularExpression>

bool HasUrlScheme(const QString& text) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text.trimmed()).hasMatch();
}

bool IsMailAddress(const QString& text) {
    return text.indexOf(u'@') >= 1 && !HasUrlScheme(text);
}

QString MailUrlText(const QString& address) {
    const QString text = address.trimmed();
    if (text.startsWith(u"mailto:", Qt::CaseInsensitive))
        return text;
    return QStringLiteral("mailto:") + text;
}

QUrl AddressUrl(const QString& text) {
    const QString address = text.trimmed();
    if (address.isEmpty())
        return QUrl();
    if (QFileInfo::exists(address))
        return QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath());
    if (HasUrlScheme(address)) {
        const QUrl url(address);
        return url.isValid() ? url : QUrl();
    }
    static const QRegularExpression mail(QStringLiteral("^[^@\\s/]+@[^@\\s/]+$"));
    if (mail.match(address).hasMatch())
        return QUrl(MailUrlText(address));
    // A host name with a dot, optionally followed by a path: a web page.
    static const QRegularExpression host(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*"
                       "[A-Za-z0-9])?)+(:[0-9]+)?([/?#]\\S*)?$"));
    if (host.match(address).hasMatch()) {
        const QUrl url(QStringLiteral("https://") + address);
        return url.isValid() ? url : QUrl();
    }
    return QUrl();
}
