// The string editor: defines a new BibTeX string (abbreviation and full
// string) and stores it in the project on OK.
#pragma once

#include <QDialog>

class CQVNDoc;
class IUserInterface;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CEditStrDlg : public QDialog {
    Q_OBJECT
public:
    CEditStrDlg(CQVNDoc& doc, IUserInterface& ui, QWidget* parent = nullptr);

    QLineEdit* GetAbbreviationEdit() const { return m_abbreviation; }
    QPlainTextEdit* GetValueEdit() const { return m_value; }
    QPushButton* GetOkButton() const { return m_ok; }
    void accept() override;

private:
    void UpdateOk();

    CQVNDoc& m_doc;
    IUserInterface& m_ui;
    QLineEdit* m_abbreviation;
    QPlainTextEdit* m_value;
    QPushButton* m_ok;
};
