#include "model/TexObject.h"

#include "model/BibTexStringTable.h"
#include "model/TextUtil.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

const CBibTexStringTable* g_activeStrings = nullptr;

constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};

// Splits at '#' like a tokenizer: runs of '#' and a '#' at either end give no
// empty parts; a text of '#' only gives one empty part.
std::vector<std::string_view> SplitAtHash(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == '#') {
            ++pos;
        }
        if (pos >= text.size()) {
            break;
        }
        const std::size_t end = text.find('#', pos);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        parts.push_back(text.substr(pos, stop - pos));
        pos = stop;
    }
    if (parts.empty()) {
        parts.emplace_back();
    }
    return parts;
}

} // namespace

void CTexObject::Serialize(CArchive&) {}

bool CTexObject::ContainsTexSpecial(std::string_view text) {
    return !text.empty() && text.find_first_of(kTexSpecialChars) != std::string_view::npos;
}

bool CTexObject::IsNumber(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

bool CTexObject::IsDelimited(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    return (text.front() == '"' && text.back() == '"') ||
           (text.front() == '{' && text.back() == '}');
}

std::string_view CTexObject::StripDelimitersView(std::string_view text) {
    if (!IsDelimited(text)) {
        return text;
    }
    return text.size() < 2 ? std::string_view() : text.substr(1, text.size() - 2);
}

bool CTexObject::IsOneGroup(std::string_view value) {
    if (!IsDelimited(value) || value.size() < 2) {
        return false;
    }
    int depth = 0;
    if (value.front() == '{') {
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '{') {
                ++depth;
            } else if (value[i] == '}' && --depth == 0) {
                return i + 1 == value.size();
            }
        }
        return false;
    }
    // In quotes: braces must balance, and no other quote may stand outside
    // braces.
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '{') {
            ++depth;
        } else if (value[i] == '}' && --depth < 0) {
            return false;
        } else if (value[i] == '"' && depth == 0) {
            return false;
        }
    }
    return depth == 0;
}

std::string_view CTexObject::StripOneGroup(std::string_view value) {
    return IsOneGroup(value) ? value.substr(1, value.size() - 2) : value;
}

std::string CTexObject::StripDelimiters(std::string_view text) {
    return std::string(StripDelimitersView(text));
}

bool CTexObject::IsStringReference(std::string_view text) {
    // An empty text is an unset value, never a reference, even when some
    // import defined an empty abbreviation.
    if (text.empty() || ContainsTexSpecial(text)) {
        return false;
    }
    if (g_activeStrings == nullptr) {
        return false;
    }
    return g_activeStrings->HasString(text) || IsMonthName(text);
}

bool CTexObject::IsMonthName(std::string_view text) {
    return std::find(kMonths.begin(), kMonths.end(), text) != kMonths.end();
}

bool CTexObject::IsConcatenation(std::string_view text) {
    if (text.find('#') == std::string_view::npos) {
        return false;
    }
    const std::vector<std::string_view> parts = SplitAtHash(text);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = qvn::TrimView(parts[i]);
        if (i > 0 && part.empty()) {
            break; // a part of blanks only ends the examination
        }
        if (part.empty()) {
            continue;
        }
        const bool quoted = part.size() >= 1 && part.front() == '"' && part.back() == '"';
        const bool braced = part.front() == '{' && part.back() == '}';
        if (!quoted && !braced && !IsNumber(part) && !IsStringReference(part)) {
            return false;
        }
    }
    return true;
}

std::string CTexObject::FormatValue(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    if (IsNumber(text) || IsStringReference(text) || IsConcatenation(text)) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + 2);
    out += '{';
    out += text;
    out += '}';
    return out;
}

bool CTexObject::HasBalancedBraces(std::string_view text) {
    std::size_t depth = 0;
    for (const char c : text) {
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth == 0) {
                return false;
            }
            --depth;
        }
    }
    return depth == 0;
}

std::string CTexObject::UnbalancedBracesMessage(std::string_view field) {
    return qvn::Format("The braces in the value of '%s' do not balance.\nEvery '{' needs a '}' "
                       "behind it and every '}' a '{' before it;\notherwise BibTeX reads the "
                       "following fields into this value.",
                       std::string(field).c_str());
}

const CBibTexStringTable* CTexObject::SetActiveStringTable(const CBibTexStringTable* table) {
    const CBibTexStringTable* previous = g_activeStrings;
    g_activeStrings = table;
    return previous;
}

const CBibTexStringTable* CTexObject::ActiveStringTable() {
    return g_activeStrings;
}
