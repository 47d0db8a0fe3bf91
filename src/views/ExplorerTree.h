// The widgets of the project explorer: its tree control, the delegate that
// draws and edits its labels, and its style. They hand what the user does
// to the explorer (CQVNTreeView), which decides.
#pragma once

#include <QPersistentModelIndex>
#include <QProxyStyle>
#include <QStyledItemDelegate>
#include <QTreeView>

#include <string>

class CQVNTreeView;

// Draws the drop target as the selected node while something is dragged
// over the tree or a node's menu is open, and edits labels in a line edit
// that takes at most 15 characters and never writes to the model: the
// explorer decides what becomes of the text.
class CExplorerDelegate : public QStyledItemDelegate {
public:
    explicit CExplorerDelegate(CQVNTreeView* owner);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The label, or the label with the image, of a node in view coordinates.
    QRect LabelRect(const QStyleOptionViewItem& base, const QModelIndex& index,
                    bool withImage) const;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    CQVNTreeView* m_owner;
};

// The tree control: hands keys, right clicks, label edits and drops to the
// explorer. A right click does not move the selection.
class CExplorerTree : public QTreeView {
public:
    CExplorerTree(CQVNTreeView* owner, CExplorerDelegate* delegate);

    QRect LabelRect(const QModelIndex& index, bool withImage) const;
    // The node whose label (and, with `withImage`, image) is at `pos`.
    QModelIndex NodeAt(const QPoint& pos, bool withImage) const;
    bool StartEdit(const QModelIndex& index) { return edit(index, AllEditTriggers, nullptr); }

    // One node is selected at all times: the main view, the status bar and
    // the end of a label edit rely on it. Qt would deselect it when a click
    // beside the nodes is released, or on a Ctrl+click.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    bool IsEditing() const { return state() == EditingState; }

protected:
    // Dotted lines join every node to its parent and its siblings, from the
    // root on; the style draws the expand buttons over them.
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override { UpdateDrag(event); }
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void UpdateDrag(QDragMoveEvent* event);

    CQVNTreeView* m_owner;
    CExplorerDelegate* m_delegate;
    QPersistentModelIndex m_editing;
    std::string m_dragText;
    bool m_dragIsItems = false;
};

// Only a node's image and label show the selection, not the room before it:
// the node dragged over or right-clicked then stands out alone.
class CExplorerStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};
