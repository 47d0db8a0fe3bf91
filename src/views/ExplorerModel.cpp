#include "views/ExplorerModel.h"

#include "kit/QtText.h"
#include "model/TextUtil.h"

#include <QFont>

#include <algorithm>

namespace {

QIcon TreeIcon(const char* normal, const char* selected) {
    QIcon icon;
    const QString base = QStringLiteral(":/icons/tree/%1.svg");
    for (const QSize size : {QSize(16, 16), QSize(32, 32)}) {
        icon.addFile(base.arg(QLatin1String(normal)), size, QIcon::Normal);
        // Without its own selected image a selected node would get a tinted one.
        icon.addFile(base.arg(QLatin1String(selected)), size, QIcon::Selected);
    }
    return icon;
}

const std::string kNoLabel;

} // namespace

CExplorerModel::CExplorerModel(QObject* parent) : QAbstractItemModel(parent) {
    m_icons = {
        TreeIcon("project", "project"),           TreeIcon("strings", "strings"),
        TreeIcon("group_closed", "group_open"),   TreeIcon("file", "file_selected"),
        TreeIcon("search_group", "search_group"), TreeIcon("search", "search"),
    };
}

CExplorerModel::~CExplorerModel() = default;

void CExplorerModel::Clear() {
    beginResetModel();
    m_top.children.clear();
    endResetModel();
}

QModelIndex CExplorerModel::InsertNode(const QModelIndex& parent, int row, ExplorerNodeKind kind,
                                       std::string label) {
    Node* owner = NodeOf(parent);
    const int count = static_cast<int>(owner->children.size());
    if (row < 0 || row > count) {
        row = count;
    }
    beginInsertRows(parent, row, row);
    auto node = std::make_unique<Node>(Node{kind, std::move(label), owner, {}});
    Node* raw = node.get();
    owner->children.insert(owner->children.begin() + row, std::move(node));
    endInsertRows();
    return createIndex(row, 0, raw);
}

void CExplorerModel::RemoveNode(const QModelIndex& index) {
    if (!index.isValid() || index.model() != this) {
        return;
    }
    Node* node = NodeOf(index);
    Node* owner = node->parent;
    const int row = index.row();
    beginRemoveRows(index.parent(), row, row);
    owner->children.erase(owner->children.begin() + row);
    endRemoveRows();
}

void CExplorerModel::SetLabel(const QModelIndex& index, std::string label) {
    if (!index.isValid() || index.model() != this) {
        return;
    }
    Node* node = NodeOf(index);
    if (node->label == label) {
        return;
    }
    node->label = std::move(label);
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole});
}

void CExplorerModel::MoveNode(const QModelIndex& parent, int from, int to) {
    Node* owner = NodeOf(parent);
    const int count = static_cast<int>(owner->children.size());
    if (from == to || from < 0 || to < 0 || from >= count || to >= count) {
        return;
    }
    // Qt counts the destination before the removal of the moved row.
    if (!beginMoveRows(parent, from, from, parent, to > from ? to + 1 : to)) {
        return;
    }
    auto node = std::move(owner->children[static_cast<std::size_t>(from)]);
    owner->children.erase(owner->children.begin() + from);
    owner->children.insert(owner->children.begin() + to, std::move(node));
    endMoveRows();
}

ExplorerNodeKind CExplorerModel::Kind(const QModelIndex& index) {
    return index.isValid() ? static_cast<const Node*>(index.internalPointer())->kind
                           : ExplorerNodeKind::Root;
}

const std::string& CExplorerModel::Label(const QModelIndex& index) {
    return index.isValid() ? static_cast<const Node*>(index.internalPointer())->label : kNoLabel;
}

QModelIndex CExplorerModel::FindChild(const QModelIndex& parent, std::string_view label) const {
    const Node* owner = NodeOf(parent);
    for (std::size_t row = 0; row < owner->children.size(); ++row) {
        if (owner->children[row]->label == label) {
            return createIndex(static_cast<int>(row), 0, owner->children[row].get());
        }
    }
    return {};
}

bool CExplorerModel::FileLess(std::string_view a, std::string_view b) {
    const int order = qvn::CompareNoCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

int CExplorerModel::SortedRow(const QModelIndex& parent, std::string_view label, int skip) const {
    const Node* owner = NodeOf(parent);
    int row = 0;
    for (std::size_t i = 0; i < owner->children.size(); ++i) {
        if (static_cast<int>(i) != skip && FileLess(owner->children[i]->label, label)) {
            ++row;
        }
    }
    return row;
}

CExplorerModel::Node* CExplorerModel::NodeOf(const QModelIndex& index) const {
    if (!index.isValid()) {
        return const_cast<Node*>(&m_top);
    }
    return static_cast<Node*>(index.internalPointer());
}

int CExplorerModel::RowOf(const Node* node) {
    const auto& siblings = node->parent->children;
    const auto it = std::find_if(siblings.begin(), siblings.end(),
                                 [node](const auto& sibling) { return sibling.get() == node; });
    return static_cast<int>(it - siblings.begin());
}

QModelIndex CExplorerModel::IndexOf(const Node* node) const {
    if (node == nullptr || node == &m_top) {
        return {};
    }
    return createIndex(RowOf(node), 0, const_cast<Node*>(node));
}

QModelIndex CExplorerModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    const Node* owner = NodeOf(parent);
    return createIndex(row, column, owner->children[static_cast<std::size_t>(row)].get());
}

QModelIndex CExplorerModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    return IndexOf(NodeOf(child)->parent);
}

int CExplorerModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    return static_cast<int>(NodeOf(parent)->children.size());
}

int CExplorerModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CExplorerModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Node* node = NodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return qvn::ToQString(node->label);
    case Qt::DecorationRole:
        return m_icons[static_cast<std::size_t>(node->kind)];
    case Qt::FontRole:
        if (node->kind == ExplorerNodeKind::Root) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case KindRole:
        return static_cast<int>(node->kind);
    default:
        return {};
    }
}

Qt::ItemFlags CExplorerModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const ExplorerNodeKind kind = NodeOf(index)->kind;
    if (kind == ExplorerNodeKind::File) {
        // Only BibTeX files are renamed in place.
        flags |= Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
    } else if (kind == ExplorerNodeKind::Search) {
        flags |= Qt::ItemNeverHasChildren;
    }
    return flags;
}
