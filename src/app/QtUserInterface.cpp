#include "app/QtUserInterface.h"

#include "app/RecentFileList.h"
#include "dialogs/AppearanceDlg.h"
#include "dialogs/EditStrDlg.h"
#include "dialogs/MultiExportDlg.h"
#include "dialogs/NewEntryDlg.h"
#include "dialogs/NewProjectWizard.h"
#include "dialogs/PrjSettingsDlg.h"
#include "dialogs/ReplaceDlg.h"
#include "dialogs/SingleExportDlg.h"
#include "kit/QtText.h"
#include "project/QVNDoc.h"
#include "widgets/FileFilters.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace {

CQtUserInterface::Hooks& TheHooks() {
    static CQtUserInterface::Hooks hooks;
    return hooks;
}

QString Caption(const std::string& caption) {
    return caption.empty() ? QString::fromLatin1(CQVNDoc::kAppTitle) : qvn::ToQString(caption);
}

// The folder and name a dialog starts with: a path, a name, or a pattern
// such as "*.bib" (which only fixes the filter).
void ApplyInitialName(QFileDialog& dialog, const std::string& initialName) {
    if (initialName.empty()) {
        return;
    }
    const QString initial = qvn::ToQString(initialName);
    const QFileInfo info(initial);
    if (info.isAbsolute() && info.dir().exists()) {
        dialog.setDirectory(info.absolutePath());
    }
    if (!info.fileName().contains(QLatin1Char('*')) &&
        !info.fileName().contains(QLatin1Char('?'))) {
        dialog.selectFile(info.fileName());
    }
}

// Buttons of the questions with texts of their own carry their answer.
constexpr const char* kResultProperty = "qvnResult";

QPushButton* AddButton(QMessageBox& box, const char* text, QMessageBox::ButtonRole role,
                       MsgResult result) {
    QPushButton* button = box.addButton(QString::fromLatin1(text), role);
    button->setProperty(kResultProperty, static_cast<int>(result));
    return button;
}

void SetupFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setNameFilters(CQtUserInterface::NameFilters(request.filter));
    QString suffix = qvn::ToQString(request.defaultExtension);
    if (suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    dialog.setDefaultSuffix(suffix);
    ApplyInitialName(dialog, request.initialName);
    if (!request.title.empty()) {
        dialog.setWindowTitle(qvn::ToQString(request.title));
    }
}

} // namespace

void CQtUserInterface::SetHooks(Hooks hooks) {
    TheHooks() = std::move(hooks);
}

void CQtUserInterface::ClearHooks() {
    TheHooks() = Hooks{};
}

QStringList CQtUserInterface::NameFilters(const std::string& filter) {
    return QtFiltersFromWindowsFilter(qvn::ToQString(filter));
}

MsgResult CQtUserInterface::MessageBox(const std::string& text, const std::string& caption,
                                       MsgIcon icon, MsgButtons buttons) {
    if (TheHooks().messageBox) {
        return TheHooks().messageBox(text, caption, icon, buttons);
    }
    // Above the dialog that asks, else above the main window.
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox box(owner != nullptr ? owner : m_parent.data());
    box.setWindowTitle(Caption(caption));
    box.setText(qvn::ToQString(text));
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MsgButtons::ReloadSaveOverCancel:
        AddButton(box, "&Reload", QMessageBox::AcceptRole, MsgResult::Reload);
        AddButton(box, "&Save over it", QMessageBox::DestructiveRole, MsgResult::SaveOver);
        box.setDefaultButton(AddButton(box, "Cancel", QMessageBox::RejectRole, MsgResult::Cancel));
        break;
    case MsgButtons::ReadOnlyCancel:
        box.setDefaultButton(
            AddButton(box, "Open &read-only", QMessageBox::AcceptRole, MsgResult::ReadOnly));
        AddButton(box, "Cancel", QMessageBox::RejectRole, MsgResult::Cancel);
        break;
    }
    // The busy cursor must not hide that the program waits for an answer.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    const int pressed = box.exec();
    if (busy) {
        QApplication::restoreOverrideCursor();
    }
    if (const QAbstractButton* clicked = box.clickedButton();
        clicked != nullptr && clicked->property(kResultProperty).isValid()) {
        return static_cast<MsgResult>(clicked->property(kResultProperty).toInt());
    }
    switch (pressed) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        // Escape or the close button of a box without a Cancel button.
        return buttons == MsgButtons::YesNo ? MsgResult::No
               : buttons == MsgButtons::Ok  ? MsgResult::Ok
                                            : MsgResult::Cancel;
    }
}

std::vector<std::string> CQtUserInterface::GetOpenFileNames(const FileDialogRequest& request) {
    if (TheHooks().openFiles) {
        return TheHooks().openFiles(request);
    }
    QFileDialog dialog(m_parent, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                           : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    SetupFileDialog(dialog, request);
    std::vector<std::string> paths;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& file : dialog.selectedFiles()) {
            paths.push_back(qvn::FromQString(QDir::toNativeSeparators(file)));
        }
    }
    return paths;
}

std::optional<std::string> CQtUserInterface::GetSaveFileName(const FileDialogRequest& request) {
    if (TheHooks().saveFile) {
        return TheHooks().saveFile(request);
    }
    QFileDialog dialog(m_parent, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    SetupFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return qvn::FromQString(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

std::optional<std::string> CQtUserInterface::ChooseFolder(const std::string& title,
                                                          const std::string& initialFolder) {
    if (TheHooks().chooseFolder) {
        return TheHooks().chooseFolder(title, initialFolder);
    }
    const QString folder = QFileDialog::getExistingDirectory(m_parent, qvn::ToQString(title),
                                                             qvn::ToQString(initialFolder));
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return qvn::FromQString(QDir::toNativeSeparators(folder));
}

int CQtUserInterface::Exec(QDialog& dialog) {
    if (TheHooks().runDialog) {
        return TheHooks().runDialog(dialog);
    }
    return dialog.exec();
}

std::optional<NewProjectValues> CQtUserInterface::RunNewProjectWizard(CQVNDoc&) {
    if (TheHooks().newProjectWizard) {
        return TheHooks().newProjectWizard();
    }
    CNewProjectWizard wizard(*this, m_parent);
    if (Exec(wizard) != QDialog::Accepted) {
        return std::nullopt;
    }
    return wizard.GetValues();
}

bool CQtUserInterface::RunNewItemWizard(CQVNDoc& doc, const std::string& caption,
                                        const std::string& preselectedFile) {
    CNewEntryDlg wizard(doc, *this, preselectedFile, m_parent);
    // The pages' own title stands in the caption; the caller's names the
    // window for assistive tools.
    wizard.setAccessibleName(qvn::ToQString(caption));
    return Exec(wizard) == QDialog::Accepted;
}

bool CQtUserInterface::RunProjectSettingsDialog(CQVNDoc& doc, const std::string& caption) {
    CPrjSettingsDlg dialog(doc, *this, m_parent);
    dialog.setWindowTitle(qvn::ToQString(caption));
    return Exec(dialog) == QDialog::Accepted;
}

void CQtUserInterface::RunAppearanceDialog(CQVNDoc& doc, const std::string& caption) {
    if (m_appearance == nullptr) {
        return;
    }
    CAppearanceDlg dialog(doc, *m_appearance, m_parent);
    dialog.setWindowTitle(qvn::ToQString(caption));
    Exec(dialog);
}

bool CQtUserInterface::RunMultiExportDialog(CQVNDoc& doc) {
    CMultiExportDlg dialog(doc, m_parent);
    return Exec(dialog) == QDialog::Accepted;
}

bool CQtUserInterface::RunSingleExportDialog(CQVNDoc& doc, const std::string& fileName) {
    CSingleExportDlg dialog(doc, fileName, m_parent);
    return Exec(dialog) == QDialog::Accepted;
}

bool CQtUserInterface::RunStringEditor(CQVNDoc& doc) {
    CEditStrDlg dialog(doc, m_parent);
    return Exec(dialog) == QDialog::Accepted;
}

std::optional<ReplaceRequest> CQtUserInterface::RunReplaceDialog(CQVNDoc& doc) {
    QStringList otherFields;
    for (const std::string& name : doc.CollectOtherFieldNames()) {
        otherFields << qvn::ToQString(name);
    }
    CReplaceDlg dialog(m_parent, otherFields);
    if (Exec(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.GetRequest();
}

void CQtUserInterface::AddToRecentFiles(const std::string& path) {
    if (m_recent != nullptr) {
        m_recent->Add(qvn::ToQString(path));
    }
}

void CQtUserInterface::ShowStatusMessage(const std::string& text) {
    if (auto* window = qobject_cast<QMainWindow*>(m_parent.data())) {
        window->statusBar()->showMessage(qvn::ToQString(text), kStatusMessageTimeout);
    }
}

void CQtUserInterface::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtUserInterface::EndBusy() {
    QApplication::restoreOverrideCursor();
}

void CQtUserInterface::BeginProgress(const std::string& text, bool cancellable) {
    m_progress = std::make_unique<QProgressDialog>(qvn::ToQString(text),
                                                   cancellable ? QObject::tr("Cancel") : QString(),
                                                   0, kProgressSteps, m_parent);
    m_progress->setWindowTitle(QString::fromLatin1(CQVNDoc::kAppTitle));
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_progress->setMinimumDuration(1000);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setValue(0);
}

bool CQtUserInterface::StepProgress(std::uint64_t done, std::uint64_t total) {
    if (!m_progress) {
        return true;
    }
    const std::uint64_t step = total == 0 ? 0 : std::min(done, total) * kProgressSteps / total;
    // Once shown, the modal dialog lets the events through here, its Cancel
    // button's among them.
    m_progress->setValue(static_cast<int>(step));
    return !m_progress->wasCanceled();
}

void CQtUserInterface::EndProgress() {
    m_progress.reset();
}
