#include "project/ProjectRules.h"

#include "model/BibTexMap.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"
#include "project/ProjectSettings.h"

#include <algorithm>
#include <array>
#include <unordered_map>

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

bool IsValidBibFileName(std::string_view name) {
    return name.size() >= 5 && qvn::ToLowerAscii(name.substr(name.size() - 4)) == ".bib" &&
           IsValidFileName(name);
}

bool IsValidStringsFileName(std::string_view name) {
    return IsValidBibFileName(name);
}

std::string InvalidStringsFileMessage() {
    return "Insert a valid name (ending with '.bib') for the\nfile holding your BibTeX strings. "
           "Please do not use\none of the following characters inthe file name: \n" +
           std::string(kForbiddenFileNameChars);
}

bool IsValidBibTexFileName(std::string_view name) {
    return !name.empty() && IsValidFileName(std::string(name) + ".bib");
}

bool IsLegalBibTexFileName(std::string_view name) {
    return name.empty() || IsValidBibTexFileName(name);
}

namespace {

// `name` with every control character and forbidden file name character
// replaced by '_', and a reserved device name prefixed with it.
std::string SafeBibTexFileName(std::string_view name) {
    static const std::vector<char32_t> forbidden = [] {
        std::vector<char32_t> chars;
        for (std::size_t pos = 0; pos < kForbiddenFileNameChars.size();) {
            const qvn::Utf8Char c = qvn::DecodeChar(kForbiddenFileNameChars, pos);
            chars.push_back(c.codePoint);
            pos += c.length;
        }
        return chars;
    }();
    std::string safe;
    for (std::size_t pos = 0; pos < name.size();) {
        const qvn::Utf8Char c = qvn::DecodeChar(name, pos);
        const std::string_view bytes = name.substr(pos, c.length);
        if (c.codePoint < 0x20 || c.codePoint == 0x7F ||
            std::find(forbidden.begin(), forbidden.end(), c.codePoint) != forbidden.end()) {
            safe += '_';
        } else {
            safe += bytes;
        }
        pos += c.length;
    }
    if (!safe.empty() && !IsValidBibTexFileName(safe)) {
        safe.insert(0, 1, '_'); // "con" is a device name, "_con" is not
    }
    return IsValidBibTexFileName(safe) ? safe : std::string("New File");
}

} // namespace

std::vector<NameReplacement> RepairFileNames(CProjectSettings& settings, CBibTexMap& items) {
    std::vector<NameReplacement> replaced;
    if (!IsValidStringsFileName(settings.GetStringsFile())) {
        std::string name = CProjectSettings::kDefaultStringsFileName;
        for (int n = 1; items.HasFile(name.substr(0, name.size() - 4)); ++n) {
            name = qvn::Format("strings (%d).bib", n);
        }
        replaced.push_back({true, settings.GetStringsFile(), name});
        settings.SetStringsFile(name);
    }
    std::vector<std::string> bad;
    for (const auto& [name, fileItems] : items.Files()) {
        if (!IsValidBibTexFileName(name)) {
            bad.push_back(name);
        }
    }
    // Counting on from the last number a base was given keeps thousands of
    // names that come out alike from taking quadratic time.
    std::unordered_map<std::string, int> numbered;
    for (const std::string& oldName : bad) {
        const std::string base = SafeBibTexFileName(oldName);
        std::string name = base;
        int& n = numbered[base];
        while (items.HasFile(name) || IsReservedBibTexFileName(settings, name)) {
            name = base + " (" + std::to_string(++n) + ")";
        }
        if (items.RenameFile(oldName, name)) {
            replaced.push_back({false, oldName, name});
        }
    }
    return replaced;
}

std::string DisplayName(std::string_view name, std::size_t maxBytes) {
    std::string shown;
    for (std::size_t pos = 0; pos < name.size();) {
        const qvn::Utf8Char c = qvn::DecodeChar(name, pos);
        if (shown.size() >= maxBytes) {
            shown += "...";
            break;
        }
        if (c.codePoint == 0) {
            shown += "\\0";
        } else if (c.codePoint < 0x20 || c.codePoint == 0x7F) {
            shown += qvn::Format("\\x%02X", static_cast<unsigned>(c.codePoint));
        } else {
            shown += name.substr(pos, c.length);
        }
        pos += c.length;
    }
    return shown;
}

std::string NameReplacementMessage(const std::vector<NameReplacement>& replacements) {
    // A crafted file may carry thousands of bad names: the message stays
    // readable.
    constexpr std::size_t kMaxLines = 12;
    std::string text = "Some file names in this project cannot be written safely (another "
                       "extension than .bib, a folder, a forbidden or control character, a "
                       "device name, or no name at all). They have been replaced:\n";
    for (std::size_t i = 0; i < replacements.size() && i < kMaxLines; ++i) {
        const NameReplacement& r = replacements[i];
        text += qvn::Substitute("\n  %1 '%2' is now '%3'",
                                {r.stringsFile ? "Strings file" : "BibTeX file",
                                 DisplayName(r.oldName), DisplayName(r.newName)});
    }
    if (replacements.size() > kMaxLines) {
        text += qvn::Format("\n  ... and %d more BibTeX files",
                            static_cast<int>(replacements.size() - kMaxLines));
    }
    text += "\n\nSave the project to keep the new names.";
    return text;
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
