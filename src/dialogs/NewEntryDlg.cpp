#include "dialogs/NewEntryDlg.h"

#include "dialogs/DialogSupport.h"
#include "dialogs/NewEntryPage1.h"
#include "dialogs/NewEntryPage2.h"
#include "model/BibTexEntry.h"
#include "platform/UserInterface.h"
#include "project/QVNDoc.h"

#include <QIcon>

#include <memory>

CNewEntryDlg::CNewEntryDlg(CQVNDoc& doc, IUserInterface& ui, const std::string& preselectedFile,
                           QWidget* parent)
    : QWizard(parent), m_doc(doc), m_ui(ui),
      m_first(new CNewEntryPage1(doc, ui, preselectedFile, this)),
      m_requiredPage(new CNewEntryPage2(*m_first, true, ui, this)),
      m_optionalPage(new CNewEntryPage2(*m_first, false, ui, this)) {
    setObjectName(QStringLiteral("newEntryWizard"));
    setWindowTitle(QStringLiteral("BibTeX Wizard"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/new_item.svg")));
    // The same look on every desktop: side picture first, headers after.
    setWizardStyle(QWizard::ModernStyle);
    setOption(QWizard::NoBackButtonOnStartPage);
    setPage(KeyPage, m_first);
    setPage(RequiredPage, m_requiredPage);
    setPage(OptionalPage, m_optionalPage);
    setStartId(KeyPage);
    qvn::StartWizard(this, 620);
}

void CNewEntryDlg::accept() {
    // Finish passes the page's own checks first, as Next does.
    if (!validateCurrentPage()) {
        return;
    }
    const int type = m_first->GetEntryType();
    auto item = std::make_unique<CBibTexEntry>(m_first->GetFileName(), m_first->GetKey(), type);
    for (const CNewEntryPage2* page : {m_requiredPage, m_optionalPage}) {
        for (const auto& [field, text] : page->GetValues()) {
            item->SetField(field, text, false);
        }
    }
    // The first page has ruled out what the project refuses; should it refuse
    // anyway, the typed values stay in the open wizard.
    if (!m_doc.AddItem(std::move(item))) {
        m_ui.MessageBox("The new BibTeX item could not be added to the project.", {},
                        MsgIcon::Error, MsgButtons::Ok);
        return;
    }
    QDialog::accept();
}
