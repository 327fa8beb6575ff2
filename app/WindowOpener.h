// The one place through which the main window opens the other windows. Each
// window registers its opener here; a command whose window is not registered
// does nothing.
#pragma once

#include <functional>
#include <map>

class FrmMain;

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
};

class WindowOpener {
public:
    using Opener = std::function<void(FrmMain&)>;
    void setOpener(AppWindow window, Opener opener) { openers_[window] = std::move(opener); }
    bool has(AppWindow window) const { return openers_.count(window) != 0; }
    // Opens the window (modally) over the main window; false when none is registered.
    bool open(AppWindow window, FrmMain& main) const {
        const auto it = openers_.find(window);
        if (it == openers_.end())
            return false;
        it->second(main);
        return true;
    }

private:
    std::map<AppWindow, Opener> openers_;
};
