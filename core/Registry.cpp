#include "core/Registry.h"

#include "core/RegFile.h"
#include "core/WholeFile.h"

#include <QBuffer>
#include <QFile>

namespace {

std::optional<KeyPath> RelativeKey(RootKey root, const QString& path) {
    auto names = SplitKeyPath(path);
    if (!names)
        return std::nullopt;
    return KeyPath{root, *names};
}

StoreResult NotAKeyPath(const QString& path, bool fullPath = false) {
    return {StoreStatus::Invalid,
            QStringLiteral("not a key path: %1 (%2)").arg(path, KeyPathProblem(path, fullPath))};
}

} // namespace

StoreResult Registry::DeleteKey(RootKey root, const QString& path) {
    const auto key = RelativeKey(root, path);
    return key ? deleteKey(*key) : NotAKeyPath(path);
}

StoreResult Registry::DeleteValue(RootKey root, const QString& path, const QString& name) {
    const auto key = RelativeKey(root, path);
    return key ? deleteValue(*key, name) : NotAKeyPath(path);
}

StoreResult Registry::SetStringValue(RootKey root, const QString& path, const QString& name,
                                     const QString& text) {
    const auto key = RelativeKey(root, path);
    return key ? setValue(*key, MakeStringValue(name, text)) : NotAKeyPath(path);
}

void Registry::EnumSubkeys(RootKey root, const QString& path, QStringList& names) {
    const auto key = RelativeKey(root, path);
    QStringList subkeys;
    if (!key || !readKey(*key, nullptr, &subkeys))
        return;
    for (QString& name : subkeys) {
        if (name.size() <= MaxKeyNameLength)
            names.append(std::move(name));
    }
}

void Registry::EnumValueNames(RootKey root, const QString& path, QStringList& names) {
    const auto key = RelativeKey(root, path);
    QList<RegValue> values;
    if (!key || !readKey(*key, &values, nullptr))
        return;
    // A name that does not fit the 255-character buffer is skipped, and so is
    // a value whose data is empty.
    for (RegValue& value : values) {
        if (value.name.size() < MaxKeyNameLength && !value.data.isEmpty())
            names.append(std::move(value.name));
    }
}

StoreResult Registry::ExportKey(const QString& fullKeyPath, const QString& destination) {
    const auto key = ParseFullKeyPath(fullKeyPath);
    return key ? exportKey(*key, destination) : NotAKeyPath(fullKeyPath, true);
}

ImportReport Registry::ImportFile(const QString& source) {
    ImportReport report;
    importFile(source, &report);
    return report;
}

QList<Registry::SubkeyValues> Registry::ReadSubkeyValues(RootKey root, const QString& path,
                                                         const QStringList& valueNames,
                                                         StoreResult* result) {
    QList<SubkeyValues> entries;
    const auto key = RelativeKey(root, path);
    StoreResult r = key ? readSubkeyValues(*key, valueNames, &entries) : NotAKeyPath(path);
    if (r.status == StoreStatus::NotFound)
        r = {}; // a missing key simply has no subkeys
    if (!r.ok())
        entries.clear();
    if (result)
        *result = r;
    return entries;
}

StoreResult Registry::exportKey(const KeyPath& key, const QString& destination) {
    WholeFileWriter file(destination);
    if (!file.open())
        return {StoreStatus::Failed, file.error()};
    RegFileWriter out(file);
    StoreResult r = exportTree(key, out);
    if (r.ok() && !out.finish())
        r = {StoreStatus::Failed, file.error()};
    if (r.ok() && !file.commit())
        r = {StoreStatus::Failed, file.error()};
    if (!r.ok()) {
        file.cancel();
        if (out.failed())
            r = {StoreStatus::Failed, file.error()};
    }
    return r;
}

StoreResult Registry::importFile(const QString& source, ImportReport* report) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        const StoreResult r{StoreStatus::Failed,
                            QStringLiteral("cannot read %1: %2").arg(source, in.errorString())};
        if (report)
            *report = ImportReport{false, r.message, {}};
        return r;
    }
    return importFrom(in, report);
}

StoreResult Registry::importBytes(const QByteArray& bytes, ImportReport* report) {
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return importFrom(in, report);
}
