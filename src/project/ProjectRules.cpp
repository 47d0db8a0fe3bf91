#include "project/ProjectRules.h"

#include "model/BibTexMap.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"
#include "project/ProjectSettings.h"

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

bool IsLegalBibTexFileName(std::string_view name) {
    return !qvn::ContainsAnyOf(name, kForbiddenFileNameChars);
}

bool IsReservedBibTexFileName(const CProjectSettings& settings, std::string_view name) {
    const std::string fileName = std::string(name) + ".bib";
    return fileName == settings.GetStringsFile() || fileName == settings.GetStringsFileName(true);
}

std::string NewBibTexFileName(const CBibTexMap& items,
                              const std::function<bool(const std::string&)>& taken) {
    constexpr const char* kBase = "New File";
    std::string name = kBase;
    for (int n = 1; items.HasFile(name) || (taken && taken(name)); ++n) {
        name = qvn::Format("%s (%d)", kBase, n);
    }
    return name;
}

std::string RenameFileProblemText(RenameFileResult result, std::string_view oldName,
                                  std::string_view newName) {
    const char* text = nullptr;
    switch (result) {
    case RenameFileResult::Renamed:
        return {};
    case RenameFileResult::Illegal:
        text = "File '%s' cannot be renamed to '%s'.\nIllegal file name.";
        break;
    case RenameFileResult::InUse:
        text = "File '%s' cannot be renamed to '%s'.\nThere is already a file with this "
               "name\nin your project.";
        break;
    case RenameFileResult::Failed:
        text = "File '%s' cannot be renamed to '%s'.";
        break;
    }
    return qvn::Format(text, std::string(oldName).c_str(), std::string(newName).c_str());
}

KeyCheck CheckItemKey(const CBibTexMap& items, std::string_view key) {
    KeyCheck check;
    if (qvn::ContainsAnyOf(key, kForbiddenKeyChars)) {
        check.problem = KeyProblem::Illegal;
    } else if (key.empty()) {
        check.problem = KeyProblem::Empty;
    } else if (items.FindKey(key, check.holderFile) != nullptr) {
        check.problem = KeyProblem::Duplicate;
    }
    return check;
}

std::string IllegalKeyMessage() {
    return "Please do not use one of the folling characters in\nthe reference's name: " +
           std::string(kForbiddenKeyChars);
}
