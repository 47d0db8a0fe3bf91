// The project file reader: any bytes either load into a consistent project
// or fail with an archive error; a loaded project saves and reloads to the
// same bytes. Inputs that start with 'X' are the records of an extension
// block behind a fixed plain layout (file "refs" with an article "a" and a
// misc item "w"), so that the fuzzer spends its time inside the block.
#include "model/Archive.h"
#include "project/QVNDoc.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

std::string Le(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

const std::string& PlainLayout() {
    static const std::string bytes = [] {
        CQVNDoc doc;
        doc.StartProject({"P", "/bib", "strings.bib"});
        doc.AddItem(std::make_unique<CBibTexEntry>("refs", "a", 0));
        doc.AddItem(std::make_unique<CBibTexEntry>("refs", "w", 10));
        return doc.SaveToBytes();
    }();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string framed;
    if (!bytes.empty() && bytes.front() == 'X') {
        bytes.remove_prefix(1);
        framed = PlainLayout() + "QVNEXTRA" + Le(1, 4) + Le(bytes.size(), 8) + std::string(bytes);
        bytes = framed;
    }
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
