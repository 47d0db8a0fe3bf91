#include "widgets/PropModel.h"

#include "widgets/PropHost.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

EPropModel::EPropModel(QObject* parent) : QAbstractItemModel(parent) {}

EPropModel::~EPropModel() = default;

void EPropModel::SetHost(EPropHost* host) {
    EPropList list;
    if (host != nullptr) {
        host->Populate(list);
    }
    beginResetModel();
    ++m_generation;
    m_host = host;
    m_top.clear();
    m_props = std::move(list.m_props);
    EProperty* group = nullptr;
    for (const auto& owned : m_props) {
        EProperty* prop = owned.get();
        prop->m_children.clear();
        if (prop->IsGroup()) {
            group = prop;
            prop->m_group = nullptr;
        } else {
            prop->m_group = group;
        }
        std::vector<EProperty*>& siblings = prop->m_group ? prop->m_group->m_children : m_top;
        prop->m_row = static_cast<int>(siblings.size());
        siblings.push_back(prop);
    }
    endResetModel();
}

bool EPropModel::IsEnabled(const EProperty* prop) const {
    return prop != nullptr && !prop->IsGroup() && m_host != nullptr &&
           m_host->IsPropertyEnabled(*prop);
}

bool EPropModel::Commit(const EProperty* constProp, const QVariant& value) {
    if (m_committing) {
        return false;
    }
    if (constProp == nullptr || !IsEnabled(constProp)) {
        m_lastRefused = true;
        return false;
    }
    auto* prop = const_cast<EProperty*>(constProp);
    QVariant converted;
    if (prop->GetKind() == EProperty::Kind::Choice) {
        bool isInt = false;
        const int index = value.toInt(&isInt);
        if (isInt && index == prop->GetIndex()) {
            m_lastRefused = false;
            return true;
        }
        if (!isInt || index < 0 || index >= prop->GetChoices().size()) {
            m_lastRefused = true;
            return false;
        }
        converted = index;
    } else {
        converted = value.toString();
    }
    m_lastRefused = false;
    // Committing what is already there is not a change: the host would mark
    // its document modified for nothing.
    if (converted == prop->GetValue()) {
        return true;
    }
    const quint64 generation = m_generation;
    const int id = prop->GetId();
    m_committing = true;
    const bool accepted = m_host->OnPropertyChanged(*prop, converted);
    m_committing = false;
    m_lastRefused = !accepted;
    // The host may have repopulated the grid; then `prop` is gone and the new
    // rows already show the host's values.
    if (generation == m_generation) {
        if (accepted) {
            prop->SetValue(converted);
        }
        const QModelIndex changed = IndexOf(prop, ValueColumn);
        Q_EMIT dataChanged(changed, changed);
    }
    if (accepted) {
        Q_EMIT PropertyAccepted(id);
    }
    return accepted;
}

const EProperty* EPropModel::GetProperty(int ordinal) const {
    return ordinal >= 0 && ordinal < GetCount() ? m_props[static_cast<size_t>(ordinal)].get()
                                                : nullptr;
}

int EPropModel::GetOrdinal(const EProperty* prop) const {
    for (size_t i = 0; i < m_props.size(); ++i) {
        if (m_props[i].get() == prop) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const EProperty* EPropModel::FindById(int id) const {
    for (const auto& prop : m_props) {
        if (prop->GetId() == id && !prop->IsGroup()) {
            return prop.get();
        }
    }
    return nullptr;
}

const EProperty* EPropModel::PropertyAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) {
        return nullptr;
    }
    return static_cast<const EProperty*>(index.internalPointer());
}

QModelIndex EPropModel::IndexOf(const EProperty* prop, int column) const {
    if (prop == nullptr) {
        return {};
    }
    return createIndex(prop->m_row, column, const_cast<EProperty*>(prop));
}

QModelIndex EPropModel::index(int row, int column, const QModelIndex& parent) const {
    if (column < 0 || column > ValueColumn || row < 0) {
        return {};
    }
    const std::vector<EProperty*>* rows = &m_top;
    if (parent.isValid()) {
        const EProperty* group = PropertyAt(parent);
        if (group == nullptr || parent.column() != NameColumn) {
            return {};
        }
        rows = &group->m_children;
    }
    if (row >= static_cast<int>(rows->size())) {
        return {};
    }
    return createIndex(row, column, (*rows)[static_cast<size_t>(row)]);
}

QModelIndex EPropModel::parent(const QModelIndex& child) const {
    const EProperty* prop = PropertyAt(child);
    if (prop == nullptr || prop->m_group == nullptr) {
        return {};
    }
    return IndexOf(prop->m_group, NameColumn);
}

int EPropModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(m_top.size());
    }
    if (parent.column() != NameColumn) {
        return 0;
    }
    const EProperty* prop = PropertyAt(parent);
    return prop ? static_cast<int>(prop->m_children.size()) : 0;
}

int EPropModel::columnCount(const QModelIndex&) const {
    return 2;
}

QVariant EPropModel::data(const QModelIndex& index, int role) const {
    const EProperty* prop = PropertyAt(index);
    if (prop == nullptr) {
        return {};
    }
    const bool value = index.column() == ValueColumn;
    switch (role) {
    case Qt::DisplayRole:
        return value ? prop->GetDisplayText() : prop->GetName();
    case Qt::EditRole:
        return value ? prop->GetValue() : QVariant(prop->GetName());
    case Qt::DecorationRole:
        if (!value && m_host != nullptr && !prop->IsGroup() &&
            !m_host->GetPropertyMark(*prop).isEmpty()) {
            static const QIcon icon =
                QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            return icon;
        }
        return {};
    case Qt::ToolTipRole:
        if (!value && m_host != nullptr && !prop->IsGroup()) {
            if (const QString mark = m_host->GetPropertyMark(*prop); !mark.isEmpty()) {
                return mark;
            }
        }
        // The full value, for values too long for their cell.
        if (value && !prop->GetDisplayText().isEmpty()) {
            return prop->GetDisplayText();
        }
        return prop->GetComment().isEmpty() ? QVariant() : QVariant(prop->GetComment());
    case PropertyRole:
        return QVariant::fromValue(reinterpret_cast<quintptr>(prop));
    default:
        return {};
    }
}

bool EPropModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != ValueColumn) {
        return false;
    }
    return Commit(PropertyAt(index), value);
}

Qt::ItemFlags EPropModel::flags(const QModelIndex& index) const {
    const EProperty* prop = PropertyAt(index);
    if (prop == nullptr) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (prop->IsGroup()) {
        return flags;
    }
    flags |= Qt::ItemNeverHasChildren;
    if (index.column() == ValueColumn && IsEnabled(prop)) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant EPropModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return section == NameColumn ? tr("Property") : tr("Value");
}
