// The project document on 100 000 items: saving and opening the project
// file, and importing the generated .bib file through the document (to
// compare with the reader's own speed in bench_reader).
#include "BenchUtil.h"
#include "model/BibTexReader.h"
#include "model/FileIO.h"
#include "project/QVNDoc.h"

#include <benchmark/benchmark.h>
#include <chrono>
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

// The same save without the backup of the previous file.
void BM_SaveProjectNoBackup100000Items(benchmark::State& state) {
    CQVNDoc& doc = Project();
    doc.SetKeepBackup(false);
    for (auto _ : state) {
        if (!doc.SaveProject(ProjectPath())) {
            state.SkipWithError("save failed");
            return;
        }
    }
    doc.SetKeepBackup(true);
}
BENCHMARK(BM_SaveProjectNoBackup100000Items)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the window does when it gets the focus back: read the project file
// and compare its size and hash with what was last read or written.
void BM_ChangeCheck100000Items(benchmark::State& state) {
    CQVNDoc& doc = Project();
    if (!doc.SaveProject(ProjectPath())) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        doc.CheckForOutsideChange();
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(ProjectPath())));
}
BENCHMARK(BM_ChangeCheck100000Items)->Unit(benchmark::kMillisecond)->UseRealTime();

// The part of a recovery copy that the window waits for: starting the
// writer on a snapshot of the program. Writing the copy is not timed.
void BM_RecoveryCopyStart100000Items(benchmark::State& state) {
    CQVNDoc& doc = Project();
    const std::string folder = std::string(QVN_BENCH_DATA_DIR) + "/recovery";
    doc.SetRecoveryFolder(folder);
    doc.SetRecoveryTiming(std::chrono::milliseconds(0), std::chrono::milliseconds(0));
    for (auto _ : state) {
        doc.AddString("bench", "value", true);
        doc.MaintainRecoveryCopy();
        state.PauseTiming();
        if (!doc.WaitForRecoveryCopy()) {
            state.SkipWithError("no recovery copy");
        }
        state.ResumeTiming();
    }
    doc.SaveProject(ProjectPath());
    doc.SetRecoveryFolder({});
}
BENCHMARK(BM_RecoveryCopyStart100000Items)->Unit(benchmark::kMillisecond)->UseRealTime();

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

QVN_BENCHMARK_MAIN()
