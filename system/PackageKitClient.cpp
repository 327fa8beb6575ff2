#include "system/PackageKitClient.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>

namespace {

// Collects the signals of one transaction and ends the wait on Finished.
class TransactionListener : public QObject {
    Q_OBJECT
public:
    explicit TransactionListener(QEventLoop& loop) : loop_(loop) {}
    PackageKitClient::Result result;

public slots:
    void onPackage(uint info, const QString& id, const QString& summary) {
        result.packages.append({info, id, summary});
    }
    void onErrorCode(uint code, const QString& details) {
        result.errorCode = code;
        result.error = details;
    }
    void onFinished(uint exit, uint) {
        result.finished = true;
        result.exit = exit;
        loop_.quit();
    }

private:
    QEventLoop& loop_;
};

} // namespace

bool PackageKitClient::Result::cancelled() const {
    return exit == PackageKit::ExitCancelled ||
           errorCode == PackageKit::ErrorTransactionCancelled ||
           errorCode == PackageKit::ErrorNotAuthorized;
}

PackageKitClient::PackageKitClient(const QDBusConnection& bus) : bus_(bus) {}

bool PackageKitClient::isAvailable() const {
    if (!bus_.isConnected())
        return false;
    QDBusConnectionInterface* iface = bus_.interface();
    if (!iface)
        return false;
    if (iface->isServiceRegistered(PackageKit::Service).value())
        return true;
    // Not running yet: PackageKit is started by the bus on the first call.
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListActivatableNames"));
    const QDBusMessage reply = bus_.call(call, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().toStringList().contains(PackageKit::Service);
}

PackageKitClient::Result PackageKitClient::run(const QString& method, const QVariantList& args,
                                               const QStringList& hints, int timeoutMs) {
    Result failed;
    if (!bus_.isConnected()) {
        failed.error = QStringLiteral("no connection to the message bus");
        return failed;
    }
    QDBusMessage create =
        QDBusMessage::createMethodCall(PackageKit::Service, PackageKit::Path, PackageKit::Interface,
                                       QStringLiteral("CreateTransaction"));
    const QDBusMessage created = bus_.call(create, QDBus::Block, 30000);
    if (created.type() != QDBusMessage::ReplyMessage || created.arguments().isEmpty()) {
        failed.error = created.errorMessage().isEmpty()
                           ? QStringLiteral("PackageKit did not create a transaction")
                           : created.errorMessage();
        return failed;
    }
    const QString path = created.arguments().first().value<QDBusObjectPath>().path();
    if (path.isEmpty()) {
        failed.error = QStringLiteral("PackageKit did not create a transaction");
        return failed;
    }

    QEventLoop loop;
    TransactionListener listener(loop);
    auto connectSignal = [&](const char* name, const char* slot) {
        return bus_.connect(PackageKit::Service, path, PackageKit::TransactionInterface,
                            QString::fromLatin1(name), &listener, slot);
    };
    // Listening before the call, so that no signal is missed.
    const bool connected = connectSignal("Package", SLOT(onPackage(uint, QString, QString))) &&
                           connectSignal("ErrorCode", SLOT(onErrorCode(uint, QString))) &&
                           connectSignal("Finished", SLOT(onFinished(uint, uint)));
    auto disconnectAll = [&] {
        bus_.disconnect(PackageKit::Service, path, PackageKit::TransactionInterface,
                        QStringLiteral("Package"), &listener,
                        SLOT(onPackage(uint, QString, QString)));
        bus_.disconnect(PackageKit::Service, path, PackageKit::TransactionInterface,
                        QStringLiteral("ErrorCode"), &listener, SLOT(onErrorCode(uint, QString)));
        bus_.disconnect(PackageKit::Service, path, PackageKit::TransactionInterface,
                        QStringLiteral("Finished"), &listener, SLOT(onFinished(uint, uint)));
    };
    if (!connected) {
        disconnectAll();
        failed.error = QStringLiteral("cannot listen to the PackageKit transaction");
        return failed;
    }

    auto callTransaction = [&](const QString& name, const QVariantList& arguments) {
        QDBusMessage call = QDBusMessage::createMethodCall(PackageKit::Service, path,
                                                           PackageKit::TransactionInterface, name);
        call.setArguments(arguments);
        // The removal may need the person's password: let polkit ask.
        call.setInteractiveAuthorizationAllowed(true);
        return bus_.asyncCall(call, timeoutMs);
    };
    if (!hints.isEmpty()) {
        QDBusPendingCall hinted = callTransaction(QStringLiteral("SetHints"), {hints});
        hinted.waitForFinished();
        if (hinted.isError()) {
            disconnectAll();
            failed.error = hinted.error().message();
            return failed;
        }
    }

    // The wait ends on Finished, a failed method call, the service leaving
    // the bus, or the time limit.
    QString callError;
    QDBusPendingCallWatcher watcher(callTransaction(method, args));
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop,
                     [&](QDBusPendingCallWatcher* w) {
                         if (w->isError()) {
                             callError = w->error().message();
                             loop.quit();
                         }
                     });
    QDBusServiceWatcher gone(PackageKit::Service, bus_,
                             QDBusServiceWatcher::WatchForUnregistration);
    bool serviceGone = false;
    QObject::connect(&gone, &QDBusServiceWatcher::serviceUnregistered, &loop, [&] {
        serviceGone = true;
        loop.quit();
    });
    QTimer limit;
    limit.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    limit.start(timeoutMs);
    loop.exec();
    disconnectAll();

    Result result = listener.result;
    if (!result.finished) {
        if (!callError.isEmpty())
            result.error = callError;
        else if (serviceGone)
            result.error = QStringLiteral("PackageKit stopped during the transaction");
        else if (timedOut)
            result.error = QStringLiteral("PackageKit did not answer in time");
    }
    return result;
}

PackageKitClient::Result PackageKitClient::resolveInstalled(const QStringList& names,
                                                            int timeoutMs) {
    return run(QStringLiteral("Resolve"),
               {QVariant::fromValue(qulonglong(PackageKit::FilterInstalled)), names}, {},
               timeoutMs);
}

PackageKitClient::Result PackageKitClient::simulateRemove(const QStringList& packageIds,
                                                          int timeoutMs) {
    return run(QStringLiteral("RemovePackages"),
               {QVariant::fromValue(qulonglong(PackageKit::FlagSimulate)), packageIds, true, false},
               {}, timeoutMs);
}

PackageKitClient::Result PackageKitClient::remove(const QStringList& packageIds, int timeoutMs) {
    return run(QStringLiteral("RemovePackages"),
               {QVariant::fromValue(qulonglong(0)), packageIds, true, false},
               {QStringLiteral("interactive=true")}, timeoutMs);
}

#include "PackageKitClient.moc"
