// The grid itself: a two-column tree (name, value) of group headers and
// properties, with a draggable boundary between the columns, keyboard and
// mouse editing, and a text shown while it has no rows.
#pragma once

#include "widgets/PropDelegate.h"

#include <QPersistentModelIndex>
#include <QSet>
#include <QTreeView>

class EPropHost;
class EPropModel;
class EPropWnd;
class EProperty;

class EPropListCtrl : public QTreeView {
    Q_OBJECT
public:
    explicit EPropListCtrl(QWidget* parent = nullptr);
    ~EPropListCtrl() override;

    EPropModel* GetModel() const { return m_model; }
    EPropDelegate* GetDelegate() const { return m_delegate; }

    // Repopulates from `host` (clears for null). Collapsed groups stay
    // collapsed, and the property with the same tag stays selected.
    void SetHost(EPropHost* host);
    EPropHost* GetHost() const;

    const QString& GetEmptyText() const { return m_emptyText; }
    void SetEmptyText(const QString& text);

    const EProperty* GetCurrentProperty() const;
    // Selects the row of `prop` (null clears the selection).
    void SelectProperty(const EProperty* prop);

    // Opens the in-place editor of `prop` (the current property when null).
    // False when it is a group header or cannot be edited.
    bool StartEdit(const EProperty* prop = nullptr, bool openList = false);
    bool IsEditing() const;
    // Ends the open edit, committing or dropping what was typed.
    void EndEdit(bool commit);

    // The "..." button of a TeX field: asks the host to act on it.
    void PressTexButton(const EProperty* prop);
    // The "..." button of the open editor: commits the typed text first.
    void OnEditorButton(EPropWnd* wnd);
    // Moves the selection by `step` visible rows.
    void MoveCurrentRow(int step);

    // x of the boundary between the name and the value column (viewport).
    int GetSplitterPos() const;
    void SetSplitterPos(int x);

Q_SIGNALS:
    void CurrentPropertyChanged(const EProperty* prop);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

protected Q_SLOTS:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    const EProperty* PropertyAt(const QModelIndex& index) const;
    // The next (or previous) visible property whose value can be edited.
    QModelIndex FindEditable(const QModelIndex& from, bool forward) const;
    bool NearSplitter(const QPoint& pos) const;
    void FitNameColumn();
    void ApplyGroupLayout(const QSet<QString>& collapsed);
    QColor GroupColor() const;
    QColor GridColor() const;

    EPropModel* m_model;
    EPropDelegate* m_delegate;
    QString m_emptyText;
    bool m_userSizedColumns = false;
    bool m_draggingSplitter = false;
    int m_dragOffset = 0;
    QPersistentModelIndex m_pressIndex;
    int m_pressedButtonOrdinal = -1;
    // Set while committing the open editor, for what closeEditor() does next.
    int m_committedOrdinal = -1;
    bool m_editorHadFocus = false;
};
