// Helpers shared by the benchmarks.
#pragma once

#include "platform/HugePages.h"

#include <cstddef>
#include <string>

class CQVNDoc;

namespace bench {

// Resident set size of this process in bytes (from /proc/self/statm).
std::size_t ResidentBytes();

// The path of a generated bibliography of `entries` entries (bench/gen_bib.py,
// fixed seed), made on first use; empty when that fails.
std::string GeneratedBib(int entries = 100000);

// Fills an active project with `items` articles spread over 10 BibTeX files,
// each with an author, a title of a few words, a year and a journal that
// refers to one of `strings` strings j0, j1, ... (a braced journal name when
// `strings` is 0).
void FillProject(CQVNDoc& doc, int items, int strings);

} // namespace bench

// The benchmarks' main: the heap as the programs have it (huge pages where
// the system gives them), then Google Benchmark.
#define QVN_BENCHMARK_MAIN()                                                                       \
    int main(int argc, char** argv) {                                                              \
        qvn::UseHugePagesForTheHeap(argv);                                                         \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
