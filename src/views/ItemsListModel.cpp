#include "views/ItemsListModel.h"

#include "app/QtText.h"
#include "model/BibTexEntry.h"
#include "model/Catalogue.h"
#include "project/QVNDoc.h"
#include "views/EntryTypeIcons.h"

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

void CItemsListModel::SetColumns(std::vector<int> fields) {
    beginResetModel();
    m_fields = std::move(fields);
    m_items.clear();
    m_deleted.clear();
    endResetModel();
}

void CItemsListModel::SetItems(std::vector<CBibTexEntry*> items) {
    beginResetModel();
    m_items = std::move(items);
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
    endInsertRows();
}

void CItemsListModel::UpdateRow(int row) {
    if (row < 0 || row >= RowCount()) {
        return;
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
    if (item == nullptr || column < 0 || column > static_cast<int>(m_fields.size())) {
        return {};
    }
    if (column == 0) {
        return item->GetKey();
    }
    return item->GetField(m_fields[static_cast<std::size_t>(column - 1)]);
}

int CItemsListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1 + static_cast<int>(m_fields.size());
}

QVariant CItemsListModel::data(const QModelIndex& index, int role) const {
    // The key's tooltip names the entry type, also one outside the
    // catalogue, whose icon is the generic one.
    if (role == Qt::ToolTipRole && index.isValid() && index.column() == 0) {
        if (const CBibTexEntry* item = GetItem(index.row())) {
            return qvn::ToQString(item->GetKey() + " (" + std::string(item->GetTypeName()) + ")");
        }
    }
    return CListRowsModel::data(index, role);
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
    const int field = m_fields[static_cast<std::size_t>(section - 1)];
    return field >= 0 && field < kFieldCount ? qvn::ToQString(FieldName(field)) : QString();
}

void CItemsListModel::PermuteRows(const std::vector<int>& order) {
    Permute(m_items, order);
}

void CItemsListModel::EraseRows(const std::vector<int>& rows) {
    Erase(m_items, rows);
}
