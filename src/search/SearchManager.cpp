#include "search/SearchManager.h"

#include "model/BibTexMap.h"

int CSearchManager::FindEqual(const CSearch& search) const {
    for (std::size_t i = 0; i < m_searches.size(); ++i) {
        if (*m_searches[i] == search) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CSearch* CSearchManager::Append(std::unique_ptr<CSearch> search) {
    m_searches.push_back(std::move(search));
    return m_searches.back().get();
}

CSearch* CSearchManager::GetAt(int index) const {
    if (index < 0 || index >= GetCount()) {
        return nullptr;
    }
    return m_searches[static_cast<std::size_t>(index)].get();
}

int CSearchManager::FindByLabel(std::string_view label) const {
    for (std::size_t i = 0; i < m_searches.size(); ++i) {
        if (m_searches[i]->GetLabel() == label) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CSearchManager::DeleteByLabel(std::string_view label) {
    const int index = FindByLabel(label);
    if (index < 0) {
        return false;
    }
    m_searches.erase(m_searches.begin() + index);
    return true;
}

void CSearchManager::OnItemDeleting(const CBibTexEntry& item) {
    for (const auto& search : m_searches) {
        search->RemoveResult(&item);
    }
}

void CSearchManager::OnAllItemsDeleting() {
    for (const auto& search : m_searches) {
        search->RemoveAllResults();
    }
}

bool CSearchManager::IsConsistent() const {
    for (const auto& search : m_searches) {
        for (const CBibTexEntry* item : search->GetResults()) {
            if (m_collection == nullptr ||
                m_collection->Lookup(item->GetFileName(), item->GetKey()) != item) {
                return false;
            }
        }
    }
    return true;
}
