#include "dialogs/NewProjectValuesDlg.h"

#include "app/QtText.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

CNewProjectValuesDlg::CNewProjectValuesDlg(IUserInterface& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_name(new QLineEdit(QString::fromLatin1(kDefaultName), this)),
      m_location(new QLineEdit(this)),
      m_strings(new QLineEdit(QStringLiteral("strings.bib"), this)) {
    setObjectName(QStringLiteral("newProjectDialog"));
    setWindowTitle(QStringLiteral("New Project"));
    m_name->setObjectName(QStringLiteral("projectName"));
    m_location->setObjectName(QStringLiteral("projectLocation"));
    m_strings->setObjectName(QStringLiteral("stringsFile"));

    auto* intro = new QLabel(
        QStringLiteral("This Wizard will guide you through the process of creating a new "
                       "Quorvane project file."),
        this);
    intro->setWordWrap(true);

    auto* browse = new QToolButton(this);
    browse->setText(QStringLiteral("..."));
    browse->setToolTip(QStringLiteral("Choose a folder"));
    connect(browse, &QToolButton::clicked, this, [this] {
        if (const auto folder = m_ui.ChooseFolder("Select a folder for the BibTex files:",
                                                  qvn::FromQString(m_location->text()))) {
            m_location->setText(qvn::ToQString(*folder));
        }
    });
    auto* locationRow = new QHBoxLayout;
    locationRow->addWidget(m_location, 1);
    locationRow->addWidget(browse);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name:"), m_name);
    auto* locationLabel = new QLabel(
        QStringLiteral("Default &location for the BibTeX files (*.bib) of the project:"), this);
    locationLabel->setBuddy(m_location);
    form->addRow(locationLabel);
    form->addRow(locationRow);
    form->addRow(QStringLiteral("&Strings file:"), m_strings);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(8);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons);
    resize(520, sizeHint().height());

    m_name->selectAll();
    m_name->setFocus();
}

NewProjectValues CNewProjectValuesDlg::GetValues() const {
    return {qvn::FromQString(m_name->text()), qvn::FromQString(m_location->text()),
            qvn::FromQString(m_strings->text())};
}

bool CNewProjectValuesDlg::IsValidStringsFileName(const std::string& name) {
    return name.size() >= 5 && qvn::ToLowerAscii(name.substr(name.size() - 4)) == ".bib" &&
           !qvn::ContainsAnyOf(name, kForbiddenFileNameChars);
}

std::string CNewProjectValuesDlg::InvalidStringsFileMessage() {
    return "Insert a valid name (ending with '.bib') for the\nfile holding your BibTeX strings. "
           "Please do not use\none of the following characters inthe file name: \n" +
           std::string(kForbiddenFileNameChars);
}

bool CNewProjectValuesDlg::Validate() {
    if (m_name->text().isEmpty()) {
        m_ui.MessageBox("Please insert a Name for your project.", {}, MsgIcon::None,
                        MsgButtons::Ok);
        m_name->setFocus();
        return false;
    }
    const QString location = m_location->text();
    if (location.isEmpty() || !QFileInfo::exists(location)) {
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

void CNewProjectValuesDlg::accept() {
    if (Validate()) {
        QDialog::accept();
    }
}
