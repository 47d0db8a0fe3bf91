// Base of the models of the items lists and the strings list: a flat table
// over a vector of rows that sorts and removes its rows itself. Sorting a
// hundred thousand rows through a proxy would fetch and convert two texts per
// comparison; here each row's text is lower-cased once into a key and the
// row vector is reordered in one layout change that keeps the selection.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

class CListRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Orders the rows by the texts of `column` compared without regard to
    // case, character by character (no numeric order: "10" before "9").
    // Stable: rows with equal texts keep their order in both directions.
    void SortRows(int column, bool ascending);
    // Removes the given rows (ascending, no duplicates). A few runs are
    // removed as runs; a scattered set in one reset.
    void RemoveRowSet(const std::vector<int>& rows);

    // The text `column` shows for `row`, as bytes.
    virtual std::string RowText(int row, int column) const = 0;
    // Whether a print-out shows `column` (a column of marks does not).
    virtual bool IsPrintedColumn(int /*column*/) const { return true; }

    // The key that orders `text` as CompareNoCase does, by plain byte
    // comparison: every character lower-cased and written as UTF-8 (a byte
    // that is not UTF-8 as the Windows-1252 character it stands for).
    static std::string SortKey(std::string_view text);

    int rowCount(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The texts of RowText, and the row's icon in column 0.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

protected:
    virtual int RowCount() const = 0;
    virtual QIcon RowIcon(int row) const = 0;
    // New row i is old row order[i]; called inside a layout change.
    virtual void PermuteRows(const std::vector<int>& order) = 0;
    // Drops the given rows (ascending); called inside a removal or a reset.
    virtual void EraseRows(const std::vector<int>& rows) = 0;

    template <typename T> static void Permute(std::vector<T>& rows, const std::vector<int>& order) {
        std::vector<T> sorted;
        sorted.reserve(rows.size());
        for (int old : order) {
            sorted.push_back(std::move(rows[static_cast<std::size_t>(old)]));
        }
        rows.swap(sorted);
    }
    template <typename T> static void Erase(std::vector<T>& rows, const std::vector<int>& gone) {
        std::size_t out = 0;
        std::size_t next = 0;
        for (std::size_t in = 0; in < rows.size(); ++in) {
            if (next < gone.size() && static_cast<std::size_t>(gone[next]) == in) {
                ++next;
                continue;
            }
            if (out != in) {
                rows[out] = std::move(rows[in]);
            }
            ++out;
        }
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(out), rows.end());
    }
};
