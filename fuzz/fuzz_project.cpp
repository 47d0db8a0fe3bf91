// The project file reader: any bytes either load into a consistent project
// or fail with an archive error; a loaded project saves and reloads to the
// same bytes.
#include "model/Archive.h"
#include "project/QVNDoc.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CQVNDoc doc;
    try {
        doc.LoadFromBytes(bytes);
    } catch (const CArchiveError&) {
        return 0;
    }
    if (!doc.GetItems().IsConsistent()) {
        __builtin_trap();
    }
    const std::string saved = doc.SaveToBytes();
    CQVNDoc again;
    again.LoadFromBytes(saved); // must not throw
    if (again.SaveToBytes() != saved) {
        __builtin_trap();
    }
    return 0;
}
