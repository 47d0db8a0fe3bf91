#include "dialogs/PrjSettingsPP.h"

#include "dialogs/DialogSupport.h"
#include "kit/QtText.h"
#include "model/FileIO.h"
#include "platform/UserInterface.h"
#include "project/ProjectRules.h"
#include "project/QVNDoc.h"
#include "widgets/FECFileDialog.h"
#include "widgets/FileEditCtrl.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The folder part of a project file path (empty when it has none).
QString FolderOf(const QString& path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return slash >= 0 ? path.left(slash) : QString();
}

} // namespace

CPrjSettingsPP::CPrjSettingsPP(CQVNDoc& doc, IUserInterface& ui, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_ui(ui), m_settings(doc.GetSettings()),
      m_name(new QLineEdit(this)), m_file(new QLineEdit(this)), m_location(new CFileEditCtrl(this)),
      m_strings(new CFileEditCtrl(this)) {
    setObjectName(QStringLiteral("projectPage"));
    m_name->setObjectName(QStringLiteral("projectName"));
    m_file->setObjectName(QStringLiteral("projectFile"));
    m_location->setObjectName(QStringLiteral("projectLocation"));
    m_strings->setObjectName(QStringLiteral("stringsFile"));

    m_name->setText(qvn::ToQString(m_settings.GetProjectName()));
    const QString path = qvn::ToQString(doc.GetPathName());
    m_file->setText(path);
    m_file->setReadOnly(true);
    m_file->setCursorPosition(0);
    QString location = qvn::ToQString(m_settings.GetLocation());
    if (location.isEmpty()) {
        location = FolderOf(path);
    }
    m_location->SetText(location);
    m_location->SetFolderMode(QStringLiteral("Select a folder for the BibTex files:"),
                              CFolderDialog::ShowEditField | CFolderDialog::FileSystemOnly |
                                  CFolderDialog::StatusText | CFolderDialog::NewDialogStyle);
    m_strings->SetText(qvn::ToQString(m_settings.GetStringsFile()));
    // The strings file's chooser starts in the BibTeX location and keeps the
    // file's name only; it replaces the box's own browse.
    disconnect(m_strings->GetButton(), &QToolButton::clicked, m_strings, &CFileEditCtrl::Browse);
    connect(m_strings->GetButton(), &QToolButton::clicked, this,
            &CPrjSettingsPP::BrowseStringsFile);

    connect(m_name, &QLineEdit::textEdited, this, &CPrjSettingsPP::Changed);
    connect(m_location, &CFileEditCtrl::TextChanged, this, &CPrjSettingsPP::Changed);
    connect(m_strings, &CFileEditCtrl::TextChanged, this, &CPrjSettingsPP::Changed);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(qvn::CreateWrappedLabel(QStringLiteral("Project &name:"), this, m_name), m_name);
    form->addRow(qvn::CreateWrappedLabel(QStringLiteral("Project &file:"), this, m_file), m_file);

    auto* group = new QGroupBox(QStringLiteral(" BibTeX settings "), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setSpacing(6);
    groupLayout->addWidget(qvn::CreateWrappedLabel(
        QStringLiteral("&Location (where to store the BibTeX files by default):"), group,
        m_location));
    groupLayout->addWidget(m_location);
    groupLayout->addSpacing(8);
    groupLayout->addWidget(qvn::CreateWrappedLabel(
        QStringLiteral("&Default filename for the BibTeX strings:"), group, m_strings));
    groupLayout->addWidget(m_strings);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addLayout(form);
    layout->addWidget(group);
    layout->addStretch(1);
    setTabOrder(m_name, m_file);
    setTabOrder(m_file, m_location);
    setTabOrder(m_location, m_location->GetButton());
    setTabOrder(m_location->GetButton(), m_strings);
    setTabOrder(m_strings, m_strings->GetButton());
}

bool CPrjSettingsPP::BrowseLocation() {
    return m_location->Browse();
}

void CPrjSettingsPP::BrowseStringsFile() {
    const QString previous = m_strings->GetText();
    QString start = previous;
    const QString location = m_location->GetText();
    if (!location.isEmpty() && QFileInfo(location).isDir()) {
        start = QDir(location).filePath(previous);
    }
    CFECFileDialog dialog(CFECFileDialog::Mode::Save,
                          QStringLiteral("BibTeX files (*.bib)|*.bib||"), QStringLiteral(".bib"),
                          start, window(),
                          CFECFileDialog::OverwritePrompt | CFECFileDialog::PathMustExist |
                              CFECFileDialog::HideReadOnly);
    if (!dialog.Exec()) {
        return;
    }
    const QString name = QFileInfo(dialog.GetPath()).fileName();
    if (!IsValidStringsFileName(qvn::FromQString(name))) {
        m_ui.MessageBox(InvalidStringsFileMessage(), {}, MsgIcon::Warning, MsgButtons::Ok);
        m_strings->SetText(previous);
        return;
    }
    m_strings->SetText(name);
}

CPrjSettingsPP::OkResult CPrjSettingsPP::OnOK() {
    m_settings.SetName(qvn::FromQString(m_name->text()));
    m_settings.SetLocation(qvn::FromQString(m_location->GetText()));
    m_settings.SetStringsFile(qvn::FromQString(m_strings->GetText()));
    // The rule of the new-project wizard: the export writes the strings file
    // under this name, so a folder part or another extension is refused.
    if (!IsValidStringsFileName(m_settings.GetStringsFile())) {
        m_ui.MessageBox(InvalidStringsFileMessage(), {}, MsgIcon::Warning, MsgButtons::Ok);
        m_strings->setFocus();
        return OkResult::Stay;
    }
    // A folder: a file of that name cannot hold the BibTeX files.
    while (!qvn::IsDirectory(m_settings.GetLocation())) {
        switch (m_ui.MessageBox(
            "Select a valid location for your BibTex files.\nDo you want to set this path now?",
            "Invalid path", MsgIcon::Question, MsgButtons::YesNoCancel)) {
        case MsgResult::Yes:
            BrowseLocation();
            m_settings.SetLocation(qvn::FromQString(m_location->GetText()));
            break;
        case MsgResult::No:
            return OkResult::Discarded;
        default:
            m_location->setFocus();
            return OkResult::Stay;
        }
    }
    m_doc.GetSettings().Assign(m_settings);
    m_doc.SetModifiedFlag();
    m_doc.UpdateAllViews(nullptr, UpdateHint::Change);
    return OkResult::Applied;
}
