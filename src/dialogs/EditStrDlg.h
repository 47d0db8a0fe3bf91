// The string editor: defines a new BibTeX string (abbreviation and full
// string). OK stays disabled until both are given; the document checks and
// stores the string.
#pragma once

#include <QDialog>

class CDialogHeader;
class CQVNDoc;
class QLineEdit;
class QPushButton;

class CEditStrDlg : public QDialog {
    Q_OBJECT
public:
    explicit CEditStrDlg(CQVNDoc& doc, QWidget* parent = nullptr);

    CDialogHeader* GetHeader() const { return m_header; }
    QLineEdit* GetAbbreviationEdit() const { return m_abbreviation; }
    QLineEdit* GetValueEdit() const { return m_value; }
    QPushButton* GetOkButton() const { return m_ok; }
    QPushButton* GetHelpButton() const { return m_help; }

    void accept() override;

private:
    void UpdateOk();

    CQVNDoc& m_doc;
    CDialogHeader* m_header;
    QLineEdit* m_abbreviation;
    QLineEdit* m_value;
    QPushButton* m_ok = nullptr;
    QPushButton* m_help = nullptr;
};
