// What a user means by an address typed into an entry: a folder or file, a
// web page or a mail address. The quick links, the hyperlink control and the
// shell service all open addresses by these rules, so that
// "www.example.com" opens the web page and "support@example.com" a mail,
// never a file of that name.
#pragma once

#include <QString>
#include <QUrl>

// The text starts with a URL scheme of two or more letters ("https:",
// "mailto:", "file:"); a drive letter ("C:\") is not one.
bool HasUrlScheme(const QString& text);

// A mail address: an '@' after the first character and no scheme, so that
// "https://example.com/@team" stays a web address.
bool IsMailAddress(const QString& text);

// "mailto:" and the address, the scheme never doubled.
QString MailUrlText(const QString& address);

// The URL an address opens: an existing file or folder as itself; a URL with
// a scheme unchanged; name@host as mailto:; "www..." or a host name with a
// dot as https://. An invalid URL when it is none of these (nothing to open).
QUrl AddressUrl(const QString& text);
