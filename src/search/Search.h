// One search over the items of a project: a query, the fields searched and
// the items found. Results refer to items owned by the BibTeX files; the
// search manager drops results whose items are deleted. The label keeps the
// count it was built with: it is what the explorer finds the search by.
#pragma once

#include "model/FieldRef.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class CBibTexEntry;
class CBibTexMap;

class CSearch {
public:
    CSearch(const CBibTexMap* collection, std::string query, bool ignoreCase = true);

    // False for a field index outside 0..37 or a name BibTeX cannot read.
    bool AddField(const CFieldRef& field);
    // Runs once; later calls return the kept number of results.
    int Run();

    int GetResultCount() const { return static_cast<int>(GetResults().size()); }
    const std::vector<CBibTexEntry*>& GetResults() const;
    const std::vector<CFieldRef>& GetFields() const { return m_fields; }
    const std::string& GetQuery() const { return m_query; }
    bool IgnoresCase() const { return m_ignoreCase; }
    // Built and cached on first use, then returned unchanged.
    const std::string& GetLabel();

    // Equal queries (byte for byte) and equal field lists.
    bool operator==(const CSearch& other) const;

    // Forgets a result whose item is about to be deleted.
    void RemoveResult(const CBibTexEntry* item);
    void RemoveAllResults();

private:
    const CBibTexMap* m_collection;
    std::string m_query;
    bool m_ignoreCase;
    std::string m_label;
    mutable std::vector<CBibTexEntry*> m_results;
    std::vector<CFieldRef> m_fields;
    // Built on the first removal, so that removing many items stays linear;
    // m_results is filtered against it lazily.
    mutable std::unordered_set<const CBibTexEntry*> m_live;
    bool m_liveBuilt = false;
    mutable bool m_dirty = false;
};

// The query field's history: `text` is appended unless an entry equal to it
// ignoring letter case is there already. Returns whether it was appended.
bool AddToQueryHistory(std::vector<std::string>& history, std::string_view text);
