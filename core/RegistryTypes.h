// Types shared by every registry store: roots, value types, typed values and
// the handling of key paths.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// The roots a registry has. The program itself only ever uses LocalMachine.
// ClassesRoot and CurrentConfig are names for keys that Windows keeps below
// HKEY_LOCAL_MACHINE; a store resolves them (see SqliteStore).
enum class RootKey { LocalMachine, CurrentUser, Users, ClassesRoot, CurrentConfig };

// Registry value types, numbered as the registry numbers them.
namespace RegType {
constexpr quint32 None = 0;
constexpr quint32 Sz = 1;
constexpr quint32 ExpandSz = 2;
constexpr quint32 Binary = 3;
constexpr quint32 Dword = 4;
constexpr quint32 MultiSz = 7;
constexpr quint32 Qword = 11;
} // namespace RegType

// A value as the registry keeps it: its name ("" is the default value), its
// type and its raw bytes. Strings are held as UTF-16LE, as Windows holds them.
struct RegValue {
    QString name;
    quint32 type = RegType::Sz;
    QByteArray data;

    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// The longest key name the registry accepts.
constexpr int MaxKeyNameLength = 255;

// Full name of a root ("HKEY_LOCAL_MACHINE").
QString RootName(RootKey root);

// Recognises a root written in full ("HKEY_CLASSES_ROOT") or, when
// shortNames is set, short ("HKLM", "HKCU", "HKU", "HKCR", "HKCC"), without
// regard to case. Registry editor files name roots in full only.
std::optional<RootKey> ParseRootName(const QString& text, bool shortNames = true);

// A key named by its root and the names of the keys below it.
struct KeyPath {
    RootKey root = RootKey::LocalMachine;
    QStringList names;

    // "HKEY_LOCAL_MACHINE\A\B"
    QString fullPath() const;
};

// Splits a path relative to a root ("SOFTWARE\...\Uninstall\Foo").
// Trailing backslashes are dropped ("Key\\" is "Key", as the registry editor
// reads it); an empty name anywhere else makes the path invalid, and so does a
// name longer than the registry allows.
std::optional<QStringList> SplitKeyPath(const QString& relativePath);

// Parses "HKEY_LOCAL_MACHINE\..." or "HKLM\..." and the other roots (also a
// bare root).
std::optional<KeyPath> ParseFullKeyPath(const QString& fullPath);
// Why a path is not a key path (full, or relative when fullPath is false),
// for messages; empty text when it is one.
QString KeyPathProblem(const QString& path, bool fullPath);

// The registry compares names by their upper-cased form, character by
// character; this is that form.
QString FoldName(const QString& name);

// Why a key or value name cannot be stored, or empty text when it can. A
// name may hold any character but NUL and unpaired UTF-16 surrogates (which
// would turn into one replacement character, so that different names would
// merge); a key name is also not empty, holds no backslash and has at most
// MaxKeyNameLength characters.
QString KeyNameProblem(QStringView name);
QString ValueNameProblem(QStringView name);

// Text <-> registry string bytes (UTF-16LE).
QByteArray Utf16Bytes(const QString& text, bool withTerminator);
QString TextFromUtf16Bytes(const QByteArray& data); // the whole data, NULs kept

// A value as the program's string reader sees it: string types cut at the
// first NUL, other bytes read as text cut at the first NUL, REG_DWORD empty.
QString ValueAsText(quint32 type, QByteArrayView data);

// Builders for typed values, used by the command-line tool and the tests.
RegValue MakeStringValue(const QString& name, const QString& text, quint32 type = RegType::Sz);
RegValue MakeDwordValue(const QString& name, quint32 number);
RegValue MakeQwordValue(const QString& name, quint64 number);
RegValue MakeMultiStringValue(const QString& name, const QStringList& strings);

// "REG_SZ" etc. for the types the tool names; other types as "REG_TYPE_<n>".
QString RegTypeName(quint32 type);
std::optional<quint32> ParseRegTypeName(const QString& name);
