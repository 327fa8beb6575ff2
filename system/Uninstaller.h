// What relvano-uninstall does, without its window: finds the program, shows
// the person what would go, removes it the way its kind is removed, checks
// that it is really gone, and syncs the store so that its entry disappears
// (the uninstall dialog of the main window sees that, as with any
// uninstaller).
//
// - deb: through PackageKit: a simulated removal first (no password), every
//   package that would go with it shown; refused outright when that list
//   holds an essential, protected, required or desktop-critical package; then
//   an interactive removal with allow-deps on and autoremove off (polkit asks
//   for the password). Without PackageKit: a terminal with
//   "sudo apt-get remove -- <pkg>", where apt itself shows what goes and asks.
// - flatpak: "flatpak uninstall --system|--user --noninteractive -y
//   [--delete-data] -- <ref>" as the person (Flatpak asks polkit itself).
// - snap: "snap remove -- <name>".
// - appimage: the file, its desktop entries and its icons in the person's
//   folders are moved to the trash.
//
// Never a shell, never the whole helper as root, never apt-get -y: ids are
// checked against a strict character set first and passed as arguments of
// their own after "--".
#pragma once

#include "core/Services.h"
#include "system/SystemLayout.h"
#include "system/SystemSource.h"
#include "system/UninstallTarget.h"

#include <QDBusConnection>
#include <QString>
#include <QStringList>

// Exit codes of relvano-uninstall.
enum class UninstallOutcome {
    Success = 0,   // the program is gone (or was already)
    Failed = 1,    // it could not be removed
    Cancelled = 2, // the person said no, or gave no password
    Refused = 3,   // the safety check: a malformed id, or a package the system needs
};
constexpr int UninstallUsageExit = 64; // wrong arguments

// What the person is asked to confirm.
struct UninstallPreview {
    SourceKind kind = SourceKind::Manual;
    QString displayName;
    QString question;             // the text above the list
    QStringList items;            // what would be removed, one line each
    bool offerDeleteData = false; // Flatpak: may also delete the app's data
};
struct UninstallChoice {
    bool accepted = false;
    bool deleteData = false;
};

// The window of the helper, or a fake in tests.
class UninstallUi {
public:
    virtual ~UninstallUi() = default;
    // A line telling what happens now ("Looking at what would be removed...").
    virtual void showProgress(const QString& text) = 0;
    // Asks; returns once the person has answered.
    virtual UninstallChoice confirm(const UninstallPreview& preview) = 0;
    // The end: what happened. Returns once the person has seen it (or at
    // once, for a success).
    virtual void showOutcome(UninstallOutcome outcome, const QString& message) = 0;
};

// Packages a desktop cannot do without (its session, display, login,
// package and privilege tools, the kernel, the boot loader): never removed
// here, nor anything whose removal takes one of them along.
bool IsCriticalPackage(const QString& name);

class Uninstaller {
public:
    struct Config {
        SystemLayout layout = SystemLayout::FromEnvironment();
        QString storeFile; // synced after a removal
        QString configIni; // its "Sys" setting decides whether the sync lists or clears
        ProcessService* processes = nullptr;
        QDBusConnection bus = QDBusConnection::systemBus(); // where PackageKit is
        int pollMs = 250; // how often a started program is looked at
    };
    Uninstaller(const Config& config, UninstallUi& ui);

    UninstallOutcome run(const QString& kindName, const QString& id);
    // The text of the outcome (also given to showOutcome).
    const QString& message() const { return message_; }

private:
    UninstallOutcome deb(const QString& id, const SystemApp* app);
    UninstallOutcome debWithPackageKit(const QString& name, const QString& arch,
                                       const QString& displayName);
    UninstallOutcome debInTerminal(const QString& id, const QString& displayName,
                                   const QString& version);
    UninstallOutcome flatpak(const QString& id, const SystemApp* app);
    UninstallOutcome snap(const QString& id, const SystemApp* app);
    UninstallOutcome appImage(const SystemApp* app, const QList<SystemApp>& all);
    UninstallOutcome runProgram(const QString& commandLine, const QString& displayName,
                                const std::function<bool()>& gone);
    bool debPresent(const QString& name, const QString& arch);
    UninstallOutcome finish(UninstallOutcome outcome, const QString& message);

    Config config_;
    UninstallUi& ui_;
    QString message_;
};
