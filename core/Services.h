// The services windows use instead of calling the platform directly: message
// boxes, the shell, process start, printing and the clipboard. The program
// gives its windows the real implementations; tests give them recording fakes
// that answer as scripted.
#pragma once

#include "core/Process.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>
#include <utility>

// Message boxes, as the program shows them: a text, a title, an icon and a
// set of buttons; the answer is the button pressed.
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

class MessageService {
public:
    virtual ~MessageService() = default;
    // defaultButton counts the buttons from 1.
    virtual MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                             const QString& title, int defaultButton = 1) = 0;
};

// Opening documents, folders, web and mail addresses with the desktop's
// handlers, and showing a file's properties.
class ShellService {
public:
    virtual ~ShellService() = default;
    // Opens a file, folder, web address or "mailto:" address. False when
    // nothing could open it.
    virtual bool ShellOpen(const QString& target) = 0;
    virtual bool ShowFileProperties(const QString& path) = 0;
};

// Starting command lines and watching the processes.
class ProcessService {
public:
    virtual ~ProcessService() = default;
    virtual LaunchResult Start(const QString& commandLine) = 0;
    // A program and its arguments as given, nothing split or parsed.
    virtual LaunchResult StartProgram(const QString& program, const QStringList& arguments,
                                      const QString& workingFolder) = 0;
    virtual bool IsRunning(qint64 pid) = 0;
};

// Printing plain text on the default printer.
class PrintService {
public:
    virtual ~PrintService() = default;
    // Prints the text in copies copies; false when the printer failed.
    virtual bool PrintText(const QString& documentName, const QString& text, int copies) = 0;
};

class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    virtual void SetText(const QString& text) = 0;
    virtual QString Text() = 0;
};

// The platform's file, colour, print and folder dialogs. The common dialog
// wrapper (cCommonDialog) puts its own rules on top of these.
struct FileDialogRequest {
    bool save = false;
    QString title;
    QList<std::pair<QString, QString>> filters; // description, pattern
    int filterIndex = 1;                        // counted from 1
    QString fileName;
    QString initDir;
    QString defaultExt;
    quint32 flags = 0;
    QObject* owner = nullptr; // the window the dialog belongs to (a QWidget)
};
struct FileDialogAnswer {
    bool accepted = false;
    // The full path; after a choice of several files, the folder and then
    // the names, separated by NULs.
    QString fileName;
    int filterIndex = 1;
    quint32 flags = 0; // the flags as the dialog returns them
};
// The folder chooser: flags as the program passes them (0x10 an edit box
// for the path, 0x40 the new style that can make folders, 0x4000 files are
// shown and may be chosen too).
struct FolderDialogRequest {
    QString title;
    quint32 flags = 0;
    QObject* owner = nullptr;
};
class DialogService {
public:
    virtual ~DialogService() = default;
    virtual FileDialogAnswer FileDialog(const FileDialogRequest& request) = 0;
    // Colours as 0x00BBGGRR values; nothing when cancelled.
    virtual std::optional<quint32> ColorDialog(quint32 initial) = 0;
    // The number of copies chosen; nothing when cancelled.
    virtual std::optional<int> PrintDialog(int copies) = 0;
    // A folder chosen by the user; empty when cancelled.
    virtual QString FolderDialog(const FolderDialogRequest& request) = 0;
};

// The real process service: StartCommandLine and IsProcessRunning.
class SystemProcessService final : public ProcessService {
public:
    LaunchResult Start(const QString& commandLine) override {
        return StartCommandLine(commandLine);
    }
    LaunchResult StartProgram(const QString& program, const QStringList& arguments,
                              const QString& workingFolder) override {
        return ::StartProgram(program, arguments, workingFolder);
    }
    bool IsRunning(qint64 pid) override { return IsProcessRunning(pid); }
};
