// Feeds arbitrary bytes to the .reg reader. Every value it takes must come
// back unchanged when written as an export and read again.
#include "core/RegFile.h"

#include <QList>

#include <cstdlib>

namespace {

struct Recorder final : RegImportSink {
    QList<std::pair<KeyPath, RegValue>> values;
    bool createKey(const KeyPath&) override { return true; }
    bool deleteKey(const KeyPath&) override { return true; }
    bool setValue(const KeyPath& key, const RegValue& value) override {
        values.append({key, value});
        return true;
    }
    bool deleteValue(const KeyPath&, const QString&) override { return true; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Recorder first;
    ParseRegFile(bytes, first);
    for (const auto& [key, value] : first.values) {
        const QByteArray file = FormatRegFile({RegExportKey{key.fullPath(), {value}}});
        Recorder second;
        const ImportReport report = ParseRegFile(file, second);
        if (!report.imported || !report.issues.isEmpty() || second.values.size() != 1 ||
            !(second.values[0].second == value))
            std::abort();
    }
    return 0;
}
