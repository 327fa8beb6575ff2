// Feeds arbitrary bytes to the .reg reader. Every value it takes must come
// back unchanged when written as an export and read again.
#include "core/RegFile.h"

#include <QList>

#include <cstdlib>

namespace {

struct Recorder final : RegImportSink {
    KeyPath key;
    QList<std::pair<KeyPath, RegValue>> values;
    StoreResult openKey(const KeyPath& k) override {
        key = k;
        return {};
    }
    StoreResult deleteKey(const KeyPath&) override { return {}; }
    StoreResult setValue(const RegValue& value) override {
        values.append({key, value});
        return {};
    }
    StoreResult deleteValue(const QString&) override { return {}; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Recorder first;
    ParseRegFile(bytes, first);
    for (const auto& [key, value] : first.values) {
        // Names the store refuses are not written to it, so not exported.
        if (!ValueNameProblem(value.name).isEmpty())
            std::abort();
        const QByteArray file = FormatRegFile({RegExportKey{key.fullPath(), {value}}});
        Recorder second;
        const ImportReport report = ParseRegFile(file, second);
        if (!report.imported || !report.issues.isEmpty() || second.values.size() != 1 ||
            !(second.values[0].second == value) || second.values[0].first.root != key.root ||
            second.values[0].first.names != key.names)
            std::abort();
    }
    return 0;
}
