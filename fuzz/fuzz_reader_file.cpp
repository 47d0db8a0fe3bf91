// The BibTeX reader on file content (line ends, BOM, recovery after errors),
// and reading again what was written of it: the same items come back.
#include "model/BibTexReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// A key the writer can put in braces and read back as it is (the reader
// takes a key in parentheses up to a comma or a blank only).
bool WritableKey(std::string_view key) {
    return key.find_first_of("}, \t\r\n\v\f") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    CBibTexReader reader("fuzz.bib");
    reader.ReadFileContent(content);
    const CBibTexMap& items = reader.GetItems();
    if (!items.IsConsistent()) {
        __builtin_trap();
    }
    bool writable = true;
    std::string text;
    items.ForEachItem([&](const CBibTexEntry& item) {
        writable = writable && WritableKey(item.GetKey());
        item.AppendText(text);
    });
    CBibTexReader again("fuzz.bib");
    again.ReadFileContent(text);
    if (!again.GetItems().IsConsistent()) {
        __builtin_trap();
    }
    if (!writable) {
        return 0;
    }
    // What was written is read back whole: no error, every item the same.
    if (again.GetErrorCount() != 0 || again.GetItems().GetTotalCount() != items.GetTotalCount()) {
        __builtin_trap();
    }
    items.ForEachItem([&](const CBibTexEntry& item) {
        const CBibTexEntry* back = again.GetItems().FindKey(item.GetKey());
        if (back == nullptr || back->GetType() != item.GetType()) {
            __builtin_trap();
        }
        for (int field = 0; field < kFieldCount; ++field) {
            if (back->GetValue(field) != item.GetValue(field)) {
                __builtin_trap();
            }
        }
    });
    return 0;
}
