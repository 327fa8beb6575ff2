// Feeds arbitrary bytes to the desktop entry reader, as any user or package can
// drop such a file into an applications folder: every key the system source
// reads is looked up, localised and, for Exec, split into arguments.
#include "system/DesktopEntry.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<DesktopEntry> entry = DesktopEntry::parse(bytes);
    if (!entry)
        return 0;
    for (const char16_t* key :
         {u"Type", u"Name", u"Exec", u"TryExec", u"Icon", u"X-Flatpak", u"X-SnapInstanceName"}) {
        const QString name = QString::fromUtf16(key);
        entry->value(name);
        entry->flag(name);
        for (const char16_t* locale : {u"de_DE.UTF-8@euro", u"pt_BR", u"C", u"", u"@", u"_."})
            entry->localized(name, QString::fromUtf16(locale));
    }
    DesktopEntry::splitExec(entry->value(QStringLiteral("Exec")));
    // A second parse of the same bytes reads the same entry.
    if (DesktopEntry::parse(bytes)->value(QStringLiteral("Exec")) !=
        entry->value(QStringLiteral("Exec")))
        std::abort();
    return 0;
}
