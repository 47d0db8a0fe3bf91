// The model of the items lists and the search results: one row per BibTeX
// item, held as a pointer to the project's item. Column 0 is the key with
// the icon of the item's entry type; each further column is one field of
// the appearance settings' column list, shown with one pair of outer
// delimiters removed (and TeX read as text when the settings say so). With
// a problem check, a last column marks the items that have problems.
// Texts are made when asked for, so a refill costs one pointer per item.
#pragma once

#include "model/BibTexMap.h"
#include "views/ListRowsModel.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class CBibTexEntry;
class CProblemCheck;
class CQVNDoc;

// Rows of items that the project deletes are never read again: until they
// are removed (at once, in one pass, when the event loop next runs) they show
// nothing and GetItem() gives null for them.
class CItemsListModel : public CListRowsModel, private IItemDeletionObserver {
    Q_OBJECT
public:
    static constexpr int kKeyColumnWidth = 200;

    // `doc`, when given, tells the model about deleted items.
    explicit CItemsListModel(CQVNDoc* doc = nullptr, QObject* parent = nullptr);
    ~CItemsListModel() override;

    // Removes all rows and stops listening to the document (a replaced view
    // may outlive it).
    void DetachDocument();
    // Columns after the key column, by field index; removes all rows.
    // `texAsText` shows TeX accents and commands as the characters they
    // stand for.
    void SetColumns(std::vector<int> fields, bool texAsText = false);
    // The check whose problems the last column shows (null: no such
    // column); removes all rows. It must outlive the model.
    void SetProblemCheck(const CProblemCheck* check);
    // The column of problem marks, or -1.
    int GetProblemColumn() const;
    // The check has new results: the marks are drawn again.
    void ProblemsChanged();
    // What the quick filter matches for `row` (made once per row and kept
    // until the row changes).
    const std::string& FilterText(int row) const;
    // Makes filter texts ahead of need for about `milliseconds`; true when
    // every row has its text.
    bool PrepareFilterTexts(int milliseconds);
    const std::vector<int>& GetColumnFields() const { return m_fields; }
    // Replaces all rows. The items must outlive their rows.
    void SetItems(std::vector<CBibTexEntry*> items);
    void AppendItems(const std::vector<CBibTexEntry*>& items);
    // The row texts of `row` were changed.
    void UpdateRow(int row);

    // Null for a row whose item was deleted.
    CBibTexEntry* GetItem(int row) const;
    const std::vector<CBibTexEntry*>& GetItems() const { return m_items; }
    // The row whose item has exactly this key, or -1.
    int FindKey(std::string_view key) const;

    std::string RowText(int row, int column) const override;
    bool IsPrintedColumn(int column) const override { return column != GetProblemColumn(); }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    QIcon RowIcon(int row) const override;
    int RowCount() const override { return static_cast<int>(m_items.size()); }
    void PermuteRows(const std::vector<int>& order) override;
    void EraseRows(const std::vector<int>& rows) override;

private:
    void OnItemDeleting(const CBibTexEntry& item) override;
    void OnAllItemsDeleting() override;
    void RemoveDeletedRows();

    CQVNDoc* m_doc;
    std::vector<int> m_fields;
    bool m_texAsText = false;
    const CProblemCheck* m_check = nullptr;
    std::vector<CBibTexEntry*> m_items;
    // Per row, the text the filter matches; empty until asked for (an
    // item's text is never empty: it holds at least its type's name).
    mutable std::vector<std::string> m_filterTexts;
    // Rows before this one have their filter text (unless changed since).
    std::size_t m_preparedRows = 0;
    std::unordered_set<const CBibTexEntry*> m_deleted;
};
