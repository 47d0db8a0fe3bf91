#include "views/ListRowsModel.h"

#include "kit/QtText.h"
#include "model/TextUtil.h"

#include <numeric>
#include <utility>

std::string CListRowsModel::SortKey(std::string_view text) {
    std::string key;
    key.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            key += (b >= 'A' && b <= 'Z') ? static_cast<char>(b + 32) : static_cast<char>(b);
            ++pos;
            continue;
        }
        const qvn::Utf8Char c = qvn::DecodeChar(text, pos);
        // UTF-8 keeps the order of code points, so bytes compare as the
        // lower-cased characters do.
        qvn::AppendUtf8(key, qvn::ToLowerCodePoint(c.codePoint));
        pos += c.length == 0 ? 1 : c.length;
    }
    return key;
}

int CListRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

Qt::ItemFlags CListRowsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QVariant CListRowsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return qvn::ToQString(RowText(index.row(), index.column()));
    case Qt::DecorationRole:
        return index.column() == 0 ? QVariant(RowIcon(index.row())) : QVariant();
    default:
        return {};
    }
}

void CListRowsModel::SortRows(int column, bool ascending) {
    const int count = RowCount();
    if (column < 0 || column >= columnCount() || count < 2) {
        return;
    }
    std::vector<std::string> keys(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        keys[static_cast<std::size_t>(row)] = SortKey(RowText(row, column));
    }
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const auto key = [&keys](int row) -> const std::string& {
        return keys[static_cast<std::size_t>(row)];
    };
    if (ascending) {
        std::stable_sort(order.begin(), order.end(),
                         [&key](int a, int b) { return key(a) < key(b); });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&key](int a, int b) { return key(b) < key(a); });
    }
    bool unchanged = true;
    for (int i = 0; i < count && unchanged; ++i) {
        unchanged = order[static_cast<std::size_t>(i)] == i;
    }
    if (unchanged) {
        return;
    }

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRow(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        newRow[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] = i;
    }
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
        to.append(this->index(newRow[static_cast<std::size_t>(index.row())], index.column()));
    }
    PermuteRows(order);
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CListRowsModel::RemoveRowSet(const std::vector<int>& rows) {
    if (rows.empty()) {
        return;
    }
    // Runs of consecutive rows, last run first so that earlier rows keep
    // their numbers.
    std::vector<std::pair<int, int>> runs;
    for (int row : rows) {
        if (!runs.empty() && runs.back().second + 1 == row) {
            runs.back().second = row;
        } else {
            runs.emplace_back(row, row);
        }
    }
    constexpr std::size_t kMaxRuns = 16;
    if (runs.size() > kMaxRuns) {
        // Each removal shifts the rows behind it: many runs would cost the
        // list's length each.
        beginResetModel();
        EraseRows(rows);
        endResetModel();
        return;
    }
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        beginRemoveRows({}, it->first, it->second);
        std::vector<int> run(static_cast<std::size_t>(it->second - it->first + 1));
        std::iota(run.begin(), run.end(), it->first);
        EraseRows(run);
        endRemoveRows();
    }
}
