// The BibTeX model at the size of a large bibliography: adding items whose
// keys collide, finding keys over many files, writing the text of every item,
// and the memory an item takes beyond its own text.
#include "BenchUtil.h"
#include "model/BibTexMap.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kItems = 100000;

// A deterministic source of typical items: 8 to 15 fields each, values of
// realistic lengths (authors, titles, journals, pages, years, some abstracts).
class ItemMaker {
public:
    explicit ItemMaker(unsigned seed) : m_random(seed) {}

    // `otherFields` fields outside the catalogue are added as a reference
    // manager's export has them (doi, file, urldate, ...).
    std::unique_ptr<CBibTexEntry> Make(const std::string& file, const std::string& key,
                                       int otherFields = 0) {
        auto item = std::make_unique<CBibTexEntry>(file, key, Pick(0, kEntryTypeCount - 1));
        static const char* const kOther[] = {"doi", "file", "urldate", "date-added", "pmid"};
        for (int i = 0; i < otherFields && i < static_cast<int>(std::size(kOther)); ++i) {
            item->SetOtherField(
                kOther[i], Braced("10." + std::to_string(Pick(1000, 9999)) + "/" + Words(5, 30)));
        }
        const int fieldCount = Pick(8, 15);
        // Always the usual ones, then distinct others.
        const int usual[] = {kFieldAuthor, kFieldTitle, kFieldYear, kFieldPages, kFieldJournal};
        int set = 0;
        for (int field : usual) {
            item->SetField(field, Value(field), true);
            ++set;
        }
        while (set < fieldCount) {
            const int field = Pick(0, kFieldCount - 1);
            if (item->GetValue(field).empty()) {
                item->SetField(field, Value(field), true);
                ++set;
            }
        }
        return item;
    }

    // Bytes of the item's own texts: key, file name and values.
    static std::size_t TextBytes(const CBibTexEntry& item) {
        std::size_t bytes = item.GetKey().size() + item.GetFileName().size();
        return bytes + item.GetValueBytes();
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    std::string Words(int minLength, int maxLength) {
        static const char* const kWords[] = {
            "analysis", "of",      "the",     "linear",   "systems",  "with",  "a",
            "theory",   "for",     "quantum", "networks", "learning", "on",    "graphs",
            "Smith",    "Johnson", "and",     "Müller",   "data",     "model", "structure"};
        const int length = Pick(minLength, maxLength);
        std::string out;
        while (static_cast<int>(out.size()) < length) {
            if (!out.empty()) {
                out += ' ';
            }
            out += kWords[Pick(0, static_cast<int>(std::size(kWords)) - 1)];
        }
        return out;
    }

    static std::string Braced(const std::string& text) {
        std::string out;
        out.reserve(text.size() + 2);
        out += '{';
        out += text;
        out += '}';
        return out;
    }

    std::string Value(int field) {
        switch (field) {
        case kFieldYear:
            return std::to_string(Pick(1950, 2024));
        case kFieldPages:
            return Braced(std::to_string(Pick(1, 500)) + "--" + std::to_string(Pick(501, 900)));
        case kFieldMonth:
            return "jan";
        case kFieldAuthor:
            return Braced(Words(20, 80));
        case kFieldTitle:
            return Braced(Words(30, 120));
        case kFieldAbstract:
            return Braced(Words(200, 900));
        case kFieldUrl:
            return Braced("https://example.org/" + Words(10, 30));
        default:
            return Pick(0, 3) == 0 ? std::to_string(Pick(1, 99)) : Braced(Words(5, 40));
        }
    }

    std::mt19937 m_random;
};

// 4 000 base keys, each used 25 times: every add but the first of a base
// needs a letter appended, up to the 24th letter.
std::vector<std::unique_ptr<CBibTexEntry>> CollidingItems(ItemMaker& maker) {
    std::vector<std::unique_ptr<CBibTexEntry>> items;
    items.reserve(kItems);
    for (int i = 0; i < kItems; ++i) {
        const int base = i % 4000;
        items.push_back(
            maker.Make("file" + std::to_string(i % 10),
                       "author" + std::to_string(base) + ":" + std::to_string(1950 + base % 70)));
    }
    return items;
}

void BM_MemoryPerItem(benchmark::State& state) {
    for (auto _ : state) {
        ::malloc_trim(0);
        const std::size_t before = bench::ResidentBytes();
        std::size_t textBytes = 0;
        {
            CBibTexMap map;
            ItemMaker maker(7);
            for (int i = 0; i < kItems; ++i) {
                auto item = maker.Make("file" + std::to_string(i % 20),
                                       "key" + std::to_string(i * 7919 % 1000003),
                                       static_cast<int>(state.range(0)));
                textBytes += ItemMaker::TextBytes(*item);
                map.Add(item);
            }
            const std::size_t after = bench::ResidentBytes();
            const double overhead =
                static_cast<double>(after - before) - static_cast<double>(textBytes);
            state.counters["text_B_per_item"] = static_cast<double>(textBytes) / kItems;
            state.counters["overhead_B_per_item"] = overhead / kItems;
            benchmark::DoNotOptimize(map.GetTotalCount());
        }
        ::malloc_trim(0);
    }
}
// Catalogue fields only, and with three fields outside the catalogue.
BENCHMARK(BM_MemoryPerItem)->Arg(0)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_AddCollidingKeys(benchmark::State& state) {
    ItemMaker maker(1);
    for (auto _ : state) {
        state.PauseTiming();
        auto items = CollidingItems(maker);
        auto map = std::make_unique<CBibTexMap>();
        state.ResumeTiming();
        for (auto& item : items) {
            if (!map->Add(item)) {
                state.SkipWithError("add failed");
                break;
            }
        }
        state.PauseTiming();
        map.reset();
        items.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_AddCollidingKeys)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_FindKeyOver1000Files(benchmark::State& state) {
    CBibTexMap map;
    ItemMaker maker(2);
    std::vector<std::string> keys;
    for (int f = 0; f < 1000; ++f) {
        for (int i = 0; i < 100; ++i) {
            std::string key = "k";
            key += std::to_string(f);
            key += '_';
            key += std::to_string(i);
            keys.push_back(std::move(key));
            map.Add(maker.Make("file" + std::to_string(f), keys.back()));
        }
    }
    std::size_t next = 0;
    std::string file;
    for (auto _ : state) {
        // Every other lookup misses.
        const std::string& key = keys[next++ % keys.size()];
        benchmark::DoNotOptimize(map.FindKey(key, file));
        benchmark::DoNotOptimize(map.FindKey(key + "?", file));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_FindKeyOver1000Files);

void BM_FormatText100000Items(benchmark::State& state) {
    CBibTexMap map;
    ItemMaker maker(3);
    for (int i = 0; i < kItems; ++i) {
        map.Add(maker.Make("file" + std::to_string(i % 10), "key" + std::to_string(i)));
    }
    std::string out;
    for (auto _ : state) {
        out.clear();
        map.ForEachItem([&](const CBibTexEntry& item) { item.AppendText(out); });
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kItems);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_FormatText100000Items)->Unit(benchmark::kMillisecond);

} // namespace

QVN_BENCHMARK_MAIN()
