// The model of the items lists and the search results: one row per BibTeX
// item, held as a pointer to the project's item. Column 0 is the key with
// the icon of the item's entry type; each further column is one field of
// the appearance settings' column list, shown with one pair of outer
// delimiters removed. Texts are made when asked for, so a refill costs one
// pointer per item.
#pragma once

#include "views/ListRowsModel.h"

#include <string>
#include <string_view>
#include <vector>

class CBibTexEntry;

class CItemsListModel : public CListRowsModel {
    Q_OBJECT
public:
    static constexpr int kKeyColumnWidth = 200;

    explicit CItemsListModel(QObject* parent = nullptr);

    // Columns after the key column, by field index; removes all rows.
    void SetColumns(std::vector<int> fields);
    const std::vector<int>& GetColumnFields() const { return m_fields; }
    // Replaces all rows. The items must outlive their rows.
    void SetItems(std::vector<CBibTexEntry*> items);
    void AppendItems(const std::vector<CBibTexEntry*>& items);
    // The row texts of `row` were changed.
    void UpdateRow(int row);

    CBibTexEntry* GetItem(int row) const;
    const std::vector<CBibTexEntry*>& GetItems() const { return m_items; }
    // The row whose item has exactly this key, or -1.
    int FindKey(std::string_view key) const;

    std::string RowText(int row, int column) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    QIcon RowIcon(int row) const override;
    int RowCount() const override { return static_cast<int>(m_items.size()); }
    void PermuteRows(const std::vector<int>& order) override;
    void EraseRows(const std::vector<int>& rows) override;

private:
    std::vector<int> m_fields;
    std::vector<CBibTexEntry*> m_items;
};
