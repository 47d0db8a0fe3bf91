#include "BenchUtil.h"

#include "project/QVNDoc.h"

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

void FillProject(CQVNDoc& doc, int items, int strings) {
    static const char* const kWords[] = {"Analysis", "of",     "Boxes",    "Graphs",
                                         "the",      "Theory", "Learning", "Fast",
                                         "Systems",  "Memory", "Context"};
    doc.StartProject({"Bench", "", "strings.bib"});
    for (int s = 0; s < strings; ++s) {
        doc.AddString("j" + std::to_string(s), "Journal number " + std::to_string(s), false);
    }
    for (int i = 0; i < items; ++i) {
        auto item = std::make_unique<CBibTexEntry>("file" + std::to_string(i % 10),
                                                   "key" + std::to_string(i), 0);
        item->SetField(kFieldAuthor, "{Author" + std::to_string(i % 977) + ", A. and Other, B.}",
                       true);
        std::string title = "{";
        for (int w = 0; w < 6; ++w) {
            title += kWords[(i * 7 + w * 3) % 11];
            title += ' ';
        }
        title += std::to_string(i) + "}";
        item->SetField(kFieldTitle, title, true);
        item->SetField(kFieldYear, std::to_string(1950 + i % 70), true);
        item->SetField(kFieldJournal,
                       strings > 0 ? "j" + std::to_string(i % strings) : "{Some Journal}", true);
        doc.AddItem(std::move(item));
    }
}

} // namespace bench
