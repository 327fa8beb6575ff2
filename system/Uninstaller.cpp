#include "system/Uninstaller.h"

#include "system/Dpkg.h"
#include "system/PackageKitClient.h"
#include "system/SystemSync.h"
#include "system/SystemSyncService.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

namespace {

bool Exists(const QString& path) {
    return QFileInfo::exists(path);
}

} // namespace

bool IsCriticalPackage(const QString& name) {
    static const QSet<QString> exact{
        // packaging, privileges, system bus
        QStringLiteral("apt"), QStringLiteral("dpkg"), QStringLiteral("sudo"),
        QStringLiteral("pkexec"), QStringLiteral("polkitd"), QStringLiteral("policykit-1"),
        QStringLiteral("packagekit"), QStringLiteral("dbus"), QStringLiteral("dbus-daemon"),
        QStringLiteral("dbus-broker"), QStringLiteral("systemd"), QStringLiteral("systemd-sysv"),
        QStringLiteral("init"), QStringLiteral("udev"), QStringLiteral("libc6"),
        QStringLiteral("login"), QStringLiteral("passwd"), QStringLiteral("base-files"),
        QStringLiteral("network-manager"),
        // display and login managers, sessions, shells
        QStringLiteral("xserver-xorg-core"), QStringLiteral("xwayland"), QStringLiteral("gdm3"),
        QStringLiteral("lightdm"), QStringLiteral("sddm"), QStringLiteral("lxdm"),
        QStringLiteral("slim"), QStringLiteral("gnome-shell"), QStringLiteral("gnome-session"),
        QStringLiteral("gnome-session-bin"), QStringLiteral("mutter"), QStringLiteral("gnome-core"),
        QStringLiteral("plasma-desktop"), QStringLiteral("plasma-workspace"),
        QStringLiteral("kwin-x11"), QStringLiteral("kwin-wayland"), QStringLiteral("xfce4-session"),
        QStringLiteral("xfwm4"), QStringLiteral("xfdesktop4"),
        QStringLiteral("mate-session-manager"), QStringLiteral("marco"), QStringLiteral("cinnamon"),
        QStringLiteral("cinnamon-session"), QStringLiteral("lxqt-session"),
        QStringLiteral("lxsession"), QStringLiteral("openbox"), QStringLiteral("budgie-desktop"),
        QStringLiteral("gnome"), QStringLiteral("kde-plasma-desktop"), QStringLiteral("xfce4"),
        QStringLiteral("mate-desktop-environment-core"), QStringLiteral("lxde"),
        QStringLiteral("lxqt")};
    if (exact.contains(name))
        return true;
    // Desktop task packages, kernels and boot loaders.
    for (const char* prefix : {"task-", "linux-image-", "grub-", "grub2", "shim-signed"}) {
        if (name.startsWith(QLatin1String(prefix)))
            return true;
    }
    return false;
}

Uninstaller::Uninstaller(const Config& config, UninstallUi& ui) : config_(config), ui_(ui) {}

UninstallOutcome Uninstaller::finish(UninstallOutcome outcome, const QString& message) {
    message_ = message;
    if (outcome == UninstallOutcome::Success) {
        // The entry goes the way any uninstaller's entry goes: the store is
        // brought in line with the machine.
        SystemSync sync(config_.layout, config_.storeFile);
        const SyncResult r =
            SystemSyncService::SourceEnabled(config_.configIni) ? sync.run() : sync.clear();
        if (!r.ok)
            message_ += QStringLiteral("\nThe list of programs could not be updated: ") + r.error;
    }
    ui_.showOutcome(outcome, message_);
    return outcome;
}

UninstallOutcome Uninstaller::run(const QString& kindName, const QString& id) {
    const auto kind = ParseKind(kindName);
    if (!kind)
        return finish(
            UninstallOutcome::Refused,
            QStringLiteral("\"%1\" is not a kind of program this helper removes.").arg(kindName));
    if (*kind == SourceKind::Manual)
        return finish(UninstallOutcome::Refused,
                      QStringLiteral("Nothing on this machine knows how to remove this program: "
                                     "it was not installed by a package manager."));
    if (!IsValidUninstallId(*kind, id))
        return finish(UninstallOutcome::Refused,
                      QStringLiteral("\"%1\" is not a valid id of a program of kind %2; "
                                     "nothing was removed.")
                          .arg(id, KindName(*kind)));

    ui_.showProgress(QStringLiteral("Looking for the program..."));
    SystemSource source(config_.layout);
    const SystemSource::Scan scan = source.scan();
    const SystemApp* app = nullptr;
    for (const SystemApp& a : scan.apps) {
        if (a.kind == *kind &&
            (a.uninstallId == id || (*kind == SourceKind::Deb && a.package == id)))
            app = &a;
    }
    switch (*kind) {
    case SourceKind::Deb:
        return deb(id, app);
    case SourceKind::Flatpak:
        return flatpak(id, app);
    case SourceKind::Snap:
        return snap(id, app);
    case SourceKind::AppImage:
        return appImage(app, scan.apps);
    case SourceKind::Manual:
        break;
    }
    return finish(UninstallOutcome::Refused, QString());
}

// ---------------------------------------------------------------------------
// Debian packages

bool Uninstaller::debPresent(const QString& name, const QString& arch) {
    DpkgStatus status;
    const auto load =
        status.load(config_.layout.file(SystemLayout::dpkgDir() + QStringLiteral("/status")));
    if (load == DpkgStatus::Load::Failed)
        return true; // unknown: never take it for gone
    return status.find(name, arch) != nullptr;
}

UninstallOutcome Uninstaller::deb(const QString& id, const SystemApp* app) {
    const qsizetype colon = id.indexOf(u':');
    const QString name = colon < 0 ? id : id.left(colon);
    const QString arch = colon < 0 ? QString() : id.mid(colon + 1);
    DpkgStatus status;
    if (status.load(config_.layout.file(SystemLayout::dpkgDir() + QStringLiteral("/status"))) ==
        DpkgStatus::Load::Failed)
        return finish(UninstallOutcome::Failed,
                      QStringLiteral("The list of installed packages cannot be read."));
    const DebPackage* pkg = status.find(name, arch);
    const QString displayName = app && !app->displayName.isEmpty() ? app->displayName : name;
    if (!pkg)
        return finish(UninstallOutcome::Success,
                      QStringLiteral("The package %1 is not installed any more.").arg(name));
    if (pkg->mustNotRemove() || IsCriticalPackage(name))
        return finish(UninstallOutcome::Refused,
                      QStringLiteral("%1 (package %2) is a part of the system that must stay; "
                                     "nothing was removed.")
                          .arg(displayName, name));
    PackageKitClient packageKit(config_.bus);
    if (packageKit.isAvailable())
        return debWithPackageKit(name, arch, displayName);
    return debInTerminal(id, displayName, pkg->version);
}

UninstallOutcome Uninstaller::debWithPackageKit(const QString& name, const QString& arch,
                                                const QString& displayName) {
    PackageKitClient packageKit(config_.bus);
    ui_.showProgress(
        QStringLiteral("Looking at what would be removed with %1...").arg(displayName));
    const auto resolved = packageKit.resolveInstalled({name});
    if (!resolved.succeeded())
        return finish(
            UninstallOutcome::Failed,
            QStringLiteral("PackageKit could not look up %1: %2").arg(name, resolved.error));
    QStringList ids;
    for (const auto& p : resolved.packages) {
        if (p.name() == name && (arch.isEmpty() || p.arch() == arch) && !ids.contains(p.id))
            ids.append(p.id);
    }
    if (ids.isEmpty())
        return finish(
            UninstallOutcome::Failed,
            QStringLiteral("PackageKit does not know %1 as an installed package.").arg(name));
    const auto simulated = packageKit.simulateRemove(ids);
    if (!simulated.succeeded())
        return finish(UninstallOutcome::Failed,
                      QStringLiteral("PackageKit could not work out what removing %1 means: %2")
                          .arg(name, simulated.error));

    // Every package the simulation touches: those it removes, and any it
    // would install or change to keep the others working.
    QList<PackageKitClient::Package> going;
    QSet<QString> seen;
    for (const auto& p : simulated.packages) {
        if (p.info != PackageKit::InfoInstalled && p.info != PackageKit::InfoAvailable &&
            !seen.contains(p.id)) {
            going.append(p);
            seen.insert(p.id);
        }
    }
    for (const auto& p : resolved.packages) {
        if (ids.contains(p.id) && !seen.contains(p.id)) {
            going.prepend(p);
            seen.insert(p.id);
        }
    }
    DpkgStatus status;
    status.load(config_.layout.file(SystemLayout::dpkgDir() + QStringLiteral("/status")));
    QStringList critical;
    QStringList items;
    for (const auto& p : std::as_const(going)) {
        const DebPackage* installed = status.find(p.name(), QString());
        QString item = QStringLiteral("%1 %2 (%3)").arg(p.name(), p.version(), p.arch());
        if (p.info == PackageKit::InfoRemoving || p.info == 0) {
            if (IsCriticalPackage(p.name()) || (installed && installed->mustNotRemove()))
                critical.append(p.name());
        } else {
            item += p.info == PackageKit::InfoInstalling ? QStringLiteral(": installed")
                                                         : QStringLiteral(": changed");
        }
        items.append(item);
    }
    if (!critical.isEmpty())
        return finish(UninstallOutcome::Refused,
                      QStringLiteral("Removing %1 would also remove %2, which the system needs. "
                                     "Nothing was removed.")
                          .arg(displayName, critical.join(QStringLiteral(", "))));

    UninstallPreview preview;
    preview.kind = SourceKind::Deb;
    preview.displayName = displayName;
    preview.question = going.size() > 1
                           ? QStringLiteral("Removing %1 removes these %2 packages:")
                                 .arg(displayName)
                                 .arg(going.size())
                           : QStringLiteral("Removing %1 removes this package:").arg(displayName);
    preview.items = items;
    const UninstallChoice choice = ui_.confirm(preview);
    if (!choice.accepted)
        return finish(UninstallOutcome::Cancelled, QStringLiteral("Nothing was removed."));

    ui_.showProgress(QStringLiteral("Removing %1...").arg(displayName));
    const auto removed = packageKit.remove(ids);
    if (removed.cancelled())
        return finish(UninstallOutcome::Cancelled,
                      QStringLiteral("The removal was cancelled; nothing was removed."));
    if (!removed.succeeded())
        return finish(
            UninstallOutcome::Failed,
            QStringLiteral("PackageKit could not remove %1: %2")
                .arg(name, removed.error.isEmpty() ? QStringLiteral("it failed") : removed.error));
    if (debPresent(name, arch))
        return finish(
            UninstallOutcome::Failed,
            QStringLiteral("PackageKit reported success, but %1 is still installed.").arg(name));
    return finish(UninstallOutcome::Success, QStringLiteral("%1 was removed.").arg(displayName));
}

UninstallOutcome Uninstaller::debInTerminal(const QString& id, const QString& displayName,
                                            const QString& version) {
    UninstallPreview preview;
    preview.kind = SourceKind::Deb;
    preview.displayName = displayName;
    preview.question = QStringLiteral(
        "PackageKit is not available. A terminal will open with apt, which shows what else "
        "would be removed and asks before it removes anything.");
    preview.items = {QStringLiteral("%1 %2").arg(id, version)};
    if (!ui_.confirm(preview).accepted)
        return finish(UninstallOutcome::Cancelled, QStringLiteral("Nothing was removed."));
    const qsizetype colon = id.indexOf(u':');
    const QString name = colon < 0 ? id : id.left(colon);
    const QString arch = colon < 0 ? QString() : id.mid(colon + 1);
    return runProgram(QStringLiteral("x-terminal-emulator -e sudo apt-get remove -- ") + id,
                      displayName, [this, name, arch] { return !debPresent(name, arch); });
}

// ---------------------------------------------------------------------------
// Flatpak, Snap

UninstallOutcome Uninstaller::flatpak(const QString& id, const SystemApp* app) {
    const auto target = ParseFlatpakId(id);
    const QString installation =
        target->user ? config_.layout.flatpakUserDir() : SystemLayout::flatpakSystemDir();
    const QString active =
        config_.layout.file(QStringLiteral("%1/app/%2/%3/%4/active")
                                .arg(installation, target->appId, target->arch, target->branch));
    const QString displayName = app ? app->displayName : target->appId;
    if (!Exists(active))
        return finish(UninstallOutcome::Success,
                      QStringLiteral("%1 is not installed any more.").arg(displayName));
    UninstallPreview preview;
    preview.kind = SourceKind::Flatpak;
    preview.displayName = displayName;
    preview.question = QStringLiteral("Removing %1 removes this Flatpak app (%2 installation):")
                           .arg(displayName, target->user ? QStringLiteral("your own")
                                                          : QStringLiteral("the system"));
    preview.items = {target->ref()};
    preview.offerDeleteData = true;
    const UninstallChoice choice = ui_.confirm(preview);
    if (!choice.accepted)
        return finish(UninstallOutcome::Cancelled, QStringLiteral("Nothing was removed."));
    const QString command =
        QStringLiteral("flatpak uninstall %1 --noninteractive -y %2-- %3")
            .arg(target->user ? QStringLiteral("--user") : QStringLiteral("--system"),
                 choice.deleteData ? QStringLiteral("--delete-data ") : QString(), target->ref());
    return runProgram(command, displayName, [active] { return !Exists(active); });
}

UninstallOutcome Uninstaller::snap(const QString& id, const SystemApp* app) {
    const QString current = config_.layout.file(QStringLiteral("/snap/%1/current").arg(id));
    const QString displayName = app ? app->displayName : id;
    if (!Exists(current))
        return finish(UninstallOutcome::Success,
                      QStringLiteral("%1 is not installed any more.").arg(displayName));
    UninstallPreview preview;
    preview.kind = SourceKind::Snap;
    preview.displayName = displayName;
    preview.question = QStringLiteral("Removing %1 removes this snap:").arg(displayName);
    preview.items = {id};
    if (!ui_.confirm(preview).accepted)
        return finish(UninstallOutcome::Cancelled, QStringLiteral("Nothing was removed."));
    return runProgram(QStringLiteral("snap remove -- ") + id, displayName,
                      [current] { return !Exists(current); });
}

UninstallOutcome Uninstaller::runProgram(const QString& commandLine, const QString& displayName,
                                         const std::function<bool()>& gone) {
    if (!config_.processes)
        return finish(UninstallOutcome::Failed, QStringLiteral("No program can be started."));
    ui_.showProgress(QStringLiteral("Removing %1...").arg(displayName));
    const LaunchResult launched = config_.processes->Start(commandLine);
    if (!launched.ok())
        return finish(UninstallOutcome::Failed,
                      QStringLiteral("%1 could not be started: %2")
                          .arg(SplitCommandLine(commandLine).value(0), launched.message));
    // Waiting without blocking the window.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!config_.processes->IsRunning(launched.pid))
            loop.quit();
    });
    if (config_.processes->IsRunning(launched.pid)) {
        poll.start(config_.pollMs);
        loop.exec();
    }
    if (!gone())
        return finish(UninstallOutcome::Failed,
                      QStringLiteral("%1 is still installed.").arg(displayName));
    return finish(UninstallOutcome::Success, QStringLiteral("%1 was removed.").arg(displayName));
}

// ---------------------------------------------------------------------------
// AppImages

UninstallOutcome Uninstaller::appImage(const SystemApp* app, const QList<SystemApp>& all) {
    if (!app)
        return finish(UninstallOutcome::Success,
                      QStringLiteral("The AppImage is not on this machine any more."));
    // Only what lies in the person's own folders goes; an icon only when no
    // other program shows it.
    const QString home = config_.layout.file(config_.layout.dataHome) + u'/';
    QStringList desktopFiles;
    for (const QString& file : app->desktopFiles) {
        if (file.startsWith(home))
            desktopFiles.append(file);
    }
    QStringList icons;
    bool iconShared = app->iconName.isEmpty() || app->iconName.startsWith(u'/');
    for (const SystemApp& other : all) {
        if (&other != app && other.iconName == app->iconName)
            iconShared = true;
    }
    if (!iconShared) {
        const QString iconsDir = home + QStringLiteral("icons");
        QDirIterator it(iconsDir,
                        {app->iconName + QStringLiteral(".png"),
                         app->iconName + QStringLiteral(".svg"),
                         app->iconName + QStringLiteral(".xpm")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            icons.append(it.next());
        for (const QString& ext :
             {QStringLiteral(".png"), QStringLiteral(".svg"), QStringLiteral(".xpm")}) {
            const QString pixmap = home + QStringLiteral("pixmaps/") + app->iconName + ext;
            if (QFileInfo::exists(pixmap))
                icons.append(pixmap);
        }
        icons.sort();
    }
    UninstallPreview preview;
    preview.kind = SourceKind::AppImage;
    preview.displayName = app->displayName;
    preview.question =
        QStringLiteral("Removing %1 moves these files to the trash:").arg(app->displayName);
    preview.items = QStringList{app->appImageFile} + desktopFiles + icons;
    if (!ui_.confirm(preview).accepted)
        return finish(UninstallOutcome::Cancelled, QStringLiteral("Nothing was removed."));

    if (!QFile::moveToTrash(app->appImageFile))
        return finish(UninstallOutcome::Failed,
                      QStringLiteral("%1 could not be moved to the trash; nothing was removed.")
                          .arg(app->appImageFile));
    QStringList left;
    for (const QString& file : desktopFiles + icons) {
        if (!QFile::moveToTrash(file))
            left.append(file);
    }
    QString message = QStringLiteral("%1 was moved to the trash.").arg(app->displayName);
    if (!left.isEmpty())
        message += QStringLiteral("\nThese files could not be moved to the trash: ") +
                   left.join(QStringLiteral(", "));
    return finish(UninstallOutcome::Success, message);
}
