#include "model/BibTexStringTable.h"

#include "model/Archive.h"
#include "model/BibTexString.h"

void CBibTexString::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteString(m_abbreviation);
        ar.WriteString(m_value);
    } else {
        m_abbreviation = ar.ReadString();
        m_value = ar.ReadString();
    }
}

bool CBibTexStringTable::AddString(std::string_view abbreviation, std::string_view value,
                                   bool replace) {
    if (!replace && m_map.contains(abbreviation)) {
        return false;
    }
    Changing();
    m_map.set(abbreviation, std::string(value));
    return true;
}

void CBibTexStringTable::SetString(std::string_view abbreviation, std::string_view value) {
    Changing();
    m_map.set(abbreviation, std::string(value));
}

bool CBibTexStringTable::LookupString(std::string_view abbreviation, std::string& value) const {
    const std::string* stored = m_map.find(abbreviation);
    if (stored == nullptr) {
        return false;
    }
    value = StripOneGroup(*stored);
    return true;
}

const std::string* CBibTexStringTable::FindString(std::string_view abbreviation) const {
    return m_map.find(abbreviation);
}

bool CBibTexStringTable::RemoveString(std::string_view abbreviation) {
    if (!m_map.contains(abbreviation)) {
        return false;
    }
    Changing();
    return m_map.erase(abbreviation);
}

void CBibTexStringTable::RemoveAll() {
    if (!m_map.empty()) {
        Changing();
    }
    m_map.clear();
}

void CBibTexStringTable::Assign(const std::vector<std::pair<std::string, std::string>>& strings) {
    Changing();
    m_map.clear();
    for (const auto& [abbreviation, value] : strings) {
        m_map.set(abbreviation, value);
    }
}

std::vector<std::pair<std::string, std::string>> CBibTexStringTable::GetAll() const {
    std::vector<std::pair<std::string, std::string>> all;
    all.reserve(m_map.size());
    for (const auto& [abbreviation, value] : m_map) {
        all.emplace_back(abbreviation, value);
    }
    return all;
}

bool CBibTexStringTable::GetNextString(Position& position, std::string& abbreviation,
                                       std::string& value) const {
    if (position == m_map.end()) {
        return false;
    }
    const auto [abbr, text] = *position;
    abbreviation = abbr;
    value = StripOneGroup(text);
    ++position;
    return true;
}

std::string CBibTexStringTable::FormatString(std::string_view abbreviation,
                                             std::string_view value) {
    std::string line = "@string{";
    line += abbreviation;
    line += " = ";
    // Several brace groups ({IEEE} {INFOCOM}) are put in braces as a whole,
    // and a concatenation stays bare: in braces BibTeX would print it as
    // literal text.
    if (IsOneGroup(value) || IsConcatenation(value)) {
        line += value;
    } else {
        line += '{';
        line += value;
        line += '}';
    }
    line += "}\n";
    return line;
}

bool CBibTexStringTable::IsBareName(std::string_view text) {
    return !text.empty() && !(text.front() >= '0' && text.front() <= '9') &&
           text.find_first_of(std::string_view("\"#%'(),={} \t\r\n\v\f")) == std::string_view::npos;
}

bool CBibTexStringTable::IsAlias(std::string_view abbreviation, std::string_view value) const {
    return value != abbreviation && IsBareName(value) && (HasString(value) || IsMonthName(value));
}

std::string CBibTexStringTable::FormatStringLine(std::string_view abbreviation,
                                                 std::string_view value) const {
    if (!IsAlias(abbreviation, value)) {
        return FormatString(abbreviation, value);
    }
    std::string line = "@string{";
    line += abbreviation;
    line += " = ";
    line += value;
    line += "}\n";
    return line;
}

std::string CBibTexStringTable::FormatStrings() const {
    std::string out;
    for (const auto& [abbreviation, value] : m_map) {
        out += FormatStringLine(abbreviation, value);
    }
    return out;
}

void CBibTexStringTable::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<std::uint32_t>(m_map.size()));
        for (const auto& [abbreviation, value] : m_map) {
            ar.WriteString(abbreviation);
            ar.WriteString(value);
        }
        return;
    }
    const std::uint32_t count = ar.ReadCount();
    ar.CheckCount(count, 2); // two length bytes at least per string
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string abbreviation = ar.ReadString();
        std::string value = ar.ReadString();
        m_map.set(abbreviation, std::move(value));
    }
}
