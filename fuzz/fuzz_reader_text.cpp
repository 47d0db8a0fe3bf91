// The BibTeX reader on in-memory text (clipboard and drag and drop).
#include "model/BibTexReader.h"

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
    return 0;
}
