#include "widgets/FileEditCtrl.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

CFileEditCtrl::CFileEditCtrl(QWidget* parent)
    : QWidget(parent),
      m_folderOptions(CFolderDialog::ShowEditField | CFolderDialog::FileSystemOnly),
      m_fileOptions(CFECFileDialog::OverwritePrompt | CFECFileDialog::PathMustExist |
                    CFECFileDialog::HideReadOnly),
      m_edit(new QLineEdit(this)), m_button(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    m_button->setText(QStringLiteral("..."));
    m_button->setToolTip(tr("Browse"));
    m_button->setFocusPolicy(Qt::TabFocus);
    // The button is as tall as the box, so the pair reads as one control.
    m_button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setFocusProxy(m_edit);
    setSizePolicy(m_edit->sizePolicy());
    connect(m_edit, &QLineEdit::textChanged, this, &CFileEditCtrl::TextChanged);
    connect(m_button, &QToolButton::clicked, this, &CFileEditCtrl::Browse);
}

void CFileEditCtrl::SetFolderMode(const QString& title, CFolderDialog::Options options) {
    m_mode = Mode::Folder;
    m_title = title;
    m_folderOptions = options;
}

void CFileEditCtrl::SetSaveFileMode(const QString& filter, const QString& defaultExtension,
                                    const QString& title, CFECFileDialog::Options options) {
    m_mode = Mode::SaveFile;
    m_filter = filter;
    m_defaultExtension = defaultExtension;
    m_title = title;
    m_fileOptions = options;
}

QString CFileEditCtrl::GetText() const {
    return m_edit->text();
}

void CFileEditCtrl::SetText(const QString& text) {
    m_edit->setText(text);
}

bool CFileEditCtrl::Browse() {
    const QString previous = m_edit->text();
    QString chosen;
    if (m_mode == Mode::Folder) {
        CFolderDialog dialog(m_title, previous.trimmed(), window(), m_folderOptions);
        if (dialog.Exec() != CFolderDialog::Result::Ok) {
            return false;
        }
        chosen = dialog.GetFolderPath();
    } else {
        CFECFileDialog dialog(CFECFileDialog::Mode::Save, m_filter, m_defaultExtension,
                              previous.trimmed(), window(), m_fileOptions);
        dialog.SetTitle(m_title);
        if (!dialog.Exec()) {
            return false;
        }
        chosen = dialog.GetPath();
    }
    chosen = QDir::toNativeSeparators(chosen);
    m_edit->setText(chosen);
    m_edit->setFocus(Qt::OtherFocusReason);
    Q_EMIT BrowseConfirmed(chosen, previous);
    return true;
}
