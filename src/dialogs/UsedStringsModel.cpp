#include "dialogs/UsedStringsModel.h"

#include "app/QtText.h"

CUsedStringsModel::CUsedStringsModel(std::vector<UsedString> strings, QObject* parent)
    : QAbstractTableModel(parent), m_strings(std::move(strings)) {}

int CUsedStringsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_strings.size());
}

int CUsedStringsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CUsedStringsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const UsedString& s = m_strings[static_cast<std::size_t>(index.row())];
    return qvn::ToQString(index.column() == StringColumn ? s.abbreviation : s.value);
}

QVariant CUsedStringsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case StringColumn:
        return QStringLiteral("String");
    case ValueColumn:
        return QStringLiteral("Value");
    default:
        return {};
    }
}

Qt::ItemFlags CUsedStringsModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
