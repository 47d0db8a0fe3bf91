#include "views/StringsListModel.h"

#include "kit/EntryTypeIcons.h"

CStringsListModel::CStringsListModel(QObject* parent) : CListRowsModel(parent) {}

void CStringsListModel::SetRows(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void CStringsListModel::AppendRow(Row row) {
    const int at = RowCount();
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void CStringsListModel::SetRow(int row, std::string abbreviation, std::string fullString) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    Row& r = m_rows[static_cast<std::size_t>(row)];
    r.abbreviation = std::move(abbreviation);
    r.fullString = std::move(fullString);
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

const CStringsListModel::Row* CStringsListModel::GetRow(int row) const {
    return row >= 0 && row < RowCount() ? &m_rows[static_cast<std::size_t>(row)] : nullptr;
}

int CStringsListModel::FindAbbreviation(std::string_view abbreviation) const {
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].abbreviation == abbreviation) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

int CStringsListModel::ColumnWidth(int column) {
    return column == AbbreviationColumn ? 200 : column == FullStringColumn ? 500 : 0;
}

std::string CStringsListModel::RowText(int row, int column) const {
    const Row* r = GetRow(row);
    if (r == nullptr) {
        return {};
    }
    return column == AbbreviationColumn ? r->abbreviation
           : column == FullStringColumn ? r->fullString
                                        : std::string();
}

int CStringsListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QIcon CStringsListModel::RowIcon(int row) const {
    return qvn::StringRowIcon(m_rows[static_cast<std::size_t>(row)].icon);
}

QVariant CStringsListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case AbbreviationColumn:
        return QStringLiteral("Abbreviation");
    case FullStringColumn:
        return QStringLiteral("Full string");
    default:
        return {};
    }
}

void CStringsListModel::PermuteRows(const std::vector<int>& order) {
    Permute(m_rows, order);
}

void CStringsListModel::EraseRows(const std::vector<int>& rows) {
    Erase(m_rows, rows);
}
