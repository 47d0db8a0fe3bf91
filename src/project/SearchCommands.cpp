// Making a search from the search bar: reuse an equal search, else run a new
// one and keep it when it found something.
#include "project/QVNDoc.h"

namespace {
constexpr const char* kNoMatch = "There are no entries matching this query.";
constexpr const char* kNoMatchCaption = "Search...";
} // namespace

CSearch* CQVNDoc::MakeSearch(std::string_view query, int field) {
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
