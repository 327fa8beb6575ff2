#include "core/RegistryTypes.h"

#include <QtEndian>

namespace {
struct RootNames {
    RootKey root;
    const char* full;
    const char* brief;
};
constexpr RootNames kRoots[] = {
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RootKey::Users, "HKEY_USERS", "HKU"},
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
};
} // namespace

QString RootName(RootKey root) {
    for (const RootNames& names : kRoots) {
        if (names.root == root)
            return QLatin1String(names.full);
    }
    return QString();
}

std::optional<RootKey> ParseRootName(const QString& text, bool shortNames) {
    for (const RootNames& names : kRoots) {
        if (text.compare(QLatin1String(names.full), Qt::CaseInsensitive) == 0 ||
            (shortNames && text.compare(QLatin1String(names.brief), Qt::CaseInsensitive) == 0))
            return names.root;
    }
    return std::nullopt;
}

QString KeyPath::fullPath() const {
    QString path = RootName(root);
    for (const QString& name : names)
        path += u'\\' + name;
    return path;
}

std::optional<QStringList> SplitKeyPath(const QString& relativePath) {
    QString path = relativePath;
    while (path.endsWith(u'\\'))
        path.chop(1);
    if (path.isEmpty())
        return QStringList();
    QStringList names = path.split(u'\\');
    for (const QString& name : names) {
        if (name.isEmpty() || name.size() > MaxKeyNameLength)
            return std::nullopt;
    }
    return names;
}

std::optional<KeyPath> ParseFullKeyPath(const QString& fullPath) {
    const qsizetype slash = fullPath.indexOf(u'\\');
    const auto root = ParseRootName(slash < 0 ? fullPath : fullPath.left(slash));
    if (!root)
        return std::nullopt;
    const auto names = SplitKeyPath(slash < 0 ? QString() : fullPath.mid(slash + 1));
    if (!names)
        return std::nullopt;
    return KeyPath{*root, *names};
}

QString KeyPathProblem(const QString& path, bool fullPath) {
    QString names = path;
    if (fullPath) {
        const qsizetype slash = path.indexOf(u'\\');
        if (!ParseRootName(slash < 0 ? path : path.left(slash)))
            return QStringLiteral("it must begin with a root: HKEY_LOCAL_MACHINE (HKLM), "
                                  "HKEY_CURRENT_USER (HKCU), HKEY_USERS (HKU), "
                                  "HKEY_CLASSES_ROOT (HKCR) or HKEY_CURRENT_CONFIG (HKCC)");
        if (slash < 0)
            return QString();
        names = path.mid(slash + 1);
    }
    while (names.endsWith(u'\\'))
        names.chop(1);
    if (names.isEmpty())
        return QString();
    for (const QString& name : names.split(u'\\')) {
        if (QString problem = KeyNameProblem(name); !problem.isEmpty())
            return problem;
    }
    return QString();
}

QString FoldName(const QString& name) {
    // One-to-one upper-casing per UTF-16 unit, as the registry does; full case
    // mapping (German sharp s to "SS") would make different names collide.
    QString folded = name;
    for (QChar& c : folded) {
        if (c.unicode() < 0x80) {
            if (c.unicode() >= 'a' && c.unicode() <= 'z')
                c = QChar(c.unicode() - 32);
        } else if (!c.isSurrogate()) {
            c = c.toUpper();
        }
    }
    return folded;
}

namespace {
QString NameProblem(QStringView name) {
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isNull())
            return QStringLiteral("the name holds a NUL character");
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return QStringLiteral("the name holds an unpaired UTF-16 surrogate (\\u%1)")
                .arg(c.unicode(), 4, 16, QChar(u'0'));
    }
    return QString();
}
} // namespace

QString KeyNameProblem(QStringView name) {
    if (name.isEmpty())
        return QStringLiteral("a key name cannot be empty");
    if (name.size() > MaxKeyNameLength)
        return QStringLiteral("a key name has at most %1 characters; this one has %2")
            .arg(MaxKeyNameLength)
            .arg(name.size());
    if (name.contains(u'\\'))
        return QStringLiteral("a key name cannot hold a backslash");
    return NameProblem(name);
}

QString ValueNameProblem(QStringView name) {
    return NameProblem(name);
}

QByteArray Utf16Bytes(const QString& text, bool withTerminator) {
    QByteArray bytes;
    bytes.resize((text.size() + (withTerminator ? 1 : 0)) * 2);
    char* out = bytes.data();
    for (QChar c : text) {
        qToLittleEndian<quint16>(c.unicode(), out);
        out += 2;
    }
    if (withTerminator) {
        out[0] = 0;
        out[1] = 0;
    }
    return bytes;
}

QString TextFromUtf16Bytes(const QByteArray& data) {
    const qsizetype units = data.size() / 2;
    QString text(units, Qt::Uninitialized);
    const char* in = data.constData();
    for (qsizetype i = 0; i < units; ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(in + 2 * i));
    return text;
}

QString ValueAsText(quint32 type, QByteArrayView data) {
    switch (type) {
    case RegType::Dword:
        return QString();
    case RegType::Sz:
    case RegType::ExpandSz:
    case RegType::MultiSz: {
        const qsizetype units = data.size() / 2;
        qsizetype length = 0;
        const char* in = data.data();
        while (length < units && qFromLittleEndian<quint16>(in + 2 * length) != 0)
            ++length;
        QString text(length, Qt::Uninitialized);
        for (qsizetype i = 0; i < length; ++i)
            text[i] = QChar(qFromLittleEndian<quint16>(in + 2 * i));
        return text;
    }
    default: {
        const qsizetype nul = data.indexOf('\0');
        return QString::fromUtf8(nul >= 0 ? data.first(nul) : data);
    }
    }
}

RegValue MakeStringValue(const QString& name, const QString& text, quint32 type) {
    return RegValue{name, type, Utf16Bytes(text, true)};
}

RegValue MakeDwordValue(const QString& name, quint32 number) {
    QByteArray data(4, '\0');
    qToLittleEndian(number, data.data());
    return RegValue{name, RegType::Dword, data};
}

RegValue MakeQwordValue(const QString& name, quint64 number) {
    QByteArray data(8, '\0');
    qToLittleEndian(number, data.data());
    return RegValue{name, RegType::Qword, data};
}

RegValue MakeMultiStringValue(const QString& name, const QStringList& strings) {
    QByteArray data;
    for (const QString& s : strings)
        data += Utf16Bytes(s, true);
    data += QByteArray(2, '\0');
    return RegValue{name, RegType::MultiSz, data};
}

namespace {
struct TypeNameEntry {
    quint32 type;
    const char* name;
};
constexpr TypeNameEntry kTypeNames[] = {
    {RegType::None, "REG_NONE"},          {RegType::Sz, "REG_SZ"},
    {RegType::ExpandSz, "REG_EXPAND_SZ"}, {RegType::Binary, "REG_BINARY"},
    {RegType::Dword, "REG_DWORD"},        {RegType::MultiSz, "REG_MULTI_SZ"},
    {RegType::Qword, "REG_QWORD"},
};
} // namespace

QString RegTypeName(quint32 type) {
    for (const auto& entry : kTypeNames) {
        if (entry.type == type)
            return QString::fromLatin1(entry.name);
    }
    return QStringLiteral("REG_TYPE_%1").arg(type);
}

std::optional<quint32> ParseRegTypeName(const QString& name) {
    for (const auto& entry : kTypeNames) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.type;
    }
    return std::nullopt;
}
