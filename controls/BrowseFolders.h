// BrowseFolders: asks the user for a folder through the dialog service. The
// flags it would pass follow the last property that is set: EditBox 19,
// IncludeFiles 16387, NewStyle 67 (they do not combine).
#pragma once

#include <QString>

class DialogService;
class QWidget;

class BrowseFolders {
public:
    explicit BrowseFolders(DialogService* dialogs) : dialogs_(dialogs) {}

    bool IncludeFiles = false;
    bool EditBox = false;
    bool NewStyle = false;

    int flags() const;
    // The chosen folder, or empty text when the user cancels.
    QString BrowseForFolder(QWidget* owner, const QString& title);

private:
    DialogService* dialogs_;
};
