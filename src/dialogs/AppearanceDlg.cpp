#include "dialogs/AppearanceDlg.h"

#include "dialogs/AppearanceMainViewPP.h"
#include "dialogs/AppearancePropViewPP.h"
#include "dialogs/AppearanceSavingPP.h"
#include "dialogs/DialogSupport.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CAppearanceDlg::CAppearanceDlg(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent)
    : QDialog(parent), m_mainView(new CAppearanceMainViewPP(doc, settings, this)),
      m_propView(new CAppearancePropViewPP(doc, settings, this)),
      m_saving(new CAppearanceSavingPP(doc, settings, this)), m_tabs(new QTabWidget(this)) {
    setObjectName(QStringLiteral("appearanceDialog"));
    setWindowTitle(QStringLiteral("Appearance"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/appearance.svg")));
    m_tabs->addTab(m_mainView, QIcon(QStringLiteral(":/icons/view_details.svg")),
                   QStringLiteral("Main window"));
    m_tabs->addTab(m_propView, QIcon(QStringLiteral(":/icons/properties.svg")),
                   QStringLiteral("Property window"));
    m_tabs->addTab(m_saving, QIcon(QStringLiteral(":/icons/save.svg")), QStringLiteral("Saving"));
    QDialogButtonBox* buttons = qvn::CreateButtonBox(this, QDialogButtonBox::Apply);
    m_apply = buttons->button(QDialogButtonBox::Apply);
    m_apply->setEnabled(false);
    connect(m_apply, &QPushButton::clicked, this, &CAppearanceDlg::Apply);
    const auto changed = [this] { m_apply->setEnabled(true); };
    connect(m_mainView, &CAppearanceMainViewPP::Changed, this, changed);
    connect(m_propView, &CAppearancePropViewPP::Changed, this, changed);
    connect(m_saving, &CAppearanceSavingPP::Changed, this, changed);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buttons);
    setMinimumSize(520, 500);
    resize(580, 560);
}

void CAppearanceDlg::Apply() {
    m_mainView->OnOK();
    m_propView->OnOK();
    m_saving->OnOK();
    m_apply->setEnabled(false);
}

void CAppearanceDlg::accept() {
    Apply();
    QDialog::accept();
}
