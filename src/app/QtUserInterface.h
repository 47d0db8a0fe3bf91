// The user-interaction host of the desktop program: message boxes, file and
// folder dialogs, the dialogs the document runs and the busy cursor, on Qt.
// Tests replace the windows by hooks (static, so that they are in place
// before the application object exists).
#pragma once

#include "platform/UserInterface.h"

#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class CQVNSettings;
class CRecentFileList;
class QDialog;

class CQtUserInterface : public IUserInterface {
public:
    struct Hooks {
        std::function<MsgResult(const std::string& text, const std::string& caption, MsgIcon,
                                MsgButtons)>
            messageBox;
        std::function<std::vector<std::string>(const FileDialogRequest&)> openFiles;
        std::function<std::optional<std::string>(const FileDialogRequest&)> saveFile;
        std::function<std::optional<std::string>(const std::string& title,
                                                 const std::string& initialFolder)>
            chooseFolder;
        std::function<std::optional<NewProjectValues>()> newProjectWizard;
        // Runs the wizards and dialogs the document asks for instead of
        // exec(): the test fills in the dialog, presses its buttons and
        // returns its result (QDialog::Accepted or Rejected).
        std::function<int(QDialog&)> runDialog;
    };
    // Replaces the windows by the given hooks (unset hooks keep the windows).
    static void SetHooks(Hooks hooks);
    static void ClearHooks();

    CQtUserInterface() = default;

    // The window that owns the dialogs (the main frame once it exists).
    void SetParentWidget(QWidget* parent) { m_parent = parent; }
    QWidget* GetParentWidget() const { return m_parent; }
    void SetRecentFiles(CRecentFileList* recent) { m_recent = recent; }
    void SetAppearanceSettings(CQVNSettings* settings) { m_appearance = settings; }

    MsgResult MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    std::vector<std::string> GetOpenFileNames(const FileDialogRequest& request) override;
    std::optional<std::string> GetSaveFileName(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialFolder) override;

    std::optional<NewProjectValues> RunNewProjectWizard(CQVNDoc& doc) override;
    bool RunNewItemWizard(CQVNDoc& doc, const std::string& caption,
                          const std::string& preselectedFile) override;
    bool RunProjectSettingsDialog(CQVNDoc& doc, const std::string& caption) override;
    void RunAppearanceDialog(CQVNDoc& doc, const std::string& caption) override;
    bool RunMultiExportDialog(CQVNDoc& doc) override;
    bool RunSingleExportDialog(CQVNDoc& doc, const std::string& fileName) override;
    bool RunStringEditor(CQVNDoc& doc) override;
    std::optional<ReplaceRequest> RunReplaceDialog(CQVNDoc& doc) override;

    void AddToRecentFiles(const std::string& path) override;
    // Shown in the main window's status bar for kStatusMessageTimeout ms.
    void ShowStatusMessage(const std::string& text) override;
    static constexpr int kStatusMessageTimeout = 15000;
    static constexpr int kProgressSteps = 1000;
    void BeginBusy() override;
    void EndBusy() override;
    // A progress dialog with Cancel, shown once the command has taken a
    // second; modal, so the rest of the program waits while it runs.
    void BeginProgress(const std::string& text, bool cancellable) override;
    bool StepProgress(std::uint64_t done, std::uint64_t total) override;
    void EndProgress() override;

    // Qt's name filters for a filter of the form "Text (*.x)|*.x|...||".
    static QStringList NameFilters(const std::string& filter);

private:
    // Shows a dialog of the document modally (or hands it to the test hook).
    static int Exec(QDialog& dialog);

    QPointer<QWidget> m_parent;
    CRecentFileList* m_recent = nullptr;
    CQVNSettings* m_appearance = nullptr;
    std::unique_ptr<QProgressDialog> m_progress;
};
