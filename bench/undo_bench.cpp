// Taking back the two largest single actions on 100 000 items: a replace that
// changes every item's title, and the import of a 100 000-item .bib file.
// Only the undo (and, separately, the redo) is timed; the counters give the
// bytes the history holds for the step.
#include "BenchUtil.h"
#include "ScriptedUi.h"
#include "project/QVNDoc.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The time of undoing the last step, or with `redo` of redoing it; the
// step is undone in the end either way.
double TimeUndo(CQVNDoc& doc, bool redo) {
    Clock::time_point start = Clock::now();
    doc.Undo();
    double seconds = Seconds(start);
    if (redo) {
        start = Clock::now();
        doc.Redo();
        seconds = Seconds(start);
        doc.Undo();
    }
    return seconds;
}

void BM_UndoReplace100000Items(benchmark::State& state) {
    ScriptedUi ui;
    CQVNDoc doc(&ui);
    doc.StartProject({"Bench", QVN_BENCH_DATA_DIR, "strings.bib"});
    doc.ImportFiles({bench::GeneratedBib(100000)});
    doc.GetHistory().Clear();
    const bool redo = state.range(0) != 0;
    std::size_t stepBytes = 0;
    for (auto _ : state) {
        // Every generated title holds an "e".
        doc.Replace({CFieldRef::FromName("title"), "e", "E", false});
        stepBytes = doc.GetHistory().GetBytes();
        state.SetIterationTime(TimeUndo(doc, redo));
        doc.GetHistory().Clear();
    }
    state.counters["items"] = doc.GetItems().GetTotalCount();
    state.counters["stepMB"] = static_cast<double>(stepBytes) / (1 << 20);
}
BENCHMARK(BM_UndoReplace100000Items)
    ->ArgName("redo")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

void BM_UndoImport100000Items(benchmark::State& state) {
    ScriptedUi ui;
    CQVNDoc doc(&ui);
    doc.StartProject({"Bench", QVN_BENCH_DATA_DIR, "strings.bib"});
    const std::string bib = bench::GeneratedBib(100000);
    const bool redo = state.range(0) != 0;
    std::size_t stepBytes = 0;
    for (auto _ : state) {
        doc.ImportFiles({bib});
        stepBytes = doc.GetHistory().GetBytes();
        state.SetIterationTime(TimeUndo(doc, redo));
        doc.GetHistory().Clear();
    }
    state.counters["stepMB"] = static_cast<double>(stepBytes) / (1 << 20);
}
BENCHMARK(BM_UndoImport100000Items)
    ->ArgName("redo")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

} // namespace

QVN_BENCHMARK_MAIN()
