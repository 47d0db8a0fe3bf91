#include "dialogs/NewProjectWizard.h"

#include "dialogs/DialogSupport.h"
#include "dialogs/NewProjectPage1.h"
#include "dialogs/NewProjectPage2.h"
#include "kit/QtText.h"
#include "widgets/FileEditCtrl.h"

#include <QIcon>
#include <QLineEdit>

CNewProjectWizard::CNewProjectWizard(IUserInterface& ui, QWidget* parent)
    : QWizard(parent), m_namePage(new CNewProjectPage1(ui, this)),
      m_bibtexPage(new CNewProjectPage2(ui, this)) {
    setObjectName(QStringLiteral("newProjectWizard"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/new_project.svg")));
    setWizardStyle(QWizard::ModernStyle);
    setOption(QWizard::NoBackButtonOnStartPage);
    setPage(NamePage, m_namePage);
    setPage(BibTexPage, m_bibtexPage);
    setStartId(NamePage);
    // The caption counts the pages.
    const auto caption = [this](int id) {
        setWindowTitle(id == BibTexPage ? QStringLiteral("Project Wizard (2/2)")
                                        : QStringLiteral("Project Wizard (1/2)"));
    };
    connect(this, &QWizard::currentIdChanged, this, caption);
    caption(NamePage);
    qvn::StartWizard(this, 620);
}

NewProjectValues CNewProjectWizard::GetValues() const {
    return {qvn::FromQString(m_namePage->GetNameEdit()->text()),
            qvn::FromQString(m_bibtexPage->GetLocationEdit()->GetText()),
            qvn::FromQString(m_bibtexPage->GetStringsEdit()->text())};
}
