// Paints the grid's cells (group captions with their arrow, the "..." button
// of the selected TeX field) and runs the in-place editors: Enter commits,
// Escape cancels, Tab and Shift+Tab commit and move on, losing the focus
// commits.
#pragma once

#include "widgets/PropWnd.h"

#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

class EPropListCtrl;
class EPropModel;
class EProperty;
class QLineEdit;

class EPropDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Makes the editor of a TeX field; the grid owns what it returns.
    using TexEditorFactory = std::function<QLineEdit*(QWidget* parent, const EProperty& prop)>;

    EPropDelegate(EPropListCtrl* view, EPropModel* model);

    void SetTexEditorFactory(TexEditorFactory factory) { m_texEditorFactory = std::move(factory); }

    // The open editor, if any.
    EPropWnd* GetEditor() const { return m_editor; }

    int GetRowHeight() const;
    // Where the "..." button of a TeX field is drawn inside a value cell.
    QRect ButtonRect(const QRect& cell) const;
    bool ShowsButton(const QModelIndex& index, const QStyleOptionViewItem& option) const;

    // Ends the edit in `wnd`: commits it first when `commit`, then closes it
    // with `hint` (the view moves on to the next value for EditNextItem).
    void FinishEdit(EPropWnd* wnd, bool commit, EndEditHint hint);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void PaintGroup(QPainter* painter, const QStyleOptionViewItem& option,
                    const QModelIndex& index) const;
    void PaintButton(QPainter* painter, const QStyleOptionViewItem& option) const;
    bool HandleKey(EPropWnd* wnd, QKeyEvent* event);
    bool HandleFocusOut(EPropWnd* wnd, QFocusEvent* event);

    EPropListCtrl* m_view;
    EPropModel* m_model;
    TexEditorFactory m_texEditorFactory;
    mutable QPointer<EPropWnd> m_editor;
};
