#include "dialogs/PrjSettingsDlg.h"

#include "dialogs/DialogSupport.h"
#include "dialogs/PrjSettingsPP.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CPrjSettingsDlg::CPrjSettingsDlg(CQVNDoc& doc, IUserInterface& ui, QWidget* parent)
    : QDialog(parent), m_page(new CPrjSettingsPP(doc, ui, this)) {
    setObjectName(QStringLiteral("projectSettingsDialog"));
    setWindowTitle(QStringLiteral("Project settings"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/project_settings.svg")));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(m_page, QStringLiteral("Project"));
    QDialogButtonBox* buttons = qvn::CreateButtonBox(this, QDialogButtonBox::Apply);
    m_apply = buttons->button(QDialogButtonBox::Apply);
    m_apply->setEnabled(false);
    connect(m_apply, &QPushButton::clicked, this, &CPrjSettingsDlg::Apply);
    connect(m_page, &CPrjSettingsPP::Changed, this, [this] { m_apply->setEnabled(true); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    setMinimumWidth(520);
    resize(560, sizeHint().height());
    m_page->GetNameEdit()->setFocus();
}

void CPrjSettingsDlg::accept() {
    switch (m_page->OnOK()) {
    case CPrjSettingsPP::OkResult::Applied:
        QDialog::accept();
        break;
    case CPrjSettingsPP::OkResult::Discarded:
        QDialog::reject();
        break;
    case CPrjSettingsPP::OkResult::Stay:
        break;
    }
}

bool CPrjSettingsDlg::Apply() {
    if (m_page->OnOK() != CPrjSettingsPP::OkResult::Applied) {
        return false;
    }
    m_apply->setEnabled(false);
    return true;
}
