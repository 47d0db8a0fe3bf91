// Second page of the new-project wizard: the folder of the project's BibTeX
// files and the name of its strings file. Finish checks both.
#pragma once

#include <QWizardPage>

class CFileEditCtrl;
class IUserInterface;
class QLineEdit;

class CNewProjectPage2 : public QWizardPage {
    Q_OBJECT
public:
    explicit CNewProjectPage2(IUserInterface& ui, QWidget* parent = nullptr);

    CFileEditCtrl* GetLocationEdit() const { return m_location; }
    QLineEdit* GetStringsEdit() const { return m_strings; }

    // An existing folder, then a valid strings file name.
    bool validatePage() override;
    // Going back keeps what was typed.
    void cleanupPage() override {}

private:
    IUserInterface& m_ui;
    CFileEditCtrl* m_location;
    QLineEdit* m_strings;
};
