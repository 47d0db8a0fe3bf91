// The new-project wizard: the project's name, then the BibTeX location and
// the strings file name. It only collects them; the document applies them.
#pragma once

#include "platform/UserInterface.h"

#include <QWizard>

class CNewProjectPage1;
class CNewProjectPage2;

class CNewProjectWizard : public QWizard {
    Q_OBJECT
public:
    enum PageId { NamePage, BibTexPage };

    explicit CNewProjectWizard(IUserInterface& ui, QWidget* parent = nullptr);

    CNewProjectPage1* GetNamePage() const { return m_namePage; }
    CNewProjectPage2* GetBibTexPage() const { return m_bibtexPage; }
    NewProjectValues GetValues() const;

private:
    CNewProjectPage1* m_namePage;
    CNewProjectPage2* m_bibtexPage;
};
