// A user for tests: records every message box and answers it, the file and
// folder choosers and the new-project wizard from scripted queues, so that
// document commands run headless. ScriptedUi answers as the document's user
// interface; the GUI tests route the desktop program's own questions to the
// same answers.
#pragma once

#include "platform/UserInterface.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct RecordedMessage {
    std::string text;
    std::string caption;
    MsgIcon icon;
    MsgButtons buttons;
};

// The scripted answers and the record of what was asked.
class ScriptedAnswers {
public:
    // Answers for message boxes, in order; when empty, the first button
    // (OK, Yes, Reload or Open read-only) is pressed.
    std::deque<MsgResult> answers;
    std::vector<RecordedMessage> messages;
    // File and folder choosers and the wizard cancel when their queue is
    // empty.
    std::deque<std::vector<std::string>> openFileAnswers;
    std::deque<std::optional<std::string>> saveFileAnswers;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<NewProjectValues>> wizardAnswers;
    int wizardRuns = 0;

    MsgResult AnswerMessage(const std::string& text, const std::string& caption, MsgIcon icon,
                            MsgButtons buttons) {
        messages.push_back({text, caption, icon, buttons});
        return Next(answers).value_or(FirstButton(buttons));
    }
    std::vector<std::string> AnswerOpenFiles(const FileDialogRequest& request) {
        fileRequests.push_back(request);
        return Next(openFileAnswers).value_or(std::vector<std::string>{});
    }
    std::optional<std::string> AnswerSaveFile(const FileDialogRequest& request) {
        fileRequests.push_back(request);
        return Next(saveFileAnswers).value_or(std::nullopt);
    }
    std::optional<std::string> AnswerFolder() { return Next(folderAnswers).value_or(std::nullopt); }
    std::optional<NewProjectValues> AnswerWizard() {
        ++wizardRuns;
        return Next(wizardAnswers).value_or(std::nullopt);
    }

    static MsgResult FirstButton(MsgButtons buttons) {
        switch (buttons) {
        case MsgButtons::Ok:
        case MsgButtons::OkCancel:
            return MsgResult::Ok;
        case MsgButtons::ReloadSaveOverCancel:
            return MsgResult::Reload;
        case MsgButtons::ReadOnlyCancel:
            return MsgResult::ReadOnly;
        default:
            return MsgResult::Yes;
        }
    }

    // The texts and the captions of the recorded messages, for compact
    // assertions.
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) {
            out.push_back(m.text);
        }
        return out;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (const auto& m : messages) {
            out.push_back(m.caption);
        }
        return out;
    }

private:
    // The first answer of a queue, taken from it; none when it is empty.
    template <typename T> static std::optional<T> Next(std::deque<T>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

class ScriptedUi : public IUserInterface, public ScriptedAnswers {
public:
    int busyDepth = 0;
    int busyCount = 0;
    std::vector<std::string> recentFiles;

    // Hooks for the dialogs the document runs; unset hooks cancel.
    std::function<bool(CQVNDoc&, const std::string&, const std::string&)> newItemWizard;
    std::function<bool(CQVNDoc&, const std::string&)> projectSettingsDialog;
    std::function<void(CQVNDoc&, const std::string&)> appearanceDialog;
    std::function<bool(CQVNDoc&)> multiExportDialog;
    std::function<bool(CQVNDoc&, const std::string&)> singleExportDialog;
    std::function<bool(CQVNDoc&)> stringEditor;
    std::function<std::optional<ReplaceRequest>(CQVNDoc&)> replaceDialog;

    MsgResult MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override {
        return AnswerMessage(text, caption, icon, buttons);
    }
    std::vector<std::string> GetOpenFileNames(const FileDialogRequest& request) override {
        return AnswerOpenFiles(request);
    }
    std::optional<std::string> GetSaveFileName(const FileDialogRequest& request) override {
        return AnswerSaveFile(request);
    }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
        return AnswerFolder();
    }
    std::optional<NewProjectValues> RunNewProjectWizard(CQVNDoc&) override {
        return AnswerWizard();
    }
    bool RunNewItemWizard(CQVNDoc& doc, const std::string& caption,
                          const std::string& file) override {
        return newItemWizard && newItemWizard(doc, caption, file);
    }
    bool RunProjectSettingsDialog(CQVNDoc& doc, const std::string& caption) override {
        return projectSettingsDialog && projectSettingsDialog(doc, caption);
    }
    void RunAppearanceDialog(CQVNDoc& doc, const std::string& caption) override {
        if (appearanceDialog) {
            appearanceDialog(doc, caption);
        }
    }
    bool RunMultiExportDialog(CQVNDoc& doc) override {
        return multiExportDialog && multiExportDialog(doc);
    }
    bool RunSingleExportDialog(CQVNDoc& doc, const std::string& name) override {
        return singleExportDialog && singleExportDialog(doc, name);
    }
    bool RunStringEditor(CQVNDoc& doc) override { return stringEditor && stringEditor(doc); }
    std::optional<ReplaceRequest> RunReplaceDialog(CQVNDoc& doc) override {
        return replaceDialog ? replaceDialog(doc) : std::nullopt;
    }
    void AddToRecentFiles(const std::string& path) override { recentFiles.push_back(path); }
    void BeginBusy() override {
        ++busyDepth;
        ++busyCount;
    }
    void EndBusy() override { --busyDepth; }
    // The user presses Cancel at the progress step numbered `cancelAtStep`
    // (counted from 1 over the test; 0: never).
    int cancelAtStep = 0;
    int progressSteps = 0;
    std::vector<std::string> progressTexts;
    std::vector<std::string> statusMessages;
    void BeginProgress(const std::string& text, bool) override { progressTexts.push_back(text); }
    bool StepProgress(std::uint64_t, std::uint64_t) override {
        return ++progressSteps != cancelAtStep;
    }
    void ShowStatusMessage(const std::string& text) override { statusMessages.push_back(text); }
};
