#include "project/ProjectRules.h"

#include "model/TexObject.h"
#include "model/TextUtil.h"

#include <array>

namespace {

// Device names Windows reserves whatever the extension: "con.bib" cannot be
// created there.
bool IsReservedDeviceName(std::string_view name) {
    static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
    const std::string base = qvn::ToLowerAscii(qvn::TrimView(name.substr(0, name.find('.'))));
    for (const std::string_view reserved : kPlain) {
        if (base == reserved) {
            return true;
        }
    }
    return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
           base[3] >= '1' && base[3] <= '9';
}

} // namespace

bool IsValidFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    // The forbidden set holds both separators.
    return !qvn::ContainsAnyOf(name, kForbiddenFileNameChars) && !IsReservedDeviceName(name);
}

bool IsValidStringsFileName(std::string_view name) {
    return name.size() >= 5 && qvn::ToLowerAscii(name.substr(name.size() - 4)) == ".bib" &&
           IsValidFileName(name);
}

std::string InvalidStringsFileMessage() {
    return "Insert a valid name (ending with '.bib') for the\nfile holding your BibTeX strings. "
           "Please do not use\none of the following characters inthe file name: \n" +
           std::string(kForbiddenFileNameChars);
}
