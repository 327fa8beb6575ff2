#include "controls/BrowseFolders.h"

#include "core/Services.h"

int BrowseFolders::flags() const {
    int value = 0;
    if (EditBox)
        value = 19;
    if (IncludeFiles)
        value = 16387;
    if (NewStyle)
        value = 67;
    return value;
}

QString BrowseFolders::BrowseForFolder(QWidget*, const QString& title) {
    return dialogs_ ? dialogs_->FolderDialog(title) : QString();
}
