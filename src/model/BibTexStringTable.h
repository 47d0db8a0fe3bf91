// The project's BibTeX strings: abbreviation (exact, case-sensitive) to value
// text, in insertion order.
#pragma once

#include "model/ChangeRecorder.h"
#include "model/OrderedMap.h"
#include "model/TexObject.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CBibTexStringTable : public CTexObject {
public:
    CBibTexStringTable() = default;
    CBibTexStringTable(const CBibTexStringTable&) = delete;
    CBibTexStringTable& operator=(const CBibTexStringTable&) = delete;

    void Serialize(CArchive& archive) override;

    // False (and nothing changes) when the abbreviation exists and !replace.
    bool AddString(std::string_view abbreviation, std::string_view value, bool replace);
    void SetString(std::string_view abbreviation, std::string_view value);
    // The value without its outer delimiters (kept when they do not enclose
    // the whole value as one group: {IEEE} {INFOCOM}, "A" # "B").
    bool LookupString(std::string_view abbreviation, std::string& value) const;
    // The stored value text, or null.
    const std::string* FindString(std::string_view abbreviation) const;
    bool HasString(std::string_view abbreviation) const { return m_map.contains(abbreviation); }
    bool RemoveString(std::string_view abbreviation);
    void RemoveAll();
    // All strings in table order (abbreviation, stored value text), and
    // making the table hold exactly these.
    std::vector<std::pair<std::string, std::string>> GetAll() const;
    void Assign(const std::vector<std::pair<std::string, std::string>>& strings);
    // Told before every change but an exchange of contents; null for none.
    void SetChangeRecorder(IChangeRecorder* recorder) { m_recorder = recorder; }
    void SwapContents(CBibTexStringTable& other) noexcept { std::swap(m_map, other.m_map); }
    int GetCount() const { return static_cast<int>(m_map.size()); }

    // Iteration in table order over (abbreviation, stored value text).
    using const_iterator = qvn::OrderedMap<std::string>::const_iterator;
    const_iterator begin() const { return m_map.begin(); }
    const_iterator end() const { return m_map.end(); }

    // Position-style iteration; the value is returned without delimiters.
    using Position = const_iterator;
    Position GetStartPosition() const { return m_map.begin(); }
    bool GetNextString(Position& position, std::string& abbreviation, std::string& value) const;

    // The .bib line of one string (LF line end): a value in one pair of
    // delimiters, or a concatenation, as it stands; anything else in braces.
    static std::string FormatString(std::string_view abbreviation, std::string_view value);
    // One name as BibTeX reads a string reference: no white space, none of
    // " # % ' ( ) , = { }, and no leading digit.
    static bool IsBareName(std::string_view text);
    // Whether `value`, the value of `abbreviation`, names another string of
    // this table or a month: written bare, so that BibTeX expands it.
    bool IsAlias(std::string_view abbreviation, std::string_view value) const;
    // The .bib line of one string of this table: an alias bare, anything
    // else as FormatString.
    std::string FormatStringLine(std::string_view abbreviation, std::string_view value) const;
    // All strings in table order, one line each (LF line ends).
    std::string FormatStrings() const;

private:
    void Changing() {
        if (m_recorder != nullptr) {
            m_recorder->OnStringsChanging();
        }
    }

    qvn::OrderedMap<std::string> m_map;
    IChangeRecorder* m_recorder = nullptr;
};
