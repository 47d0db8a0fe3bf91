// The quick filter of the items lists: the words typed, each of which must
// occur in an item's key, type name or any of its values, read as text
// (TeX accents as letters) and compared without regard to case or accents.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CBibTexEntry;

class CQuickFilter {
public:
    CQuickFilter() = default;
    // The typed text: words apart by blanks, in any order.
    explicit CQuickFilter(std::string_view typed);

    bool IsEmpty() const { return m_words.empty(); }
    const std::vector<std::string>& GetWords() const { return m_words; }

    // Whether every word occurs in `itemText` (made by ItemText).
    bool Matches(std::string_view itemText) const;
    // Whether every item this filter lets through passed `previous` as well,
    // so that the items `previous` left out need no second look (typing on
    // narrows the list).
    bool Narrows(const CQuickFilter& previous) const;

    // The text an item is matched against: key, type name and every value,
    // each folded, one per line.
    static std::string ItemText(const CBibTexEntry& item);

private:
    std::vector<std::string> m_words;
};
