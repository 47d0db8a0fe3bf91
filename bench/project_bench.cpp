// The project document on 100 000 items: saving and opening the project
// file, and importing the generated .bib file through the document (to
// compare with the reader's own speed in bench_reader).
#include "BenchUtil.h"
#include "model/BibTexReader.h"
#include "model/FileIO.h"
#include "project/QVNDoc.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <string>

namespace {

std::string ProjectPath() {
    return std::string(QVN_BENCH_DATA_DIR) + "/generated-100000.qvp";
}

// A document holding the generated bibliography, made once.
CQVNDoc& Project() {
    static std::unique_ptr<CQVNDoc> doc = [] {
        auto d = std::make_unique<CQVNDoc>();
        d->StartProject({"Bench", QVN_BENCH_DATA_DIR, "strings.bib"});
        d->ImportFiles({bench::GeneratedBib(100000)});
        return d;
    }();
    return *doc;
}

void BM_SaveProject100000Items(benchmark::State& state) {
    CQVNDoc& doc = Project();
    for (auto _ : state) {
        if (!doc.SaveProject(ProjectPath())) {
            state.SkipWithError("save failed");
            return;
        }
    }
    state.counters["items"] = doc.GetItems().GetTotalCount();
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(ProjectPath()));
}
BENCHMARK(BM_SaveProject100000Items)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenProject100000Items(benchmark::State& state) {
    if (!std::filesystem::exists(ProjectPath())) {
        Project().SaveProject(ProjectPath());
    }
    int items = 0;
    for (auto _ : state) {
        auto doc = std::make_unique<CQVNDoc>();
        doc->NewProject();
        if (!doc->OpenProject(ProjectPath())) {
            state.SkipWithError("open failed");
            return;
        }
        items = doc->GetItems().GetTotalCount();
        // Freeing the items is the cost of closing, not of opening.
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["items"] = items;
}
BENCHMARK(BM_OpenProject100000Items)->Unit(benchmark::kMillisecond)->UseRealTime();

// Import through the document (read, merge copies, summary) against the
// reader alone on the same file.
void BM_ImportThroughDocument(benchmark::State& state) {
    const std::string path = bench::GeneratedBib(100000);
    const auto bytes = std::filesystem::file_size(path);
    for (auto _ : state) {
        auto doc = std::make_unique<CQVNDoc>();
        doc->StartProject({"Bench", "", "strings.bib"});
        doc->ImportFiles({path});
        benchmark::DoNotOptimize(doc->GetItems().GetTotalCount());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ImportThroughDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReaderAlone(benchmark::State& state) {
    const std::string path = bench::GeneratedBib(100000);
    const auto bytes = std::filesystem::file_size(path);
    for (auto _ : state) {
        auto reader = std::make_unique<CBibTexReader>(path);
        reader->ReadFile();
        benchmark::DoNotOptimize(reader->GetItems().GetTotalCount());
        state.PauseTiming();
        reader.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ReaderAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
