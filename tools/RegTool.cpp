#include "tools/RegTool.h"

#include "core/AppContext.h"
#include "core/SqliteStore.h"

#include <CLI/CLI.hpp>

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <ostream>

namespace {

const char* const kFooter =
    R"(Keys are written in full or short: HKEY_LOCAL_MACHINE\Software\Vendor or
HKLM\Software\Vendor; likewise HKEY_CURRENT_USER (HKCU), HKEY_USERS (HKU),
HKEY_CLASSES_ROOT (HKCR) and HKEY_CURRENT_CONFIG (HKCC). HKEY_CLASSES_ROOT is
HKEY_LOCAL_MACHINE\SOFTWARE\Classes and HKEY_CURRENT_CONFIG is
HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Hardware Profiles\Current, as on
Windows. An empty value name ("") is the key's default value.

Examples:
  relvano-reg query "HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\MyApp"
  relvano-reg query "HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\MyApp" DisplayName
  relvano-reg add "HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\MyApp" --value DisplayName --data "My App"
  relvano-reg add "HKLM\Software\Vendor" --value Count --type REG_DWORD --data 0x2a
  relvano-reg add "HKLM\Software\Vendor" --value Names --type REG_MULTI_SZ --data "one\0two"
  relvano-reg add "HKLM\Software\Vendor" --value Blob --type REG_BINARY --data de,ad,be,ef
  relvano-reg add "HKCR\.vnd\shell\open\command" --value "" --data "/opt/vendor/open \"%1\""
  relvano-reg delete "HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\MyApp"
  relvano-reg delete "HKLM\Software\Vendor" --value Count
  relvano-reg export "HKLM\Software\Vendor" vendor.reg
  relvano-reg export "HKLM\Software\Vendor" /dev/stdout
  relvano-reg import vendor.reg
  relvano-reg --store /tmp/test/Registry.db query HKLM\Software

A file is written whole or not at all: when it cannot be written completely
(a full disk, for one), the file that was there stays as it was.

Exit status: 0 on success, 1 when the command failed (the reason is printed on
standard error: a missing key, a store that cannot be read or written, a file
that cannot be written, lines of an import that could not be taken), 2 for a
usage error.)";

std::string Std(const QString& text) {
    return text.toStdString();
}

class Failure {
public:
    explicit Failure(QString message) : message(std::move(message)) {}
    QString message;
};

KeyPath ParseKey(const std::string& text) {
    const QString path = QString::fromStdString(text);
    if (const auto key = ParseFullKeyPath(path))
        return *key;
    throw Failure(
        QStringLiteral("not a key path: \"%1\" (%2)").arg(path, KeyPathProblem(path, true)));
}

void Check(const StoreResult& result) {
    if (!result.ok())
        throw Failure(result.message);
}

quint64 ParseNumber(const QString& text, quint64 max, const QString& typeName) {
    bool ok = false;
    const QString t = text.trimmed();
    quint64 value = 0;
    if (t.startsWith(u"0x", Qt::CaseInsensitive))
        value = t.mid(2).toULongLong(&ok, 16);
    else
        value = t.toULongLong(&ok, 10);
    if (!ok || value > max)
        throw Failure(QStringLiteral("\"%1\" is not a valid %2 number (decimal, or hex with 0x)")
                          .arg(text, typeName));
    return value;
}

QString SupportedTypes() {
    return QStringLiteral("REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_QWORD, REG_BINARY, REG_MULTI_SZ "
                          "and REG_NONE");
}

RegValue MakeValue(const QString& name, quint32 type, const QString& data) {
    switch (type) {
    case RegType::Sz:
    case RegType::ExpandSz:
        return MakeStringValue(name, data, type);
    case RegType::Dword:
        return MakeDwordValue(
            name, static_cast<quint32>(ParseNumber(data.isEmpty() ? QStringLiteral("0") : data,
                                                   0xFFFFFFFFull, QStringLiteral("REG_DWORD"))));
    case RegType::Qword:
        return MakeQwordValue(name, ParseNumber(data.isEmpty() ? QStringLiteral("0") : data, ~0ull,
                                                QStringLiteral("REG_QWORD")));
    case RegType::MultiSz:
        return MakeMultiStringValue(name, data.isEmpty() ? QStringList()
                                                         : data.split(QStringLiteral("\\0")));
    case RegType::Binary:
    case RegType::None: {
        QString digits = data;
        digits.remove(u',').remove(u' ');
        const QByteArray bytes = QByteArray::fromHex(digits.toLatin1());
        const bool hexOnly = std::all_of(digits.cbegin(), digits.cend(),
                                         [](QChar c) { return isxdigit(c.toLatin1()) != 0; });
        if (!hexOnly || digits.size() % 2 != 0)
            throw Failure(QStringLiteral("\"%1\" is not binary data: give pairs of hex digits, "
                                         "optionally separated by commas")
                              .arg(data));
        return RegValue{name, type, bytes};
    }
    default:
        throw Failure(QStringLiteral("type %1 cannot be written here; the types are %2")
                          .arg(RegTypeName(type), SupportedTypes()));
    }
}

// A value's data as the query command shows it.
QString DataText(const RegValue& v) {
    switch (v.type) {
    case RegType::Sz:
    case RegType::ExpandSz:
        return ValueAsText(v.type, v.data);
    case RegType::Dword:
        if (v.data.size() == 4)
            return QStringLiteral("0x%1").arg(qFromLittleEndian<quint32>(v.data.constData()), 0,
                                              16);
        break;
    case RegType::Qword:
        if (v.data.size() == 8)
            return QStringLiteral("0x%1").arg(qFromLittleEndian<quint64>(v.data.constData()), 0,
                                              16);
        break;
    case RegType::MultiSz: {
        QStringList parts = TextFromUtf16Bytes(v.data).split(QChar(0));
        while (!parts.isEmpty() && parts.last().isEmpty())
            parts.removeLast();
        return parts.join(QStringLiteral("\\0"));
    }
    default:
        break;
    }
    return QString::fromLatin1(v.data.toHex().toUpper());
}

class Tool {
public:
    Tool(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    int run(const QStringList& args);

private:
    SqliteStore& store(bool mustExist);
    void query();
    void add();
    void remove();
    void exportKey();
    void importFile();

    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<SqliteStore> store_;

    std::string storePath_;
    double timeoutSeconds_ = SqliteStore::DefaultBusyTimeoutMs / 1000.0;
    std::string key_;
    std::string valueName_;
    bool haveValueName_ = false;
    std::string type_ = "REG_SZ";
    bool haveType_ = false;
    std::string data_;
    bool haveData_ = false;
    std::string file_;
};

SqliteStore& Tool::store(bool mustExist) {
    const QString path = storePath_.empty() ? JoinPath(DefaultProgramFolder(), StoreFileName)
                                            : QString::fromStdString(storePath_);
    if (mustExist && !QFileInfo::exists(path))
        throw Failure(QStringLiteral("there is no store at %1").arg(path));
    store_ = std::make_unique<SqliteStore>(path, static_cast<int>(timeoutSeconds_ * 1000));
    const StoreResult& status = store_->openStatus();
    if (status.status == StoreStatus::Busy)
        throw Failure(QStringLiteral("the store %1 is locked by another program; gave up after "
                                     "%2 seconds")
                          .arg(path)
                          .arg(timeoutSeconds_));
    Check(status);
    return *store_;
}

void Tool::query() {
    const KeyPath key = ParseKey(key_);
    QList<RegValue> values;
    QStringList subkeys;
    Check(store(true).readKey(key, &values, &subkeys));
    if (haveValueName_) {
        const QString name = QString::fromStdString(valueName_);
        for (const RegValue& v : values) {
            if (FoldName(v.name) == FoldName(name)) {
                out_ << Std(DataText(v)) << '\n';
                return;
            }
        }
        throw Failure(
            QStringLiteral("value not found: %1 in %2")
                .arg(name.isEmpty() ? QStringLiteral("(Default)") : name, key.fullPath()));
    }
    out_ << Std(key.fullPath()) << '\n';
    for (const RegValue& v : values) {
        out_ << "    " << Std(v.name.isEmpty() ? QStringLiteral("(Default)") : v.name) << "    "
             << Std(RegTypeName(v.type)) << "    " << Std(DataText(v)) << '\n';
    }
    for (const QString& sub : subkeys)
        out_ << '\n' << Std(key.fullPath() + u'\\' + sub) << '\n';
}

void Tool::add() {
    const KeyPath key = ParseKey(key_);
    const auto type = ParseRegTypeName(QString::fromStdString(type_));
    if (!type)
        throw Failure(QStringLiteral("unknown type \"%1\"; the types are %2")
                          .arg(QString::fromStdString(type_), SupportedTypes()));
    if (!haveValueName_ && !haveData_ && !haveType_) {
        Check(store(false).createKey(key));
        return;
    }
    const RegValue value =
        MakeValue(QString::fromStdString(valueName_), *type, QString::fromStdString(data_));
    Check(store(false).setValue(key, value));
}

void Tool::remove() {
    const KeyPath key = ParseKey(key_);
    if (haveValueName_)
        Check(store(true).deleteValue(key, QString::fromStdString(valueName_)));
    else
        Check(store(true).deleteKey(key));
}

void Tool::exportKey() {
    const KeyPath key = ParseKey(key_);
    Check(store(true).exportKey(key, QString::fromStdString(file_)));
}

void Tool::importFile() {
    ImportReport report;
    const QString file = QString::fromStdString(file_);
    const StoreResult result = store(false).importFile(file, &report);
    for (const ImportIssue& issue : report.issues)
        err_ << Std(file) << ':' << issue.line << ": " << Std(issue.reason) << '\n';
    if (!report.imported) // named with the file, unless the reason names it already
        throw Failure(report.error.contains(file)
                          ? report.error
                          : QStringLiteral("%1: %2").arg(file, report.error));
    Check(result);
    if (!report.issues.isEmpty())
        throw Failure(QStringLiteral("%1: %2 line(s) could not be imported; the rest was imported")
                          .arg(file)
                          .arg(report.issues.size()));
}

int Tool::run(const QStringList& args) {
    CLI::App app{"relvano-reg: read and change the registry store of Relvano.", "relvano-reg"};
    app.footer(kFooter);
    app.require_subcommand(1);
    app.fallthrough();
    app.add_option("--store", storePath_,
                   "The store file (default: Registry.db in the program folder, the one the "
                   "program itself opens)");
    app.add_option("--timeout", timeoutSeconds_,
                   "Seconds to wait while another program holds the store (default: 5)")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                // A range check alone lets "nan" through: it compares false
                // with both bounds.
                double seconds = 0;
                if (!CLI::detail::lexical_cast(text, seconds) || !std::isfinite(seconds) ||
                    seconds < 0 || seconds > 3600)
                    return "a number of seconds from 0 to 3600 is needed, not " + text;
                return {};
            },
            "SECONDS"));

    auto* query = app.add_subcommand(
        "query", "Print a key's values and subkeys, or one value's "
                 "data.\nExample: relvano-reg query HKLM\\Software\\Vendor Count");
    query->add_option("KEY", key_, "The key")->required();
    query->add_option("VALUE", valueName_, "Print only this value's data")
        ->each([this](const std::string&) { haveValueName_ = true; });

    auto* add = app.add_subcommand(
        "add", "Create a key, or set a value (creating the key).\nExample: relvano-reg add "
               "HKLM\\Software\\Vendor --value Name --data \"My App\"");
    add->add_option("KEY", key_, "The key")->required();
    add->add_option("--value", valueName_, "The value's name (omitted or \"\": the default value)")
        ->each([this](const std::string&) { haveValueName_ = true; });
    add->add_option("--type", type_,
                    "REG_SZ (default), REG_EXPAND_SZ, REG_DWORD, REG_QWORD, REG_BINARY, "
                    "REG_MULTI_SZ or REG_NONE")
        ->each([this](const std::string&) { haveType_ = true; });
    add->add_option("--data", data_,
                    "The data: text; a number for REG_DWORD/REG_QWORD (decimal or 0x hex); hex "
                    "byte pairs for REG_BINARY and REG_NONE; strings separated by \\0 for "
                    "REG_MULTI_SZ")
        ->each([this](const std::string&) { haveData_ = true; });

    auto* del = app.add_subcommand(
        "delete", "Delete a key with everything below it, or one value.\nExample: relvano-reg "
                  "delete HKLM\\Software\\Vendor --value Name");
    del->add_option("KEY", key_, "The key")->required();
    del->add_option("--value", valueName_, "Delete only this value (\"\": the default value)")
        ->each([this](const std::string&) { haveValueName_ = true; });

    auto* exp = app.add_subcommand(
        "export", "Write a key and its subkeys to a registry editor file (.reg).\nExample: "
                  "relvano-reg export HKLM\\Software\\Vendor vendor.reg");
    exp->add_option("KEY", key_, "The key")->required();
    exp->add_option("FILE", file_,
                    "The file to write, whole or not at all (a device such as /dev/stdout is "
                    "written in place)")
        ->required();

    auto* imp = app.add_subcommand(
        "import", "Merge a registry editor file (.reg) into the store; lines that cannot be "
                  "taken are listed and skipped.\nExample: relvano-reg import vendor.reg");
    imp->add_option("FILE", file_, "The file to read")->required();

    std::vector<std::string> argv;
    for (auto it = args.crbegin(); it != args.crend(); ++it)
        argv.push_back(it->toStdString());
    try {
        app.parse(argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, out_, err_);
    } catch (const CLI::ParseError& e) {
        app.exit(e, out_, err_);
        return 2;
    }

    try {
        if (*query)
            this->query();
        else if (*add)
            this->add();
        else if (*del)
            remove();
        else if (*exp)
            exportKey();
        else if (*imp)
            importFile();
    } catch (const Failure& f) {
        err_ << "relvano-reg: " << Std(f.message) << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int RunRegTool(const QStringList& args, std::ostream& out, std::ostream& err) {
    return Tool(out, err).run(args);
}
