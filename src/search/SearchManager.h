// The searches made since the project was opened or created, in the order of
// creation. Owns them; not stored in the project file.
#pragma once

#include "model/BibTexMap.h"
#include "search/Search.h"

#include <memory>
#include <string_view>
#include <vector>

class CSearchManager : public IItemDeletionObserver {
public:
    explicit CSearchManager(const CBibTexMap* collection = nullptr) : m_collection(collection) {}

    const CBibTexMap* GetCollection() const { return m_collection; }

    int FindEqual(const CSearch& search) const;
    // Takes ownership; returns the stored search.
    CSearch* Append(std::unique_ptr<CSearch> search);
    int GetCount() const { return static_cast<int>(m_searches.size()); }
    // Null for an index out of range.
    CSearch* GetAt(int index) const;
    int FindByLabel(std::string_view label) const;
    bool DeleteByLabel(std::string_view label);
    void DeleteAll() { m_searches.clear(); }

    // Called before items are deleted: no search may refer to them afterwards.
    void OnItemDeleting(const CBibTexEntry& item) override;
    void OnAllItemsDeleting() override;
    // Every result of every search is an item of the collection.
    bool IsConsistent() const;

private:
    const CBibTexMap* m_collection;
    std::vector<std::unique_ptr<CSearch>> m_searches;
};
