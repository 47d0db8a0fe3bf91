// The project explorer: the open project as a tree in the "Project-Explorer"
// pane. Selecting a node decides which list fills the main window; the tree
// creates, renames, saves and removes BibTeX files, deletes searches, and
// takes BibTeX items dropped on a file node. It keeps no project data: each
// node is found again by its label in the document.
#pragma once

#include "views/ExplorerModel.h"
#include "views/QVNView.h"

#include <QPersistentModelIndex>

#include <string>

class CExplorerDelegate;
class QMenu;
class QMimeData;
class QTreeView;

class CQVNTreeView : public CQVNView {
    Q_OBJECT
public:
    static constexpr int kIndent = 20;
    static constexpr int kItemHeight = 18;
    static constexpr int kMaxLabelLength = 15;

    CQVNTreeView(CQVNDoc& doc, IViewHost& host, QWidget* parent = nullptr);
    ~CQVNTreeView() override;

    // Removes every node and builds the tree from the document again.
    void OnInitialUpdate() override;
    void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) override;
    // Removes the nodes of files the project no longer has (all but a new
    // node still being named): for undo and redo, which rename and remove
    // files without the tree.
    void DropNodesOfGoneFiles();

    bool OnCommand(int id) override;
    bool UpdateCommand(int id, CommandState& state) override;
    std::optional<std::string> GetLocationText() const override;
    std::optional<std::string> GetCountText() const override;
    QString HelpTopic() const override;

    QTreeView* GetTree() const { return m_tree; }
    CExplorerModel* GetModel() const { return m_model; }
    QModelIndex GetRootNode() const { return m_root; }
    QModelIndex GetStringsNode() const { return m_strings; }
    QModelIndex GetFilesNode() const { return m_files; }
    QModelIndex GetSearchGroupNode() const { return m_searchGroup; }
    QModelIndex GetFileNode(const std::string& name) const;
    QModelIndex GetSelectedNode() const;
    // The node a command applies to: the one right-clicked last, else the
    // selected node (which then stays the command node until the selection
    // changes).
    QModelIndex GetCommandNode();
    void SetCommandNode(const QModelIndex& node) { m_commandNode = node; }
    void SelectNode(const QModelIndex& node);
    // The node that is drawn as the drop target.
    QModelIndex GetDropHighlight() const { return m_dropHighlight; }

    // The context menu of a node (null for the search group), its entries
    // sent to the main window; the caller owns it.
    QMenu* CreateContextMenu(const QModelIndex& node);
    // A right click at a point of the tree's viewport: the node whose label
    // is there becomes the command node and its menu is shown.
    void ShowContextMenuAt(const QPoint& viewportPos, const QPoint& globalPos);

    // Whether the text dragged over `node` may be dropped there.
    bool CanDrop(const QModelIndex& node, const std::string& text) const;
    // Drops BibTeX item text on a file node. Items dragged out of this
    // program's own lists are moved there, or copied when they come from
    // search results; text from elsewhere is always copied. False when
    // nothing was dropped.
    bool DropItems(const QModelIndex& target, const std::string& text, bool fromOwnList);

    // Starts editing a file node's label (F2); false for other nodes.
    bool EditLabel(const QModelIndex& node);
    // The end of a label edit: `text` is what the edit box held, `cancelled`
    // tells Escape apart from Enter and the loss of focus.
    void OnEndLabelEdit(const QModelIndex& node, const std::string& text, bool cancelled);
    // Called by the tree control as an edit ends, before its text is handled.
    void NoteEditEnded();

    // Hooks of the hosted tree control.
    void OnTreeKey(int key);
    // A key of a command (cut, copy, paste): the command through the routing.
    void OnTreeCommandKey(int id);
    void OnDragOver(const QModelIndex& node);
    void OnDragLeave();
    // The text the next edit box starts with, instead of the label.
    const QString& GetPendingEditText() const { return m_pendingEditText; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Rebuild(UpdateHint hint, const HintObject& object);
    void OnCurrentChanged(const QModelIndex& current);
    void OnSelectionChanged(const QModelIndex& node);
    void RemoveNodeKeepingSelection(const QModelIndex& node);
    void SortFileNode(const QModelIndex& node);
    void Route(int id);

    void OnNewItem();
    void OnSaveFileAs();
    void OnSaveSelection();
    void OnRemoveFile();
    void OnDeleteSearch();
    void OnNewFile();
    void OnRename();
    void OnSortMainList(int id);
    // A node made by "new file" gets its file when its edit ends without a
    // rename.
    void FinishNewNode(const QModelIndex& node);

    CExplorerModel* m_model;
    QTreeView* m_tree;
    CExplorerDelegate* m_delegate;

    QPersistentModelIndex m_root;
    QPersistentModelIndex m_strings;
    QPersistentModelIndex m_files;
    QPersistentModelIndex m_searchGroup;
    QPersistentModelIndex m_commandNode;
    QPersistentModelIndex m_dropHighlight;
    // The node made by "new file" whose first edit has not ended yet.
    QPersistentModelIndex m_newNode;
    // The selection when the last edit ended: a click elsewhere that ended
    // the edit keeps its selection.
    QPersistentModelIndex m_selectedAtEditEnd;
    QString m_pendingEditText;
    // Selection changes during a rebuild are handled once, at its end.
    bool m_rebuilding = false;
    bool m_shown = false;
};
