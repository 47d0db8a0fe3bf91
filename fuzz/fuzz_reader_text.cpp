// The BibTeX reader on in-memory text (clipboard and drag and drop).
#include "model/BibTexReader.h"
#include "project/ProblemCheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CBibTexReader reader("Default");
    reader.ReadText(text);
    // Whatever was read must be a consistent map.
    if (!reader.GetItems().IsConsistent()) {
        __builtin_trap();
    }
    // The check of what was read ends, whatever it holds.
    CProblemCheck check(reader.GetItems(), reader.GetStrings());
    check.RunAll();
    reader.GetItems().ForEachItem([&check](const CBibTexEntry& item) { check.GetProblems(item); });
    return 0;
}
