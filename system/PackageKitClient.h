// A small client of the PackageKit service over D-Bus: the few calls the
// uninstall helper needs (resolve installed packages, simulate a removal,
// remove), each in a transaction of its own.
//
// The calls wait for the transaction's Finished signal in a local event loop,
// so a window stays responsive meanwhile. Debian 12 has Qt bindings of
// PackageKit for Qt 5 only; this speaks the D-Bus interface directly.
#pragma once

#include <QDBusConnection>
#include <QList>
#include <QString>
#include <QStringList>

namespace PackageKit {
inline const QString Service = QStringLiteral("org.freedesktop.PackageKit");
inline const QString Path = QStringLiteral("/org/freedesktop/PackageKit");
inline const QString Interface = QStringLiteral("org.freedesktop.PackageKit");
inline const QString TransactionInterface =
    QStringLiteral("org.freedesktop.PackageKit.Transaction");

// Bit fields and enumerations of the interface, numbered as it numbers them.
constexpr quint64 FilterInstalled = quint64(1) << 2; // PK_FILTER_ENUM_INSTALLED
constexpr quint64 FlagSimulate = quint64(1) << 2;    // PK_TRANSACTION_FLAG_ENUM_SIMULATE
constexpr uint ExitSuccess = 1;
constexpr uint ExitFailed = 2;
constexpr uint ExitCancelled = 3;
constexpr uint InfoInstalled = 1;
constexpr uint InfoAvailable = 2;
constexpr uint InfoInstalling = 12;
constexpr uint InfoRemoving = 13;
constexpr uint ErrorTransactionCancelled = 17;
constexpr uint ErrorNotAuthorized = 48;
} // namespace PackageKit

class PackageKitClient {
public:
    // bus: the system bus normally; tests give a private bus with a stand-in.
    explicit PackageKitClient(const QDBusConnection& bus);

    // True when the service runs or can be started on demand.
    bool isAvailable() const;

    struct Package {
        uint info = 0;
        QString id; // "name;version;arch;data"
        QString summary;
        QString name() const { return id.section(u';', 0, 0); }
        QString version() const { return id.section(u';', 1, 1); }
        QString arch() const { return id.section(u';', 2, 2); }
    };
    struct Result {
        bool finished = false; // the transaction reported Finished
        uint exit = 0;         // its exit code
        uint errorCode = 0;    // from ErrorCode, 0 when none came
        QString error;         // the ErrorCode details, or why the call failed
        QList<Package> packages;
        bool succeeded() const { return finished && exit == PackageKit::ExitSuccess; }
        // The person declined (cancelled, or did not give the password).
        bool cancelled() const;
    };

    // The installed packages of those names.
    Result resolveInstalled(const QStringList& names, int timeoutMs = 120000);
    // What removing the packages (with what depends on them) would remove:
    // the Package signals of a simulated removal. Needs no password.
    Result simulateRemove(const QStringList& packageIds, int timeoutMs = 120000);
    // Removes the packages with what depends on them, without autoremove,
    // as an interactive transaction (the polkit prompt asks for a password).
    Result remove(const QStringList& packageIds, int timeoutMs = 3600000);

private:
    Result run(const QString& method, const QVariantList& args, const QStringList& hints,
               int timeoutMs);
    QDBusConnection bus_;
};
