#include "kit/StringPickModel.h"

#include "kit/QtText.h"
#include "model/BibTexStringTable.h"

CStringPickModel::CStringPickModel(const CBibTexStringTable& strings, QObject* parent)
    : QAbstractTableModel(parent), m_icon(QStringLiteral(":/icons/tree/strings.svg")) {
    m_rows.reserve(static_cast<size_t>(strings.GetCount()));
    CBibTexStringTable::Position position = strings.GetStartPosition();
    std::string abbreviation;
    std::string value;
    while (strings.GetNextString(position, abbreviation, value)) {
        m_rows.push_back({qvn::ToQString(abbreviation), qvn::ToQString(value)});
    }
}

CStringPickModel::CStringPickModel(const std::vector<UsedString>& strings, QObject* parent)
    : QAbstractTableModel(parent) {
    m_rows.reserve(strings.size());
    for (const UsedString& s : strings) {
        m_rows.push_back({qvn::ToQString(s.abbreviation), qvn::ToQString(s.value)});
    }
}

int CStringPickModel::FindRow(const QString& abbreviation) const {
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].abbreviation == abbreviation) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

QString CStringPickModel::GetAbbreviation(int row) const {
    return row >= 0 && row < rowCount() ? m_rows[static_cast<size_t>(row)].abbreviation : QString();
}

int CStringPickModel::ColumnWidth(int column) {
    return column == StringColumn ? 100 : 250;
}

int CStringPickModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CStringPickModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CStringPickModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const Row& row = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return index.column() == StringColumn ? row.abbreviation : row.value;
    case Qt::DecorationRole:
        return index.column() == StringColumn && !m_icon.isNull() ? QVariant(m_icon) : QVariant();
    default:
        return {};
    }
}

QVariant CStringPickModel::headerData(int section, Qt::Orientation orientation, int role) const {
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
