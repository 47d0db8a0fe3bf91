// The TeX value rules: FormatValue, IsConcatenation, StripDelimiters, with
// and without a string table, must hold their own invariants for any text;
// reading it as text and filtering by it must end.
#include "model/BibTexReader.h"
#include "model/BibTexStringTable.h"
#include "model/TexObject.h"
#include "model/TexText.h"
#include "search/QuickFilter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CBibTexStringTable table;
    table.AddString("jacm", "{Journal of the ACM}", false);
    const CBibTexStringTable* tables[] = {nullptr, &table};
    for (const CBibTexStringTable* active : tables) {
        CActiveStringTableScope scope(active);
        const std::string formatted = CTexObject::FormatValue(text);
        // Formatting keeps the text: either unchanged or inside one pair of
        // braces, and what the user sees again is what was typed.
        if (formatted != text && formatted != "{" + std::string(text) + "}") {
            __builtin_trap();
        }
        if (!text.empty() && formatted != text && CTexObject::StripDelimiters(formatted) != text) {
            __builtin_trap();
        }
        CTexObject::IsConcatenation(text);
        // A typed text whose braces balance, stored as FormatValue makes it,
        // is read back by the reader as the same value text (the reader does
        // not count a brace behind a backslash, so those are left aside).
        if (CTexObject::HasBalancedBraces(text) && !formatted.empty() &&
            formatted.find_first_of("\\\r\n\t\v\f") == std::string::npos &&
            formatted.front() == '{') {
            const auto item = CBibTexReader::ParseItem("f", "@misc{k, note = " + formatted + "}");
            if (item == nullptr || item->GetValue(kFieldNote) != formatted) {
                __builtin_trap();
            }
        }
        const std::string stripped = CTexObject::StripDelimiters(text);
        if (stripped.size() > text.size()) {
            __builtin_trap();
        }
    }
    // Readable text ends for any value and stays near its size.
    const std::string shown = qvn::TexToText(text);
    if (shown.size() > 2 * text.size() + 4) {
        __builtin_trap();
    }
    qvn::FoldText(shown);
    CQuickFilter(text).Matches(shown);
    return 0;
}
