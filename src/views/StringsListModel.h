// The model of the strings list: one row per BibTeX string with its
// abbreviation, its full string and an icon (0: made by a refill, 1: added
// by a paste or drop). Rows hold their own texts; the strings are found
// again by their abbreviation.
#pragma once

#include "views/ListRowsModel.h"

#include <string>
#include <string_view>
#include <vector>

class CStringsListModel : public CListRowsModel {
    Q_OBJECT
public:
    enum Column { AbbreviationColumn, FullStringColumn, ColumnCount };

    struct Row {
        std::string abbreviation;
        std::string fullString;
        int icon = 0;
    };

    explicit CStringsListModel(QObject* parent = nullptr);

    void SetRows(std::vector<Row> rows);
    void AppendRow(Row row);
    void SetRow(int row, std::string abbreviation, std::string fullString);
    const Row* GetRow(int row) const;
    // The row with exactly this abbreviation, or -1.
    int FindAbbreviation(std::string_view abbreviation) const;

    static int ColumnWidth(int column);

    std::string RowText(int row, int column) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    QIcon RowIcon(int row) const override;
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    void PermuteRows(const std::vector<int>& order) override;
    void EraseRows(const std::vector<int>& rows) override;

private:
    std::vector<Row> m_rows;
};
