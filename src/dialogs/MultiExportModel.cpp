#include "dialogs/MultiExportModel.h"

#include "kit/QtText.h"
#include "project/QVNDoc.h"

CMultiExportModel::CMultiExportModel(const CQVNDoc& doc, QObject* parent)
    : QAbstractTableModel(parent), m_rows(doc.GetMultiExportRows()), m_checked(m_rows.size(), true),
      m_stringsIcon(QStringLiteral(":/icons/strings.svg")),
      m_fileIcon(QStringLiteral(":/icons/bibfiles.svg")) {}

void CMultiExportModel::SetAllChecked(bool checked) {
    m_checked.assign(m_rows.size(), checked);
    if (!m_rows.empty()) {
        Q_EMIT dataChanged(index(0, FileColumn), index(rowCount() - 1, FileColumn),
                           {Qt::CheckStateRole});
    }
}

bool CMultiExportModel::IsChecked(int row) const {
    return row >= 0 && row < rowCount() && m_checked[static_cast<std::size_t>(row)];
}

std::vector<bool> CMultiExportModel::GetCheckedRows() const {
    return m_checked;
}

int CMultiExportModel::ColumnWidth(int column) {
    switch (column) {
    case FileColumn:
        return 100;
    case FileNameColumn:
        return 150;
    default:
        return 50;
    }
}

int CMultiExportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CMultiExportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CMultiExportModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const MultiExportRow& r = m_rows[row];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case FileColumn:
            return qvn::ToQString(r.file);
        case FileNameColumn:
            return qvn::ToQString(r.fileName);
        case ItemsColumn:
            return r.items;
        default:
            return {};
        }
    case Qt::DecorationRole:
        if (index.column() == FileColumn) {
            return r.isStrings ? m_stringsIcon : m_fileIcon;
        }
        return {};
    case Qt::CheckStateRole:
        if (index.column() == FileColumn) {
            return m_checked[row] ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == ItemsColumn) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        }
        return {};
    default:
        return {};
    }
}

bool CMultiExportModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        role != Qt::CheckStateRole || index.column() != FileColumn) {
        return false;
    }
    m_checked[static_cast<std::size_t>(index.row())] = value.value<Qt::CheckState>() == Qt::Checked;
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant CMultiExportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        switch (section) {
        case FileColumn:
            return QStringLiteral("File");
        case FileNameColumn:
            return QStringLiteral("Filename");
        case ItemsColumn:
            return QStringLiteral("Items");
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole && section == ItemsColumn) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    }
    return {};
}

Qt::ItemFlags CMultiExportModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == FileColumn) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}
