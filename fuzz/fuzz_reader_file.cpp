// The BibTeX reader on file content (line splitting, BOM, states, recovery),
// and reading again what was written of it.
#include "model/BibTexReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    CBibTexReader reader("fuzz.bib");
    reader.ReadFileContent(content);
    const CBibTexMap& items = reader.GetItems();
    if (!items.IsConsistent()) {
        __builtin_trap();
    }
    std::string text;
    items.ForEachItem([&](const CBibTexEntry& item) { item.AppendText(text); });
    CBibTexReader again("fuzz.bib");
    again.ReadFileContent(text);
    if (!again.GetItems().IsConsistent()) {
        __builtin_trap();
    }
    return 0;
}
