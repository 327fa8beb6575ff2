// The real services over Qt: message boxes, the desktop's handlers, the
// printer and the clipboard.
#pragma once

#include "core/AppContext.h"
#include "core/Services.h"

class QtMessageService final : public MessageService {
public:
    MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title,
                     int defaultButton = 1) override;
};

class QtShellService final : public ShellService {
public:
    bool ShellOpen(const QString& target) override;
    // Opens the folder that holds the file in the file manager.
    bool ShowFileProperties(const QString& path) override;
};

class QtPrintService final : public PrintService {
public:
    // outputFile empty: the default printer; else a PDF file (used by tests
    // and by "print to file").
    explicit QtPrintService(QString outputFile = QString()) : outputFile_(std::move(outputFile)) {}
    bool PrintText(const QString& documentName, const QString& text, int copies) override;

private:
    QString outputFile_;
};

class QtClipboardService final : public ClipboardService {
public:
    void SetText(const QString& text) override;
    QString Text() override;
};

// The platform's dialogs over Qt.
class QtDialogService final : public DialogService {
public:
    FileDialogAnswer FileDialog(const FileDialogRequest& request) override;
    std::optional<quint32> ColorDialog(quint32 initial) override;
    std::optional<int> PrintDialog(int copies) override;
    QString FolderDialog(const FolderDialogRequest& request) override;
};

// What a file dialog returns for the files chosen: one full path, or after a
// choice of several the folder and then the names, separated by NULs.
QString MultipleChoiceText(const QStringList& files);

// All of the above, owned together; the program makes one at start-up.
struct QtServices {
    QtMessageService messages;
    QtShellService shell;
    SystemProcessService processes;
    QtPrintService printer;
    QtClipboardService clipboard;
    QtDialogService dialogs;
    AppServices all() {
        return AppServices{&messages, &shell, &processes, &printer, &clipboard, &dialogs};
    }
};
