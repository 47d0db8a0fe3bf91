// The check of every item of a project for what would go wrong in BibTeX or
// in the bibliography: an empty required field, a crossref to no item, a
// bare name that is neither a string nor a month, braces that do not
// balance, and two items of the same work. What an item holds is checked
// once and kept; after a change only the changed items are checked again,
// in steps that the caller times.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CBibTexEntry;
class CBibTexMap;
class CBibTexStringTable;

// One problem of one item: the field it concerns (empty: the item as a
// whole) and what is wrong, in the user's words.
struct ItemProblem {
    std::string field;
    std::string text;
    bool operator==(const ItemProblem&) const = default;
};

class CProblemCheck {
public:
    // Both must outlive the check.
    CProblemCheck(const CBibTexMap& items, const CBibTexStringTable& strings);
    CProblemCheck(const CProblemCheck&) = delete;
    CProblemCheck& operator=(const CProblemCheck&) = delete;

    // This item changed: it is checked again by the next Run.
    void MarkChanged(const CBibTexEntry& item);
    // Anything may have changed: the next Run compares every item with what
    // was checked and checks again the ones that differ or are new.
    void MarkAll();
    // The item is about to be deleted (nothing of it is read again).
    void Forget(const CBibTexEntry& item);
    void ForgetAll();

    // Checks what is due until done or until `budget` is spent; true when
    // nothing is left to check.
    bool Run(std::chrono::steady_clock::duration budget);
    void RunAll();
    bool IsPending() const {
        return m_syncDue || !m_pending.empty() || m_syncPos < m_syncItems.size();
    }

    // The problems of an item as the project stands (crossref targets,
    // strings and other items looked up now); none for an item not checked
    // yet.
    std::vector<ItemProblem> GetProblems(const CBibTexEntry& item) const;
    bool HasProblems(const CBibTexEntry& item) const { return !GetProblems(item).empty(); }
    // How other items are named in the problems of an item: by their key,
    // unless this says otherwise (a .bib file's own key before a merge made
    // it unique).
    void SetKeyNamer(std::function<std::string(const CBibTexEntry&)> namer) {
        m_keyNamer = std::move(namer);
    }
    // GetProblems as one line each, for a tooltip.
    std::string DescribeProblems(const CBibTexEntry& item) const;

    // The text of a DOI and of a title with its year as they are compared:
    // empty when the item has none.
    static std::string DoiKey(const CBibTexEntry& item);
    static std::string TitleYearKey(const CBibTexEntry& item);

private:
    struct Facts {
        std::size_t fingerprint = 0;
        std::uint32_t generation = 0;
        std::uint64_t doiHash = 0;   // 0: no DOI
        std::uint64_t titleHash = 0; // 0: no title and year
        // The first field of each required field (or pair of alternatives)
        // that is empty, and the value problems found in the item itself.
        std::vector<int> missing;
        std::vector<ItemProblem> own;
        // Bare names by field, looked up in the strings when asked.
        std::vector<std::pair<std::string, std::string>> names;
    };

    static std::size_t Fingerprint(const CBibTexEntry& item);
    void Check(const CBibTexEntry& item);
    void Unindex(const CBibTexEntry& item, const Facts& facts);
    void Sync();
    void Sweep();
    // Checks the item unless it is as it was at its last check.
    void Refresh(const CBibTexEntry& item);
    bool IsNameDefined(std::string_view name) const;
    void AppendSameWork(const CBibTexEntry& item, const Facts& facts,
                        std::vector<ItemProblem>& problems) const;

    const CBibTexMap& m_items;
    const CBibTexStringTable& m_strings;
    std::unordered_map<const CBibTexEntry*, Facts> m_facts;
    std::unordered_map<std::uint64_t, std::vector<const CBibTexEntry*>> m_byDoi;
    std::unordered_map<std::uint64_t, std::vector<const CBibTexEntry*>> m_byTitle;
    std::deque<const CBibTexEntry*> m_pending;
    std::unordered_set<const CBibTexEntry*> m_pendingSet;
    std::function<std::string(const CBibTexEntry&)> m_keyNamer;
    // Every item as it was when a comparison with the last checks began,
    // how far it got, and the items deleted since.
    std::vector<const CBibTexEntry*> m_syncItems;
    std::size_t m_syncPos = 0;
    std::unordered_set<const CBibTexEntry*> m_forgottenInSync;
    bool m_syncDue = true;
    std::uint32_t m_generation = 0;
};
