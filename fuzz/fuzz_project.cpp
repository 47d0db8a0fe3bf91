// The project file reader: any bytes either load into a consistent project
// or fail with an archive error; a loaded project saves and reloads to the
// same bytes, and whatever names it carries, save all and the multi-export
// write nothing but .bib files and main.tex into their folder. Inputs that
// start with 'X' are the records of an extension block behind a fixed plain
// layout (file "refs" with an article "a" and a misc item "w"), so that the
// fuzzer spends its time inside the block.
#include "model/Archive.h"
#include "model/FileIO.h"
#include "project/QVNDoc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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

// A folder of this process's own, holding the folder "out" that the
// exports write to; removed at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        // In memory where there is such a file system: every written file
        // is synced, which on a disk would slow the fuzzer down a hundredfold.
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "qvn-fuzz-project-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        m_root = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    // An empty "out" folder.
    std::string Out() const {
        const std::filesystem::path out = m_root / "out";
        std::filesystem::remove_all(out);
        std::filesystem::create_directory(out);
        return out.string();
    }
    // Only "out" stands beside what was written, and "out" holds only
    // plain .bib files and main.tex.
    bool HoldsOnlyBibFiles() const {
        for (const auto& entry : std::filesystem::directory_iterator(m_root)) {
            if (entry.path().filename() != "out") {
                return false;
            }
        }
        for (const auto& entry : std::filesystem::directory_iterator(m_root / "out")) {
            const std::string name = entry.path().filename().string();
            if (!entry.is_regular_file() || (name != "main.tex" && !IsValidBibFileName(name))) {
                return false;
            }
        }
        return true;
    }

private:
    std::filesystem::path m_root;
};

void CheckWrittenFiles(CQVNDoc& doc) {
    static const ScratchFolder scratch;
    try {
        doc.WriteAllToLocation(scratch.Out());
    } catch (const qvn::CFileError&) {
        // A refused name: what was written before it is checked below.
    }
    if (!scratch.HoldsOnlyBibFiles()) {
        __builtin_trap();
    }
    std::vector<bool> rows(doc.GetMultiExportRows().size(), true);
    doc.MultiExport({scratch.Out(), rows, true, true});
    if (!scratch.HoldsOnlyBibFiles()) {
        __builtin_trap();
    }
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
    // As read, and as opening repairs it.
    CheckWrittenFiles(doc);
    RepairFileNames(doc.GetSettings(), doc.GetItems());
    if (!doc.GetItems().IsConsistent() ||
        !IsValidStringsFileName(doc.GetSettings().GetStringsFile())) {
        __builtin_trap();
    }
    for (const auto& [name, items] : doc.GetItems().Files()) {
        if (!IsValidBibTexFileName(name)) {
            __builtin_trap();
        }
    }
    CheckWrittenFiles(doc);
    return 0;
}
