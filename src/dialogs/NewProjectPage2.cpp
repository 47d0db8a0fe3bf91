#include "dialogs/NewProjectPage2.h"

#include "dialogs/DialogSupport.h"
#include "kit/QtText.h"
#include "model/FileIO.h"
#include "platform/UserInterface.h"
#include "project/ProjectRules.h"
#include "widgets/FileEditCtrl.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWizard>

CNewProjectPage2::CNewProjectPage2(IUserInterface& ui, QWidget* parent)
    : QWizardPage(parent), m_ui(ui), m_location(new CFileEditCtrl(this)),
      m_strings(new QLineEdit(QStringLiteral("strings.bib"), this)) {
    setObjectName(QStringLiteral("newProjectPage2"));
    setTitle(QStringLiteral("BibTeX settings"));
    setSubTitle(
        QStringLiteral("Enter the BibTeX specific settings for the new project file below"));
    setPixmap(QWizard::LogoPixmap, qvn::WizardHeaderPixmap());
    m_location->setObjectName(QStringLiteral("projectLocation"));
    m_location->SetFolderMode(QStringLiteral("Select a folder for the BibTex files:"));
    m_strings->setObjectName(QStringLiteral("stringsFile"));

    auto* locationLabel = qvn::CreateWrappedLabel(
        QStringLiteral("Enter below the default location for the BibTeX files (*.bib) of your new "
                       "Quorvane project. Quorvane uses this path to save the .bib-files of the "
                       "project by default:"),
        this, m_location);
    auto* locationHint = qvn::CreateWrappedLabel(
        QStringLiteral("For example, you can select the path to the documents of a LaTeX project "
                       "using BibTeX entries of this project."),
        this);
    qvn::MakeSecondaryText(locationHint);
    auto* stringsLabel = qvn::CreateWrappedLabel(
        QStringLiteral("Enter a Name for the file which holds the BibTeX strings:"), this,
        m_strings);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->addWidget(locationLabel);
    layout->addWidget(m_location);
    layout->addWidget(locationHint);
    layout->addSpacing(16);
    layout->addWidget(stringsLabel);
    layout->addWidget(m_strings);
    layout->addStretch(1);
}

bool CNewProjectPage2::validatePage() {
    // A folder: a file of that name cannot hold the BibTeX files.
    const std::string location = qvn::FromQString(m_location->GetText());
    if (location.empty() || !qvn::IsDirectory(location)) {
        m_ui.MessageBox("Please insert a valid path.", {}, MsgIcon::Warning, MsgButtons::Ok);
        m_location->setFocus();
        return false;
    }
    if (!IsValidStringsFileName(qvn::FromQString(m_strings->text()))) {
        m_ui.MessageBox(InvalidStringsFileMessage(), {}, MsgIcon::Warning, MsgButtons::Ok);
        m_strings->setFocus();
        return false;
    }
    return true;
}
