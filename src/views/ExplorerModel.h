// The project explorer's nodes as a tree model: the project root, the
// "@strings" node, the "BibTeX files" group with one node per file, and the
// "Search results" group with one node per search. A node holds only its kind
// and its label; the explorer finds the project's data again by the label.
// The explorer decides which nodes exist; every change goes through the
// operations below, each inside begin/end of its rows.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class ExplorerNodeKind { Root, Strings, FilesGroup, File, SearchGroup, Search };

class CExplorerModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The node kind as an int, for the views and the tests.
    static constexpr int KindRole = Qt::UserRole + 1;

    explicit CExplorerModel(QObject* parent = nullptr);
    ~CExplorerModel() override;

    // Removes every node.
    void Clear();
    // Inserts a node at `row` of `parent` (-1 appends) and returns it.
    QModelIndex InsertNode(const QModelIndex& parent, int row, ExplorerNodeKind kind,
                           std::string label);
    // Removes a node with everything below it.
    void RemoveNode(const QModelIndex& index);
    void SetLabel(const QModelIndex& index, std::string label);
    // Moves a child of `parent` from row `from` to row `to` (rows as they
    // stand before the move).
    void MoveNode(const QModelIndex& parent, int from, int to);

    static ExplorerNodeKind Kind(const QModelIndex& index);
    static const std::string& Label(const QModelIndex& index);
    // The child of `parent` labelled exactly `label`, or an invalid index.
    QModelIndex FindChild(const QModelIndex& parent, std::string_view label) const;
    // The row at which a file labelled `label` belongs among the children of
    // `parent`, leaving out row `skip`: alphabetical, ignoring case, with the
    // exact bytes deciding between names that differ in case only.
    int SortedRow(const QModelIndex& parent, std::string_view label, int skip = -1) const;
    static bool FileLess(std::string_view a, std::string_view b);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Node {
        ExplorerNodeKind kind;
        std::string label;
        Node* parent;
        std::vector<std::unique_ptr<Node>> children;
    };

    Node* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const Node* node) const;
    static int RowOf(const Node* node);

    // The invisible root above the top-level nodes.
    Node m_top{ExplorerNodeKind::Root, {}, nullptr, {}};
    // One icon per node kind (normal and selected images).
    std::array<QIcon, 6> m_icons;
};
