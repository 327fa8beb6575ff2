// The store on 10,000 Uninstall entries of 10 values each: a single read, a
// list load, exporting and importing them all.
//   build/bin/store_bench --benchmark_repetitions=5
#include "core/AppContext.h"
#include "core/RegFile.h"
#include "core/SqliteStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 10000;
constexpr RootKey HKLM = RootKey::LocalMachine;

QByteArray MakeExport() {
    QList<RegExportKey> keys;
    keys.append({AppContext::UninstallKeyFullPath.chopped(1), {}});
    for (int i = 0; i < kEntries; ++i) {
        RegExportKey key{AppContext::UninstallKeyFullPath +
                             QString("{%1-PROGRAM-ENTRY}").arg(i, 8, 10, QChar('0')),
                         {}};
        const QString n = QString::number(i);
        key.values = {
            MakeStringValue("DisplayName", "Program number " + n),
            MakeStringValue("UninstallString", "\"/opt/program" + n + "/uninstall\" --quiet"),
            MakeStringValue("DisplayIcon", "/opt/program" + n + "/icon.ico"),
            MakeStringValue("DisplayVersion", "1.2." + n),
            MakeStringValue("Publisher", "Publisher " + QString::number(i % 50)),
            MakeStringValue("InstallDate", "20261209"),
            MakeStringValue("InstallLocation", "/opt/program" + n),
            MakeStringValue("URLInfoAbout", "https://example.com/" + n),
            MakeDwordValue("EstimatedSize", static_cast<quint32>(i * 10)),
            MakeStringValue("HelpLink", "mailto:help@example.com"),
        };
        keys.append(key);
    }
    return FormatRegFile(keys);
}

struct Fixture {
    QTemporaryDir dir;
    QByteArray file = MakeExport();
    std::unique_ptr<SqliteStore> store;
    Fixture() {
        store = std::make_unique<SqliteStore>(dir.filePath("Registry.db"));
        store->importBytes(file, nullptr);
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_GetStringValue(benchmark::State& state) {
    SqliteStore& store = *Shared().store;
    int i = 0;
    for (auto _ : state) {
        const QString path = AppContext::UninstallKeyPath +
                             QString("{%1-PROGRAM-ENTRY}").arg(i++ % kEntries, 8, 10, QChar('0'));
        benchmark::DoNotOptimize(store.GetStringValue(HKLM, path, "UninstallString"));
    }
}
BENCHMARK(BM_GetStringValue);

void ListLoad(benchmark::State& state, bool batch) {
    SqliteStore& store = *Shared().store;
    for (auto _ : state) {
        std::unique_ptr<Registry::ReadBatch> snapshot;
        if (batch)
            snapshot = store.BeginReadBatch();
        QStringList names;
        store.EnumSubkeys(HKLM, AppContext::UninstallKeyPath, names);
        qsizetype total = 0;
        for (const QString& name : names) {
            const QString path = AppContext::UninstallKeyPath + name;
            total += store.GetStringValue(HKLM, path, "DisplayName").size();
            total += store.GetStringValue(HKLM, path, "UninstallString").size();
            total += store.GetStringValue(HKLM, path, "DisplayIcon").size();
        }
        if (names.size() != kEntries)
            state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(total);
    }
}
void BM_ListLoadBatch(benchmark::State& state) {
    ListLoad(state, true);
}
void BM_ListLoadNoBatch(benchmark::State& state) {
    ListLoad(state, false);
}
BENCHMARK(BM_ListLoadBatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListLoadNoBatch)->Unit(benchmark::kMillisecond);

// The same reads in one call.
void BM_ListLoadBulk(benchmark::State& state) {
    SqliteStore& store = *Shared().store;
    const QStringList names{"DisplayName", "UninstallString", "DisplayIcon"};
    for (auto _ : state) {
        const auto entries = store.ReadSubkeyValues(HKLM, AppContext::UninstallKeyPath, names);
        if (entries.size() != kEntries || entries[5].values[1].isEmpty())
            state.SkipWithError("wrong entries");
        benchmark::DoNotOptimize(entries);
    }
}
BENCHMARK(BM_ListLoadBulk)->Unit(benchmark::kMillisecond);

void BM_ExportAll(benchmark::State& state) {
    SqliteStore& store = *Shared().store;
    const QString out = Shared().dir.filePath("all.reg");
    for (auto _ : state) {
        if (!store.ExportKey(AppContext::UninstallKeyFullPath, out))
            state.SkipWithError("export failed");
    }
}
BENCHMARK(BM_ExportAll)->Unit(benchmark::kMillisecond);

void BM_ImportAllIntoEmptyStore(benchmark::State& state) {
    const QByteArray& file = Shared().file;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = Shared().dir.filePath(QString("import%1.db").arg(run++));
        auto store = std::make_unique<SqliteStore>(path);
        state.ResumeTiming();
        ImportReport report;
        store->importBytes(file, &report);
        if (!report.imported || !report.issues.isEmpty())
            state.SkipWithError("import failed");
        state.PauseTiming();
        store.reset();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportAllIntoEmptyStore)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Shared(); // build the store before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
