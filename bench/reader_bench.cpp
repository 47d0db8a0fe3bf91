// Reading speed of CBibTexReader on a generated bibliography (bench/gen_bib.py,
// 100 000 entries, made on first use) and on the large files of the corpus.
//   bench_reader                      Google Benchmark run
//   bench_reader --read-once FILE     reads FILE once with ReadFile (for timing
//                                     against other tools from the shell)
#include "BenchUtil.h"
#include "model/BibTexReader.h"
#include "model/FileIO.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string GeneratedFile() {
    static const std::string path = bench::GeneratedBib(100000);
    return path;
}

void SetCounters(benchmark::State& state, std::size_t bytes, int items) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["items/s"] =
        benchmark::Counter(static_cast<double>(items) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["items"] = items;
}

// Both benchmarks time everything a caller pays for: reading, parsing, and
// freeing the reader with its items at the end.

// ReadFile: the file's bytes from disk (page cache).
void ReadFile(benchmark::State& state, const std::string& path) {
    if (path.empty() || !std::filesystem::exists(path)) {
        state.SkipWithError("input file missing");
        return;
    }
    const std::size_t bytes = std::filesystem::file_size(path);
    int items = 0;
    for (auto _ : state) {
        CBibTexReader reader(path);
        reader.ReadFile();
        items = reader.GetItems().GetTotalCount();
        benchmark::DoNotOptimize(items);
    }
    SetCounters(state, bytes, items);
}

// ReadText: in-memory text as a paste of many items brings it: the items and
// strings of the file in their written form (in-memory reading stops at the
// first comment or error, so the file's own bytes would not be read whole).
void ReadText(benchmark::State& state, const std::string& path) {
    if (path.empty() || !std::filesystem::exists(path)) {
        state.SkipWithError("input file missing");
        return;
    }
    std::string text;
    {
        CBibTexReader source(path);
        source.ReadFile();
        text = source.GetStrings().FormatStrings();
        source.GetItems().ForEachItem([&](const CBibTexEntry& item) { item.AppendText(text); });
    }
    int items = 0;
    for (auto _ : state) {
        CBibTexReader reader("bench");
        reader.ReadText(text);
        items = reader.GetItems().GetTotalCount();
        benchmark::DoNotOptimize(items);
    }
    SetCounters(state, text.size(), items);
}

void RegisterAll() {
    std::vector<std::pair<std::string, std::string>> inputs = {{"generated", GeneratedFile()}};
    const std::filesystem::path large = std::filesystem::path(QVN_CORPUS_DIR) / "large";
    std::error_code error;
    if (std::filesystem::is_directory(large, error)) {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(large, error)) {
            if (entry.path().extension() == ".bib") {
                files.push_back(entry.path().string());
            }
        }
        std::sort(files.begin(), files.end());
        for (const std::string& file : files) {
            inputs.emplace_back(std::filesystem::path(file).stem().string(), file);
        }
    }
    for (const auto& [name, path] : inputs) {
        benchmark::RegisterBenchmark(("BM_ReaderReadFile/" + name).c_str(), ReadFile, path)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_ReaderReadText/" + name).c_str(), ReadText, path)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv) {
    qvn::UseHugePagesForTheHeap(argv);
    if (argc == 3 && std::strcmp(argv[1], "--read-once") == 0) {
        CBibTexReader reader(argv[2]);
        if (reader.ReadFile() < 0) {
            std::fprintf(stderr, "cannot read %s: %s\n", argv[2], reader.GetOpenError().c_str());
            return 2;
        }
        std::printf("%d items, %d strings, %d errors\n", reader.GetItems().GetTotalCount(),
                    reader.GetStrings().GetCount(), reader.GetErrorCount());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--generated-path") == 0) {
        const std::string path = GeneratedFile();
        std::printf("%s\n", path.c_str());
        return path.empty() ? 2 : 0;
    }
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
