#include "views/QVNSearchView.h"

#include "model/TextUtil.h"
#include "project/QVNDoc.h"
#include "views/ItemsListModel.h"

#include <unordered_set>

CQVNSearchView::CQVNSearchView(CQVNDoc& doc, IViewHost& host, QWidget* parent)
    : CQVNBibTeXView(doc, host, parent) {
    SetReadOnly(true);
}

void CQVNSearchView::Refill(const std::string& key) {
    CSearchManager& searches = GetDocument().GetSearches();
    const CSearch* search = searches.GetAt(searches.FindByLabel(m_label));
    if (search != nullptr) {
        ShowItems(search->GetResults(), key);
        HideSortIndicator();
        return;
    }
    // No such search: the rows stay, but none may outlive its item (the
    // rows point into the project, and a removed file takes its items).
    const std::vector<CBibTexEntry*>& rows = GetModel()->GetItems();
    if (rows.empty()) {
        return;
    }
    std::unordered_set<const CBibTexEntry*> live;
    live.reserve(static_cast<std::size_t>(GetDocument().GetItems().GetTotalCount()));
    GetDocument().GetItems().ForEachItem([&live](const CBibTexEntry& item) { live.insert(&item); });
    std::vector<int> gone;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (live.count(rows[row]) == 0) {
            gone.push_back(static_cast<int>(row));
        }
    }
    GetModel()->RemoveRowSet(gone);
}

bool CQVNSearchView::CanDropText(const std::string&) const {
    return false;
}

std::optional<std::string> CQVNSearchView::GetCountText() const {
    // Counts the project's items, as the list of all items does.
    return CountText();
}

QString CQVNSearchView::HelpTopic() const {
    return QStringLiteral("qvn_fast_search.htm");
}
