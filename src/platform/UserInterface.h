// The seam between the core and the desktop: everything the document needs
// from the user goes through this interface. The Qt program implements it
// with real windows; tests and the command-line tool script the answers.
#pragma once

#include "model/FieldRef.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CQVNDoc;

enum class MsgIcon { None, Information, Warning, Error, Question };
// Besides the standard sets, two questions about the project file have
// buttons of their own: "Reload", "Save over it" and "Cancel" when another
// program changed it; "Open read-only" and "Cancel" when another program
// holds it open.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, ReloadSaveOverCancel, ReadOnlyCancel };
enum class MsgResult { Ok, Cancel, Yes, No, Reload, SaveOver, ReadOnly };

// A file dialog's request. Filters use the pipe-separated form
// "BibTeX files (*.bib)|*.bib|All files (*.*)|*.*||"; the Qt side translates.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string defaultExtension; // without or with the leading period
    std::string initialName;      // a file name or a path
    bool multiSelect = false;     // open dialogs only
    bool overwritePrompt = false; // save dialogs only
    bool pathMustExist = true;
};

// The three values the new-project wizard collects.
struct NewProjectValues {
    std::string name;
    std::string location;
    std::string stringsFileName;
};

// What the replace dialog returns on OK.
struct ReplaceRequest {
    CFieldRef field = 0;
    std::string find;
    std::string replace;
    bool matchCase = false;
};

class IUserInterface {
public:
    virtual ~IUserInterface() = default;

    // An empty caption stands for the application title "Quorvane".
    virtual MsgResult MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                 MsgButtons buttons) = 0;
    // Empty when cancelled.
    virtual std::vector<std::string> GetOpenFileNames(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> GetSaveFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                    const std::string& initialFolder) = 0;

    // The wizards and dialogs the document runs. Each applies its result
    // through the document's operations (or returns it, where noted).
    virtual std::optional<NewProjectValues> RunNewProjectWizard(CQVNDoc& doc) = 0;
    // True when finished (the wizard added the item itself).
    virtual bool RunNewItemWizard(CQVNDoc& doc, const std::string& caption,
                                  const std::string& preselectedFile) = 0;
    // True on OK (the dialog applied the settings itself).
    virtual bool RunProjectSettingsDialog(CQVNDoc& doc, const std::string& caption) = 0;
    virtual void RunAppearanceDialog(CQVNDoc& doc, const std::string& caption) = 0;
    // True when closed with OK after a successful export.
    virtual bool RunMultiExportDialog(CQVNDoc& doc) = 0;
    virtual bool RunSingleExportDialog(CQVNDoc& doc, const std::string& fileName) = 0;
    // True when a new string was stored.
    virtual bool RunStringEditor(CQVNDoc& doc) = 0;
    virtual std::optional<ReplaceRequest> RunReplaceDialog(CQVNDoc& doc) = 0;

    // A successfully opened or saved project file joins the recent-file list.
    virtual void AddToRecentFiles(const std::string& /*path*/) {}
    // A note that needs no answer (the desktop shows it in the status bar).
    virtual void ShowStatusMessage(const std::string& /*text*/) {}

    virtual void BeginBusy() {}
    virtual void EndBusy() {}

    // A long command's progress. BeginProgress announces it (the desktop
    // shows a dialog once it has taken about a second); StepProgress says
    // how far it got and returns false once the user asked to cancel;
    // EndProgress closes the dialog. Without a host nothing is ever cancelled.
    virtual void BeginProgress(const std::string& /*text*/, bool /*cancellable*/) {}
    virtual bool StepProgress(std::uint64_t /*done*/, std::uint64_t /*total*/) { return true; }
    virtual void EndProgress() {}
};

// Asks through `ui`, or answers for a missing one: a plain message counts as
// read (Ok), a question as cancelled.
inline MsgResult ShowMessage(IUserInterface* ui, const std::string& text,
                             const std::string& caption = {}, MsgIcon icon = MsgIcon::None,
                             MsgButtons buttons = MsgButtons::Ok) {
    if (ui == nullptr) {
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
    }
    return ui->MessageBox(text, caption, icon, buttons);
}

// Shows the busy cursor for the guard's lifetime (nothing without a host).
class CBusyCursor {
public:
    explicit CBusyCursor(IUserInterface* ui) : m_ui(ui) {
        if (m_ui != nullptr) {
            m_ui->BeginBusy();
        }
    }
    ~CBusyCursor() {
        if (m_ui != nullptr) {
            m_ui->EndBusy();
        }
    }
    CBusyCursor(const CBusyCursor&) = delete;
    CBusyCursor& operator=(const CBusyCursor&) = delete;

private:
    IUserInterface* m_ui;
};

// A long command's progress for the guard's lifetime. Step() may be called
// as often as the work likes: the host hears of it only when the work moved
// on by a two-hundredth. Once the user cancelled, Step() keeps answering
// false.
class CProgress {
public:
    CProgress(IUserInterface* ui, const std::string& text, bool cancellable = true) : m_ui(ui) {
        if (m_ui != nullptr) {
            m_ui->BeginProgress(text, cancellable);
        }
    }
    ~CProgress() {
        if (m_ui != nullptr) {
            m_ui->EndProgress();
        }
    }
    CProgress(const CProgress&) = delete;
    CProgress& operator=(const CProgress&) = delete;

    // False once the user asked to cancel.
    bool Step(std::uint64_t done, std::uint64_t total) {
        if (m_ui == nullptr || m_cancelled) {
            return !m_cancelled;
        }
        if (total != m_total) {
            m_total = total;
            m_next = 0;
        }
        if (done >= m_next) {
            m_next = done + total / 200 + 1;
            m_cancelled = !m_ui->StepProgress(done, total);
        }
        return !m_cancelled;
    }
    bool Cancelled() const { return m_cancelled; }

private:
    IUserInterface* m_ui;
    std::uint64_t m_total = 0;
    std::uint64_t m_next = 0;
    bool m_cancelled = false;
};
