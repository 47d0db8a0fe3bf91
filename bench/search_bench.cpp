// Searching one field of 100 000 items.
#include "BenchUtil.h"
#include "ScriptedUi.h"
#include "project/QVNDoc.h"
#include "search/Search.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kItems = 100000;

CQVNDoc& Project() {
    static ScriptedUi ui;
    static CQVNDoc doc(&ui);
    static const bool filled = (bench::FillProject(doc, kItems, 500), true);
    (void)filled;
    return doc;
}

// A new search each time, as the search bar makes it.
void BM_SearchTitle(benchmark::State& state, const char* query) {
    CQVNDoc& doc = Project();
    int found = 0;
    for (auto _ : state) {
        CSearch search(&doc.GetItems(), query, true);
        search.AddField(kFieldTitle);
        found = search.Run();
        benchmark::DoNotOptimize(found);
    }
    state.counters["results"] = found;
}
BENCHMARK_CAPTURE(BM_SearchTitle, common_word, "boxes")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchTitle, no_match, "nothing like this")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchTitle, non_ascii, "\xC3\xA4rger")->Unit(benchmark::kMillisecond);

} // namespace

QVN_BENCHMARK_MAIN()
