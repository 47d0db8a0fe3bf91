// The replace dialog: a field, the text to find and its replacement, and
// whether letter case counts. OK is offered only for a complete request; the
// document does the replacing.
#pragma once

#include "platform/UserInterface.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class CReplaceDlg : public QDialog {
    Q_OBJECT
public:
    // The field box lists the 38 catalogue fields, then `otherFields` (the
    // fields outside the catalogue that the project's items hold).
    explicit CReplaceDlg(QWidget* parent = nullptr, const QStringList& otherFields = {});

    // The field is invalid while none is selected.
    ReplaceRequest GetRequest() const;
    QComboBox* GetFieldBox() const { return m_field; }
    QLineEdit* GetFindEdit() const { return m_find; }
    QLineEdit* GetReplaceEdit() const { return m_replace; }
    QCheckBox* GetWholeWordBox() const { return m_wholeWord; }
    QCheckBox* GetMatchCaseBox() const { return m_matchCase; }
    QPushButton* GetOkButton() const { return m_ok; }
    QPushButton* GetHelpButton() const { return m_help; }

    void accept() override;

private:
    void UpdateOk();

    QComboBox* m_field;
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QPushButton* m_ok = nullptr;
    QPushButton* m_help = nullptr;
};
