// The user-interaction host of the command-line tool: messages go to stderr;
// questions are answered from the command's flags; dialogs do not exist.
#pragma once

#include "platform/UserInterface.h"

#include <string>

namespace cli {

class ConsoleUi : public IUserInterface {
public:
    // The answer to every Yes/No question (a flag such as --overwrite).
    MsgResult questionAnswer = MsgResult::No;
    // Information messages go to stdout when set (the command's result).
    bool informationToStdout = false;
    int errorMessages = 0;
    std::string lastMessage;

    MsgResult MessageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    std::vector<std::string> GetOpenFileNames(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> GetSaveFileName(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<NewProjectValues> RunNewProjectWizard(CQVNDoc&) override { return std::nullopt; }
    bool RunNewItemWizard(CQVNDoc&, const std::string&, const std::string&) override {
        return false;
    }
    bool RunProjectSettingsDialog(CQVNDoc&, const std::string&) override { return false; }
    void RunAppearanceDialog(CQVNDoc&, const std::string&) override {}
    bool RunMultiExportDialog(CQVNDoc&) override { return false; }
    bool RunSingleExportDialog(CQVNDoc&, const std::string&) override { return false; }
    bool RunStringEditor(CQVNDoc&) override { return false; }
    std::optional<ReplaceRequest> RunReplaceDialog(CQVNDoc&) override { return std::nullopt; }
};

// Prints text with its "\n" line ends as they are (LF on the terminal).
void PrintLine(const std::string& line);

} // namespace cli
