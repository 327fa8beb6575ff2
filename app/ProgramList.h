// Which Uninstall entries become items of the main list, with what text and
// which icon file: the listing rules, kept apart from the window.
#pragma once

#include "core/Registry.h"

#include <QList>
#include <QString>

struct ProgramItem {
    QString key;        // the subkey name
    QString name;       // DisplayName
    QString uninstall;  // UninstallString, or "N/A" when hidden programs are shown and it is empty
    int imageIndex = 0; // the subkey's position in the enumeration, from 0
};

struct ProgramListing {
    int subkeyCount = 0;
    QStringList iconFiles;    // per subkey: an existing icon file, or empty for the default icon
    QList<ProgramItem> items; // the entries that are listed, in enumeration order
    StoreResult read;         // fails when the store could not be read
};

// Reads the Uninstall key in one snapshot. progress(done, total) is called
// once per subkey.
template <typename Progress>
ProgramListing LoadProgramListing(Registry& registry, const QString& uninstallKeyPath,
                                  bool showHidden, Progress&& progress);

// Whether an entry becomes an item, and its second column.
bool IsListed(const QString& displayName, const QString& uninstallString, bool showHidden);
QString UninstallColumnText(const QString& uninstallString, bool showHidden);
// The icon file of an entry: ExtractIconPath of DisplayIcon + UninstallString,
// when that file exists.
QString EntryIconFile(const QString& displayIcon, const QString& uninstallString);

// ---------------------------------------------------------------------------

template <typename Progress>
ProgramListing LoadProgramListing(Registry& registry, const QString& uninstallKeyPath,
                                  bool showHidden, Progress&& progress) {
    ProgramListing listing;
    const auto entries =
        registry.ReadSubkeyValues(RootKey::LocalMachine, uninstallKeyPath,
                                  {QStringLiteral("DisplayName"), QStringLiteral("UninstallString"),
                                   QStringLiteral("DisplayIcon")},
                                  &listing.read);
    listing.subkeyCount = static_cast<int>(entries.size());
    listing.iconFiles.reserve(entries.size());
    for (int i = 0; i < listing.subkeyCount; ++i) {
        const auto& entry = entries[i];
        const QString& name = entry.values[0];
        const QString& uninstall = entry.values[1];
        listing.iconFiles.append(EntryIconFile(entry.values[2], uninstall));
        if (IsListed(name, uninstall, showHidden))
            listing.items.append({entry.name, name, UninstallColumnText(uninstall, showHidden), i});
        progress(i + 1, listing.subkeyCount);
    }
    return listing;
}
