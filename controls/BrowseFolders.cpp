#include "controls/BrowseFolders.h"

#include "core/Services.h"

#include <QWidget>

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

QString BrowseFolders::BrowseForFolder(QWidget* owner, const QString& title) {
    if (!dialogs_)
        return QString();
    return dialogs_->FolderDialog({title, static_cast<quint32>(flags()), owner});
}
