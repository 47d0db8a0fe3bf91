// The quick filter and the problem check on 100 000 items read from the
// generated bibliography (accents, strings, concatenations).
#include "BenchUtil.h"
#include "ScriptedUi.h"
#include "model/TexText.h"
#include "project/ProblemCheck.h"
#include "project/QVNDoc.h"
#include "search/QuickFilter.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace {

// CPU time of this thread in ms: steadier than wall time on a shared machine.
double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

CQVNDoc& Project() {
    static ScriptedUi ui;
    static CQVNDoc doc(&ui);
    static const bool filled = [] {
        doc.StartProject({});
        doc.ImportFiles({bench::GeneratedBib(100000)});
        return true;
    }();
    (void)filled;
    return doc;
}

std::vector<const CBibTexEntry*> Items() {
    std::vector<const CBibTexEntry*> items;
    Project().GetItems().ForEachItem(
        [&items](const CBibTexEntry& item) { items.push_back(&item); });
    return items;
}

// The texts the filter matches against, made once per list.
void BM_FilterItemTexts(benchmark::State& state) {
    const std::vector<const CBibTexEntry*> items = Items();
    for (auto _ : state) {
        std::vector<std::string> texts;
        texts.reserve(items.size());
        for (const CBibTexEntry* item : items) {
            texts.push_back(CQuickFilter::ItemText(*item));
        }
        benchmark::DoNotOptimize(texts.data());
    }
    state.counters["items"] = static_cast<double>(items.size());
}
BENCHMARK(BM_FilterItemTexts)->Unit(benchmark::kMillisecond);

// Typing a 10-character word one key at a time: each keystroke looks again
// only at the items the one before let through. The figure is the slowest
// keystroke (the first, over every item).
void BM_FilterTyping(benchmark::State& state, const char* word) {
    const std::vector<const CBibTexEntry*> items = Items();
    std::vector<std::string> texts;
    for (const CBibTexEntry* item : items) {
        texts.push_back(CQuickFilter::ItemText(*item));
    }
    double slowest = 0;
    double slowestCpu = 0;
    std::size_t shown = 0;
    for (auto _ : state) {
        std::vector<int> rows(texts.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            rows[i] = static_cast<int>(i);
        }
        std::string typed;
        for (const char* c = word; *c != 0; ++c) {
            typed += *c;
            const auto start = std::chrono::steady_clock::now();
            const double startCpu = ThreadCpuMs();
            const CQuickFilter filter(typed);
            std::vector<int> kept;
            for (const int row : rows) {
                if (filter.Matches(texts[static_cast<std::size_t>(row)])) {
                    kept.push_back(row);
                }
            }
            rows.swap(kept);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            slowest = std::max(slowest, ms);
            slowestCpu = std::max(slowestCpu, ThreadCpuMs() - startCpu);
        }
        shown = rows.size();
    }
    state.counters["slowest_key_ms"] = slowest;
    state.counters["slowest_key_cpu_ms"] = slowestCpu;
    state.counters["shown"] = static_cast<double>(shown);
}
BENCHMARK_CAPTURE(BM_FilterTyping, word_muller, "mullerxyzq")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilterTyping, word_stochastic, "stochastic")->Unit(benchmark::kMillisecond);

// The check of every item of a project that was just opened.
void BM_ProblemCheckAll(benchmark::State& state) {
    CQVNDoc& doc = Project();
    std::size_t withProblems = 0;
    for (auto _ : state) {
        CProblemCheck check(doc.GetItems(), doc.GetStrings());
        check.RunAll();
        state.PauseTiming();
        withProblems = 0;
        doc.GetItems().ForEachItem(
            [&](const CBibTexEntry& item) { withProblems += check.HasProblems(item) ? 1 : 0; });
        state.ResumeTiming();
    }
    state.counters["items_with_problems"] = static_cast<double>(withProblems);
}
BENCHMARK(BM_ProblemCheckAll)->Unit(benchmark::kMillisecond);

// After a change nobody announced item by item: every item is compared with
// what was checked, one is checked again.
void BM_ProblemCheckResync(benchmark::State& state) {
    CQVNDoc& doc = Project();
    CProblemCheck check(doc.GetItems(), doc.GetStrings());
    check.RunAll();
    for (auto _ : state) {
        check.MarkAll();
        check.RunAll();
    }
}
BENCHMARK(BM_ProblemCheckResync)->Unit(benchmark::kMillisecond);

// The longest step of the check in the desktop program (20 ms budget).
void BM_ProblemCheckLongestStep(benchmark::State& state) {
    CQVNDoc& doc = Project();
    double longest = 0;
    double longestCpu = 0;
    int steps = 0;
    for (auto _ : state) {
        CProblemCheck check(doc.GetItems(), doc.GetStrings());
        bool done = false;
        while (!done) {
            const auto start = std::chrono::steady_clock::now();
            const double startCpu = ThreadCpuMs();
            done = check.Run(std::chrono::milliseconds(20));
            longestCpu = std::max(longestCpu, ThreadCpuMs() - startCpu);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            longest = std::max(longest, ms);
            ++steps;
        }
    }
    state.counters["longest_step_ms"] = longest;
    state.counters["longest_step_cpu_ms"] = longestCpu;
    state.counters["steps"] = steps;
}
BENCHMARK(BM_ProblemCheckLongestStep)->Unit(benchmark::kMillisecond);

} // namespace

QVN_BENCHMARK_MAIN()
