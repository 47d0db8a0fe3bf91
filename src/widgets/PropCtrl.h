// The property grid control: the list of properties over a comment pane that
// shows the help line of the selected one.
#pragma once

#include "widgets/PropDelegate.h"

#include <QVariant>
#include <QWidget>

class ECommentPane;
class EPropHost;
class EPropListCtrl;
class EProperty;
class QSplitter;

class EPropCtrl : public QWidget {
    Q_OBJECT
public:
    using TexEditorFactory = EPropDelegate::TexEditorFactory;

    explicit EPropCtrl(QWidget* parent = nullptr);

    // Shows the properties `host` populates; null clears the grid, which then
    // shows the empty text. Setting the same host again repopulates. The grid
    // does not own the host, which must stay alive while it is set. An open
    // edit is dropped (its host may be showing a deleted object); call
    // EndEdit(true) first to keep it.
    void SetHost(EPropHost* host);
    EPropHost* GetHost() const;

    // Re-reads which properties are enabled and repaints.
    void Refresh();

    void ShowCommentPane(bool show);
    bool IsCommentPaneVisible() const;

    // Shown in place of the rows while there are none; the default is
    // "No properties available.".
    void SetEmptyText(const QString& text);
    QString GetEmptyText() const;

    // Makes the in-place editor of TeX field properties (default: QLineEdit).
    void SetTexEditorFactory(TexEditorFactory factory);

    // Commits `value` for the property tagged `id` as if the user had typed
    // it: the host decides, and an accepted change is announced. False when
    // refused or when no such property is shown.
    bool CommitValue(int id, const QVariant& value);

    const EProperty* FindProperty(int id) const;
    // Properties in the order the host added them, group headers included.
    int GetPropertyCount() const;
    const EProperty* GetProperty(int ordinal) const;
    const EProperty* GetSelectedProperty() const;
    void SelectProperty(const EProperty* prop);

    bool StartEdit(const EProperty* prop = nullptr);
    bool IsEditing() const;
    void EndEdit(bool commit);

    EPropListCtrl* GetListCtrl() const { return m_list; }
    ECommentPane* GetCommentPane() const { return m_commentPane; }

Q_SIGNALS:
    // After the host accepted a new value for the property tagged `id`.
    void PropertyChanged(int id);
    void SelectionChanged(const EProperty* prop);

private:
    void UpdateComment(const EProperty* prop);

    QSplitter* m_splitter;
    EPropListCtrl* m_list;
    ECommentPane* m_commentPane;
};
