// A stand-in for the PackageKit service on a private message bus: the few
// methods and signals relvano-uninstall uses, answering from a scenario file
// and writing every call to a log. A removal that succeeds marks the packages
// "deinstall ok config-files" in the given dpkg status file, as dpkg would.
//
// fake_packagekit <scenario.json>
//   {"status": FILE, "log": FILE,
//    "installed": [[name, version, arch], ...],
//    "dependants": {name: [names removed with it], ...},
//    "remove": "success" | "pretend" | "not-authorized" | "fail"}
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusObjectPath>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>
#include <QTimer>

namespace {

struct Scenario {
    QString status;
    QString log;
    QList<QStringList> installed;
    QHash<QString, QStringList> dependants;
    QString remove;
};
Scenario scenario;

void Log(const QString& line) {
    QFile f(scenario.log);
    if (f.open(QIODevice::Append))
        f.write(line.toUtf8() + '\n');
}

QString IdOf(const QStringList& p) {
    return p[0] + u';' + p[1] + u';' + p[2] + QStringLiteral(";installed:debian");
}

const QStringList* Installed(const QString& name) {
    for (const QStringList& p : std::as_const(scenario.installed)) {
        if (p[0] == name)
            return &p;
    }
    return nullptr;
}

// The packages that go when these go: them and, again and again, what
// depends on them.
QStringList Closure(const QStringList& names) {
    QStringList out = names;
    for (qsizetype i = 0; i < out.size(); ++i) {
        for (const QString& d : scenario.dependants.value(out[i])) {
            if (!out.contains(d))
                out.append(d);
        }
    }
    return out;
}

void MarkRemoved(const QSet<QString>& names) {
    QFile in(scenario.status);
    if (!in.open(QIODevice::ReadOnly))
        return;
    QList<QByteArray> stanzas = in.readAll().split('\n');
    in.close();
    QString current;
    for (QByteArray& line : stanzas) {
        if (line.startsWith("Package: "))
            current = QString::fromUtf8(line.mid(9)).trimmed();
        else if (line.startsWith("Status: ") && names.contains(current))
            line = "Status: deinstall ok config-files";
    }
    QSaveFile out(scenario.status);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(stanzas.join('\n'));
        out.commit();
    }
}

class Transaction : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.PackageKit.Transaction")
public:
    using QObject::QObject;

public slots:
    void SetHints(const QStringList& hints) { Log(QStringLiteral("SetHints ") + hints.join(u',')); }

    void Resolve(qulonglong filter, const QStringList& names) {
        Log(QStringLiteral("Resolve %1 %2").arg(filter).arg(names.join(u',')));
        QTimer::singleShot(10, this, [this, names] {
            for (const QString& name : names) {
                if (const QStringList* p = Installed(name))
                    emit Package(1, IdOf(*p), QStringLiteral("summary of ") + name);
            }
            emit Finished(1, 5);
        });
    }

    void RemovePackages(qulonglong flags, const QStringList& ids, bool allowDeps, bool autoremove) {
        Log(QStringLiteral("RemovePackages %1 %2 %3 %4")
                .arg(flags)
                .arg(ids.join(u','))
                .arg(allowDeps ? "true" : "false")
                .arg(autoremove ? "true" : "false"));
        QStringList names;
        for (const QString& id : ids)
            names.append(id.section(u';', 0, 0));
        const QStringList going = Closure(names);
        const bool simulate = flags & 4;
        QTimer::singleShot(10, this, [this, going, simulate] {
            if (!simulate && scenario.remove == u"not-authorized") {
                emit ErrorCode(48, QStringLiteral("Failed to obtain authentication."));
                emit Finished(2, 5);
                return;
            }
            if (!simulate && scenario.remove == u"fail") {
                emit ErrorCode(13, QStringLiteral("The dependencies could not be resolved."));
                emit Finished(2, 5);
                return;
            }
            for (const QString& name : going) {
                if (const QStringList* p = Installed(name))
                    emit Package(13, IdOf(*p), QString());
            }
            if (!simulate && scenario.remove == u"success")
                MarkRemoved(QSet<QString>(going.cbegin(), going.cend()));
            emit Finished(1, 5);
        });
    }

signals:
    void Package(uint info, const QString& id, const QString& summary);
    void ErrorCode(uint code, const QString& details);
    void Finished(uint exit, uint runtime);
};

class Manager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.PackageKit")
public:
    using QObject::QObject;

public slots:
    QDBusObjectPath CreateTransaction() {
        const QString path = QStringLiteral("/%1").arg(++count_);
        auto* t = new Transaction(this);
        QDBusConnection::sessionBus().registerObject(
            path, t, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
        Log(QStringLiteral("CreateTransaction"));
        return QDBusObjectPath(path);
    }

private:
    int count_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
    scenario.status = o["status"].toString();
    scenario.log = o["log"].toString();
    for (const QJsonValue& p : o["installed"].toArray()) {
        QStringList fields;
        for (const QJsonValue& f : p.toArray())
            fields.append(f.toString());
        if (fields.size() == 3)
            scenario.installed.append(fields);
    }
    const QJsonObject deps = o["dependants"].toObject();
    for (auto it = deps.begin(); it != deps.end(); ++it) {
        QStringList names;
        for (const QJsonValue& n : it->toArray())
            names.append(n.toString());
        scenario.dependants.insert(it.key(), names);
    }
    scenario.remove = o["remove"].toString(QStringLiteral("success"));

    QDBusConnection bus = QDBusConnection::sessionBus();
    Manager manager;
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/PackageKit"), &manager,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.PackageKit")))
        return 1;
    return app.exec();
}

#include "FakePackageKit.moc"
