#include "BenchUtil.h"

#include "project/QVNDoc.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace bench {

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::string GeneratedBib(int entries) {
    const std::string path =
        std::string(QVN_BENCH_DATA_DIR) + "/generated-" + std::to_string(entries) + ".bib";
    if (std::filesystem::exists(path)) {
        return path;
    }
    std::filesystem::create_directories(QVN_BENCH_DATA_DIR);
    const std::string script =
        (std::filesystem::path(__FILE__).parent_path() / "gen_bib.py").string();
    const std::string command = "python3 '" + script + "' -n " + std::to_string(entries) + " '" +
                                path + ".tmp' && mv '" + path + ".tmp' '" + path + "'";
    std::fprintf(stderr, "Generating %s ...\n", path.c_str());
    return std::system(command.c_str()) == 0 ? path : std::string();
}

namespace {

// prefix + n + suffix, built by appending (g++ 12 warns falsely about
// "literal" + std::to_string(n) at -O3).
std::string Numbered(const char* prefix, int n, const char* suffix = "") {
    std::string out = prefix;
    out += std::to_string(n);
    out += suffix;
    return out;
}

} // namespace

void FillProject(CQVNDoc& doc, int items, int strings) {
    static const char* const kWords[] = {"Analysis", "of",     "Boxes",    "Graphs",
                                         "the",      "Theory", "Learning", "Fast",
                                         "Systems",  "Memory", "Context"};
    doc.StartProject({"Bench", "", "strings.bib"});
    for (int s = 0; s < strings; ++s) {
        doc.AddString(Numbered("j", s), Numbered("Journal number ", s), false);
    }
    for (int i = 0; i < items; ++i) {
        auto item = std::make_unique<CBibTexEntry>(Numbered("file", i % 10), Numbered("key", i), 0);
        item->SetField(kFieldAuthor, Numbered("{Author", i % 977, ", A. and Other, B.}"), true);
        std::string title = "{";
        for (int w = 0; w < 6; ++w) {
            title += kWords[(i * 7 + w * 3) % 11];
            title += ' ';
        }
        title += Numbered("", i, "}");
        item->SetField(kFieldTitle, title, true);
        item->SetField(kFieldYear, std::to_string(1950 + i % 70), true);
        item->SetField(kFieldJournal, strings > 0 ? Numbered("j", i % strings) : "{Some Journal}",
                       true);
        doc.AddItem(std::move(item));
    }
}

} // namespace bench
