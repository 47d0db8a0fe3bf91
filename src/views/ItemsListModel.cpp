#include "views/ItemsListModel.h"

#include "kit/EntryTypeIcons.h"
#include "kit/QtText.h"
#include "model/BibTexEntry.h"
#include "model/Catalogue.h"
#include "model/TexText.h"
#include "project/ProblemCheck.h"
#include "project/QVNDoc.h"
#include "search/QuickFilter.h"

#include <QApplication>
#include <QStyle>

#include <chrono>

CItemsListModel::CItemsListModel(CQVNDoc* doc, QObject* parent)
    : CListRowsModel(parent), m_doc(doc) {
    if (m_doc != nullptr) {
        m_doc->AddDeletionListener(this);
    }
}

CItemsListModel::~CItemsListModel() {
    DetachDocument();
}

void CItemsListModel::DetachDocument() {
    if (m_doc != nullptr) {
        m_doc->RemoveDeletionListener(this);
        m_doc = nullptr;
        SetItems({});
    }
}

void CItemsListModel::OnItemDeleting(const CBibTexEntry& item) {
    if (m_deleted.empty()) {
        QMetaObject::invokeMethod(this, &CItemsListModel::RemoveDeletedRows, Qt::QueuedConnection);
    }
    m_deleted.insert(&item);
}

void CItemsListModel::OnAllItemsDeleting() {
    beginResetModel();
    m_items.clear();
    m_filterTexts.clear();
    m_preparedRows = 0;
    m_deleted.clear();
    endResetModel();
}

void CItemsListModel::RemoveDeletedRows() {
    if (m_deleted.empty()) {
        return;
    }
    std::vector<int> rows;
    for (std::size_t row = 0; row < m_items.size(); ++row) {
        if (m_deleted.count(m_items[row]) != 0) {
            rows.push_back(static_cast<int>(row));
        }
    }
    m_deleted.clear();
    RemoveRowSet(rows);
}

void CItemsListModel::SetColumns(std::vector<int> fields, bool texAsText) {
    beginResetModel();
    m_fields = std::move(fields);
    m_texAsText = texAsText;
    m_items.clear();
    m_filterTexts.clear();
    m_preparedRows = 0;
    m_deleted.clear();
    endResetModel();
}

void CItemsListModel::SetProblemCheck(const CProblemCheck* check) {
    beginResetModel();
    m_check = check;
    m_items.clear();
    m_filterTexts.clear();
    m_preparedRows = 0;
    m_deleted.clear();
    endResetModel();
}

int CItemsListModel::GetProblemColumn() const {
    return m_check != nullptr ? 1 + static_cast<int>(m_fields.size()) : -1;
}

void CItemsListModel::ProblemsChanged() {
    const int column = GetProblemColumn();
    if (column >= 0 && RowCount() > 0) {
        Q_EMIT dataChanged(index(0, column), index(RowCount() - 1, column));
    }
}

const std::string& CItemsListModel::FilterText(int row) const {
    static const std::string kNone;
    const CBibTexEntry* item = GetItem(row);
    if (item == nullptr) {
        return kNone;
    }
    if (m_filterTexts.size() != m_items.size()) {
        m_filterTexts.resize(m_items.size());
    }
    std::string& text = m_filterTexts[static_cast<std::size_t>(row)];
    if (text.empty()) {
        text = CQuickFilter::ItemText(*item);
    }
    return text;
}

bool CItemsListModel::PrepareFilterTexts(int milliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    if (m_preparedRows > m_items.size()) {
        m_preparedRows = 0;
    }
    while (m_preparedRows < m_items.size()) {
        FilterText(static_cast<int>(m_preparedRows++));
        if (m_preparedRows % 256 == 0 && std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
    }
    return true;
}

void CItemsListModel::SetItems(std::vector<CBibTexEntry*> items) {
    beginResetModel();
    m_items = std::move(items);
    m_filterTexts.clear();
    m_preparedRows = 0;
    // The new rows are the project's items as they are now.
    m_deleted.clear();
    endResetModel();
}

void CItemsListModel::AppendItems(const std::vector<CBibTexEntry*>& items) {
    if (items.empty()) {
        return;
    }
    const int first = RowCount();
    beginInsertRows({}, first, first + static_cast<int>(items.size()) - 1);
    m_items.insert(m_items.end(), items.begin(), items.end());
    if (!m_filterTexts.empty()) {
        m_filterTexts.resize(m_items.size());
    }
    endInsertRows();
}

void CItemsListModel::UpdateRow(int row) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    if (static_cast<std::size_t>(row) < m_filterTexts.size()) {
        m_filterTexts[static_cast<std::size_t>(row)].clear();
        m_preparedRows = std::min(m_preparedRows, static_cast<std::size_t>(row));
    }
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

CBibTexEntry* CItemsListModel::GetItem(int row) const {
    if (row < 0 || row >= RowCount()) {
        return nullptr;
    }
    CBibTexEntry* item = m_items[static_cast<std::size_t>(row)];
    return m_deleted.empty() || m_deleted.count(item) == 0 ? item : nullptr;
}

int CItemsListModel::FindKey(std::string_view key) const {
    for (std::size_t row = 0; row < m_items.size(); ++row) {
        const CBibTexEntry* item = GetItem(static_cast<int>(row));
        if (item != nullptr && item->GetKey() == key) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

std::string CItemsListModel::RowText(int row, int column) const {
    const CBibTexEntry* item = GetItem(row);
    if (item == nullptr || column < 0 || column >= columnCount()) {
        return {};
    }
    if (column == 0) {
        return item->GetKey();
    }
    if (column == GetProblemColumn()) {
        return m_check->DescribeProblems(*item);
    }
    if (column > static_cast<int>(m_fields.size())) {
        return {};
    }
    std::string text = item->GetField(m_fields[static_cast<std::size_t>(column - 1)]);
    return m_texAsText ? qvn::TexToText(text) : text;
}

QVariant CItemsListModel::data(const QModelIndex& index, int role) const {
    // The key's tooltip names the entry type, also one outside the
    // catalogue, whose icon is the generic one.
    if (role == Qt::ToolTipRole && index.isValid() && index.column() == 0) {
        if (const CBibTexEntry* item = GetItem(index.row())) {
            return qvn::ToQString(item->GetKey() + " (" + std::string(item->GetTypeName()) + ")");
        }
    }
    if (m_check == nullptr || index.column() != GetProblemColumn() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return CListRowsModel::data(index, role);
    }
    const CBibTexEntry* item = GetItem(index.row());
    if (item == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DecorationRole:
        if (m_check->HasProblems(*item)) {
            static const QIcon icon =
                QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            return icon;
        }
        return {};
    case Qt::ToolTipRole: {
        const std::string text = m_check->DescribeProblems(*item);
        return text.empty() ? QVariant() : QVariant(qvn::ToQString(text));
    }
    default:
        return {};
    }
}

int CItemsListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1 + static_cast<int>(m_fields.size()) + (m_check ? 1 : 0);
}

QIcon CItemsListModel::RowIcon(int row) const {
    const CBibTexEntry* item = GetItem(row);
    return item != nullptr ? qvn::EntryTypeIcon(item->GetType()) : QIcon();
}

QVariant CItemsListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount()) {
        return {};
    }
    if (section == 0) {
        return QStringLiteral("Name (Key)");
    }
    if (section == GetProblemColumn()) {
        return QString();
    }
    const int field = m_fields[static_cast<std::size_t>(section - 1)];
    return field >= 0 && field < kFieldCount ? qvn::ToQString(FieldName(field)) : QString();
}

void CItemsListModel::PermuteRows(const std::vector<int>& order) {
    Permute(m_items, order);
    if (m_filterTexts.size() == order.size()) {
        Permute(m_filterTexts, order);
    } else {
        m_filterTexts.clear();
        m_preparedRows = 0;
    }
}

void CItemsListModel::EraseRows(const std::vector<int>& rows) {
    if (m_filterTexts.size() == m_items.size()) {
        Erase(m_filterTexts, rows);
    } else {
        m_filterTexts.clear();
        m_preparedRows = 0;
    }
    Erase(m_items, rows);
}
