// The in-place editor of one property value: a line edit (or the host's own
// editor for TeX fields, followed by a "..." button) or a drop-down list.
#pragma once

#include "widgets/Property.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QToolButton;

class EPropWnd : public QWidget {
    Q_OBJECT
public:
    // `editor` is a QLineEdit for text and TeX fields, null for a choice
    // (a drop-down list is made). The window takes ownership.
    EPropWnd(const EProperty& prop, QLineEdit* editor, QWidget* parent);

    EProperty::Kind GetKind() const { return m_kind; }
    // Which property it edits: its position in the host's list, and the
    // model generation it belongs to (a repopulated grid has a new one).
    int GetOrdinal() const { return m_ordinal; }
    quint64 GetGeneration() const { return m_generation; }
    void SetOrigin(int ordinal, quint64 generation) {
        m_ordinal = ordinal;
        m_generation = generation;
    }

    // Set once the view takes the editor down: the focus it loses then is no
    // reason to commit.
    void SetClosing() { m_closing = true; }
    bool IsClosing() const { return m_closing; }

    // The widget that has the keyboard focus while editing.
    QWidget* GetEditor() const;
    QLineEdit* GetLineEdit() const { return m_lineEdit; }
    QComboBox* GetComboBox() const { return m_comboBox; }
    QToolButton* GetButton() const { return m_button; }

    // A QString, or an int for a choice.
    QVariant GetValue() const;
    void SetValue(const QVariant& value);

    // Opens the drop-down list of a choice.
    void ShowPopup();

Q_SIGNALS:
    // The "..." button of a TeX field was pressed.
    void ButtonClicked();
    // An entry was picked from the opened drop-down list.
    void ChoicePicked();

private:
    EProperty::Kind m_kind;
    int m_ordinal = -1;
    quint64 m_generation = 0;
    bool m_closing = false;
    QLineEdit* m_lineEdit = nullptr;
    QComboBox* m_comboBox = nullptr;
    QToolButton* m_button = nullptr;
};
