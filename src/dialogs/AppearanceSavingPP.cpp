#include "dialogs/AppearanceSavingPP.h"

#include "dialogs/DialogSupport.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

CAppearanceSavingPP::CAppearanceSavingPP(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_settings(settings), m_keepBackup(nullptr) {
    setObjectName(QStringLiteral("savingPage"));
    auto* group = new QGroupBox(QStringLiteral(" Backup "), this);
    m_keepBackup = new QCheckBox(
        QStringLiteral("&Keep the previous project file as a backup on each save."), group);
    m_keepBackup->setObjectName(QStringLiteral("keepBackup"));
    m_keepBackup->setChecked(m_settings.GetKeepBackup());
    auto* note = qvn::CreateWrappedLabel(
        QStringLiteral("The backup of thesis.qvp is thesis.qvp.bak in the same folder: the "
                       "project file as it was before the last save. To go back to it, copy it "
                       "to a name ending in .qvp and open that."),
        group);
    connect(m_keepBackup, &QCheckBox::clicked, this, &CAppearanceSavingPP::Changed);

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_keepBackup);
    groupLayout->addWidget(note);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);
}

void CAppearanceSavingPP::OnOK() {
    m_settings.SetKeepBackup(m_keepBackup->isChecked());
    m_doc.SetKeepBackup(m_settings.GetKeepBackup());
}
