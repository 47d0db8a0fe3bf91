#include "dialogs/NewProjectPage1.h"

#include "dialogs/DialogSupport.h"
#include "platform/UserInterface.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWizard>

CNewProjectPage1::CNewProjectPage1(IUserInterface& ui, QWidget* parent)
    : QWizardPage(parent), m_ui(ui),
      m_name(new QLineEdit(QString::fromLatin1(kDefaultName), this)) {
    setObjectName(QStringLiteral("newProjectPage1"));
    setPixmap(QWizard::WatermarkPixmap, qvn::WizardSidePixmap());
    m_name->setObjectName(QStringLiteral("projectName"));
    auto* text = qvn::CreateWrappedLabel(
        QStringLiteral("This Wizard will guide you through the process of creating a new Quorvane "
                       "project file.\n\nPlease enter a &Name for your new Quorvane Project:"),
        this, m_name);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addWidget(text);
    layout->addWidget(m_name);
    layout->addStretch(1);
}

void CNewProjectPage1::initializePage() {
    m_name->setFocus();
    m_name->selectAll();
}

bool CNewProjectPage1::validatePage() {
    if (!m_name->text().isEmpty()) {
        return true;
    }
    m_ui.MessageBox("Please insert a Name for your project.", {}, MsgIcon::None, MsgButtons::Ok);
    m_name->setFocus();
    return false;
}
