#include "dialogs/PrjSettingsDlg.h"

#include "app/QtText.h"
#include "platform/UserInterface.h"
#include "project/QVNDoc.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

CPrjSettingsDlg::CPrjSettingsDlg(CQVNDoc& doc, IUserInterface& ui, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_ui(ui), m_settings(doc.GetSettings()),
      m_name(new QLineEdit(this)), m_file(new QLineEdit(this)), m_location(new QLineEdit(this)),
      m_strings(new QLineEdit(this)) {
    setObjectName(QStringLiteral("projectSettingsDialog"));
    m_name->setText(qvn::ToQString(m_settings.GetProjectName()));
    const QString path = qvn::ToQString(doc.GetPathName());
    m_file->setText(path);
    m_file->setReadOnly(true);
    QString location = qvn::ToQString(m_settings.GetLocation());
    if (location.isEmpty()) {
        const qsizetype slash =
            std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
        location = slash >= 0 ? path.left(slash) : QString();
    }
    m_location->setText(location);
    m_strings->setText(qvn::ToQString(m_settings.GetStringsFile()));

    auto* page = new QWidget(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Project &name:"), m_name);
    form->addRow(QStringLiteral("Project &file:"), m_file);
    auto* group = new QGroupBox(QStringLiteral(" BibTeX settings "), page);
    auto* groupLayout = new QVBoxLayout(group);
    auto* locationLabel = new QLabel(
        QStringLiteral("&Location (where to store the BibTeX files by default):"), group);
    locationLabel->setBuddy(m_location);
    auto* browse = new QToolButton(group);
    browse->setText(QStringLiteral("..."));
    connect(browse, &QToolButton::clicked, this, [this] { BrowseLocation(); });
    auto* locationRow = new QHBoxLayout;
    locationRow->addWidget(m_location, 1);
    locationRow->addWidget(browse);
    auto* stringsLabel =
        new QLabel(QStringLiteral("&Default filename for the BibTeX strings:"), group);
    stringsLabel->setBuddy(m_strings);
    groupLayout->addWidget(locationLabel);
    groupLayout->addLayout(locationRow);
    groupLayout->addWidget(stringsLabel);
    groupLayout->addWidget(m_strings);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(form);
    pageLayout->addWidget(group);
    pageLayout->addStretch(1);

    auto* tabs = new QTabWidget(this);
    tabs->addTab(page, QStringLiteral("Project"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    resize(520, sizeHint().height());
}

bool CPrjSettingsDlg::BrowseLocation() {
    const auto folder = m_ui.ChooseFolder("Select a folder for the BibTex files:",
                                          qvn::FromQString(m_location->text()));
    if (!folder) {
        return false;
    }
    m_location->setText(qvn::ToQString(*folder));
    return true;
}

void CPrjSettingsDlg::accept() {
    m_settings.SetName(qvn::FromQString(m_name->text()));
    m_settings.SetLocation(qvn::FromQString(m_location->text()));
    m_settings.SetStringsFile(qvn::FromQString(m_strings->text()));
    while (m_location->text().isEmpty() || !QFileInfo::exists(m_location->text())) {
        switch (m_ui.MessageBox(
            "Select a valid location for your BibTex files.\nDo you want to set this path now?",
            "Invalid path", MsgIcon::Question, MsgButtons::YesNoCancel)) {
        case MsgResult::Yes:
            BrowseLocation();
            m_settings.SetLocation(qvn::FromQString(m_location->text()));
            break;
        case MsgResult::No:
            // Closed without applying any of the edits.
            QDialog::reject();
            return;
        default:
            return;
        }
    }
    m_doc.GetSettings().Assign(m_settings);
    m_doc.SetModifiedFlag();
    m_doc.UpdateAllViews(nullptr, UpdateHint::Change);
    QDialog::accept();
}
