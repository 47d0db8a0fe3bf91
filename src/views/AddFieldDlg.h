// Adds a field to one BibTeX item: its name (a catalogue name fills that
// field, any other name BibTeX can read becomes a field outside the
// catalogue) and its value, typed in a TeX edit box. The document checks the
// name; a refused name is told and the dialog stays open.
#pragma once

#include <QDialog>

class CBibTexEntry;
class CQVNDoc;
class QLineEdit;
class QPushButton;

class CAddFieldDlg : public QDialog {
    Q_OBJECT
public:
    CAddFieldDlg(CQVNDoc& doc, CBibTexEntry& item, QWidget* parent = nullptr);

    QLineEdit* GetNameEdit() const { return m_name; }
    QLineEdit* GetValueEdit() const { return m_value; }
    QPushButton* GetOkButton() const { return m_ok; }
    // The name of the field added (after OK).
    QString GetFieldName() const;

    void accept() override;

private:
    CQVNDoc& m_doc;
    CBibTexEntry& m_item;
    QLineEdit* m_name;
    QLineEdit* m_value;
    QPushButton* m_ok = nullptr;
};
