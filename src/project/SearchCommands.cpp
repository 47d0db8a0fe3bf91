// Making a search from the search bar: reuse an equal search, else run a new
// one and keep it when it found something.
#include "model/OrderedMap.h"
#include "model/TextUtil.h"
#include "project/QVNDoc.h"

#include <algorithm>
#include <unordered_set>

namespace {
constexpr const char* kNoMatch = "There are no entries matching this query.";
constexpr const char* kNoMatchCaption = "Search...";
} // namespace

CSearch* CQVNDoc::MakeSearch(std::string_view query, const CFieldRef& field) {
    // Without a project the search bar still answers, as a query that finds
    // nothing; no search is made or stored.
    CSearch* found = nullptr;
    if (m_active) {
        auto search = std::make_unique<CSearch>(&m_items, std::string(query), true);
        search->AddField(field); // an invalid field leaves a search that finds nothing
        if (const int index = m_searches.FindEqual(*search); index >= 0) {
            // Its old results: Run returns at once while it has any. Only a
            // search whose items were all deleted since runs again.
            found = m_searches.GetAt(index);
            CBusyCursor busy(m_ui);
            found->Run();
        } else {
            CBusyCursor busy(m_ui);
            if (search->Run() > 0) {
                found = m_searches.Append(std::move(search));
            }
        }
    }
    if (found == nullptr || found->GetResultCount() == 0) {
        Message(kNoMatch, kNoMatchCaption, MsgIcon::Information);
        return nullptr;
    }
    UpdateAllViews(nullptr, UpdateHint::Search, static_cast<const CSearch*>(found));
    return found;
}

std::vector<std::string> CQVNDoc::CollectOtherFieldNames() const {
    // Lower-cased names seen, so that doi and DOI are listed once (as first
    // written).
    std::unordered_set<std::string> seen;
    // Spellings met before: most names repeat exactly and need no lower-casing.
    std::unordered_set<std::string, qvn::StringHash, std::equal_to<>> spellings;
    std::vector<std::string> names;
    m_items.ForEachItem([&](const CBibTexEntry& item) {
        item.ForEachOtherField([&](std::string_view name, std::string_view) {
            if (spellings.find(name) != spellings.end()) {
                return;
            }
            spellings.emplace(name);
            if (seen.insert(qvn::ToLower(name)).second) {
                names.emplace_back(name);
            }
        });
    });
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return qvn::CompareNoCase(a, b) < 0;
    });
    return names;
}
