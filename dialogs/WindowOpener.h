// The one way the program's windows are opened. Each window folder registers
// an opener per window in its Register...Windows(WindowOpener&) function; the
// composition root calls those once. A command whose window has no opener
// does nothing.
#pragma once

#include <QString>

#include <functional>
#include <map>

class MainWindowHost;

enum class AppWindow {
    AddNewProgram,   // FrmAddNew
    Uninstall,       // FrmUn
    Backup,          // FrmBackup
    Restore,         // FrmRestore
    Report,          // FrmReport
    ProgramsList,    // FrmList
    AddEntry,        // FrmRegAdd
    EditEntry,       // FrmEdit
    ChangeIcon,      // FrmIcon
    Shortcut,        // FrmSh
    ProgramInfo,     // FrmInfo
    AllProgramsInfo, // FrmAllInfo
    History,         // FrmLog
    Options,         // FrmOptions
    QuickTour,       // FrmStart
    About,           // FrmAbout
    RenameConfirm,   // FrmName: argument = the new name; result 1 keeps it
};
inline constexpr int AppWindowCount = static_cast<int>(AppWindow::RenameConfirm) + 1;

class WindowOpener {
public:
    // Shows the window modally over the host and returns its result: what
    // the window answered (a dialog's result code), 0 when it has none.
    using Opener = std::function<int(MainWindowHost& host, const QString& argument)>;

    void add(AppWindow window, Opener opener) { openers_[window] = std::move(opener); }
    bool has(AppWindow window) const { return openers_.count(window) != 0; }
    // The window's result, or -1 when no window is registered.
    int open(AppWindow window, MainWindowHost& host, const QString& argument = QString()) const {
        const auto it = openers_.find(window);
        return it == openers_.end() ? -1 : it->second(host, argument);
    }

private:
    std::map<AppWindow, Opener> openers_;
};
