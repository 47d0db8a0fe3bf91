// The "Main window" tab of the appearance dialog: which fields the item
// lists show as columns, and in which order. The left list holds the other
// fields in alphabetical order; the right list keeps the order of adding.
#pragma once

#include <QWidget>

class CQVNDoc;
class CQVNSettings;
class QCheckBox;
class QListWidget;
class QPushButton;

class CAppearanceMainViewPP : public QWidget {
    Q_OBJECT
public:
    CAppearanceMainViewPP(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent = nullptr);

    // "-->": the left list's selected name to the end of the right list.
    void Add();
    // "<--": the right list's selected name back into the left list.
    void Remove();
    // "->>": every field, in catalogue order, into the right list.
    void AddAll();
    // "<<-": every field into the left list.
    void RemoveAll();
    // Writes the columns and tells the item lists (UpdateHint::Columns).
    void OnOK();

    QListWidget* GetAvailableList() const { return m_available; }
    QListWidget* GetSelectedList() const { return m_selected; }
    QPushButton* GetAddButton() const { return m_add; }
    QPushButton* GetRemoveButton() const { return m_remove; }
    QPushButton* GetAddAllButton() const { return m_addAll; }
    QPushButton* GetRemoveAllButton() const { return m_removeAll; }
    QCheckBox* GetTexAsTextBox() const { return m_texAsText; }

Q_SIGNALS:
    void Changed();

private:
    void Move(QListWidget* from, QListWidget* to);
    void FillOneSide(QListWidget* target);

    CQVNDoc& m_doc;
    CQVNSettings& m_settings;
    QListWidget* m_available;
    QListWidget* m_selected;
    QPushButton* m_add;
    QPushButton* m_remove;
    QPushButton* m_addAll;
    QPushButton* m_removeAll;
    QCheckBox* m_texAsText;
};
