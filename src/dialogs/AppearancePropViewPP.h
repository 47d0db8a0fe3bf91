// The "Property window" tab of the appearance dialog: whether the property
// window shows ignored fields at all, and which of them.
#pragma once

#include <QWidget>

class CQVNDoc;
class CQVNSettings;
class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;

class CAppearancePropViewPP : public QWidget {
    Q_OBJECT
public:
    CAppearancePropViewPP(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent = nullptr);

    // "&Reset": the settings as they are, discarding the edits.
    void Reset();
    // Checks or unchecks every field.
    void SetAllChecked(bool checked);
    // Writes the settings and tells the property window (UpdateHint::IgnoredFields).
    void OnOK();

    QCheckBox* GetShowIgnoredBox() const { return m_showIgnored; }
    QTreeWidget* GetFieldList() const { return m_fields; }
    QLabel* GetListCaption() const { return m_caption; }
    QLabel* GetDescription() const { return m_description; }
    QPushButton* GetAllButton() const { return m_all; }
    QPushButton* GetNoneButton() const { return m_none; }
    QPushButton* GetResetButton() const { return m_reset; }

Q_SIGNALS:
    void Changed();

private:
    void UpdateEnabling();
    void Describe(int field);

    CQVNDoc& m_doc;
    CQVNSettings& m_settings;
    QCheckBox* m_showIgnored;
    QLabel* m_caption;
    QTreeWidget* m_fields;
    QLabel* m_description;
    QPushButton* m_all;
    QPushButton* m_none;
    QPushButton* m_reset;
    bool m_filling = false;
};
