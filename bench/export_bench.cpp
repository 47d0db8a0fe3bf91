// Replace over 100 000 items, deleting 500 strings referenced by 100 000
// items, and a multi-export of 100 000 items.
#include "BenchUtil.h"
#include "ScriptedUi.h"
#include "model/FileIO.h"
#include "project/QVNDoc.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int kItems = 100000;
constexpr int kStrings = 500;

void BM_ReplaceInField(benchmark::State& state) {
    CQVNDoc doc;
    bench::FillProject(doc, kItems, 0);
    bool forward = true;
    int count = 0;
    for (auto _ : state) {
        // Back and forth, so that every run replaces as much.
        count = doc.GetItems().ReplaceInField(kFieldTitle, forward ? "boxes" : "crates",
                                              forward ? "crates" : "boxes", false);
        forward = !forward;
    }
    state.counters["replaced"] = count;
}
BENCHMARK(BM_ReplaceInField)->Unit(benchmark::kMillisecond);

void BM_DeleteAllStrings(benchmark::State& state) {
    ScriptedUi ui;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CQVNDoc>(&ui);
        bench::FillProject(*doc, kItems, static_cast<int>(state.range(0)));
        state.ResumeTiming();
        doc->OnDeleteAllStrings();
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteAllStrings)
    ->Arg(kStrings)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_MultiExport(benchmark::State& state) {
    ScriptedUi ui;
    CQVNDoc doc(&ui);
    bench::FillProject(doc, kItems, kStrings);
    std::string pattern = (std::filesystem::temp_directory_path() / "qvn-bench-XXXXXX").string();
    const std::string folder = ::mkdtemp(pattern.data());
    const MultiExportOptions options{
        folder, std::vector<bool>(doc.GetMultiExportRows().size(), true), true, true};
    for (auto _ : state) {
        if (!doc.MultiExport(options)) {
            state.SkipWithError("export failed");
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_MultiExport)->Unit(benchmark::kMillisecond);

} // namespace

QVN_BENCHMARK_MAIN()
