// Helpers shared by the benchmarks.
#pragma once

#include "platform/UserInterface.h"

#include <cstddef>

class CQVNDoc;

namespace bench {

// Resident set size of this process in bytes (from /proc/self/statm).
std::size_t ResidentBytes();

// A host that answers every question with Yes and shows nothing.
class SilentUi : public IUserInterface {
public:
    MsgResult MessageBox(const std::string&, const std::string&, MsgIcon,
                         MsgButtons buttons) override {
        return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgResult::Ok
                                                                            : MsgResult::Yes;
    }
    std::vector<std::string> GetOpenFileNames(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> GetSaveFileName(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
        return {};
    }
    std::optional<NewProjectValues> RunNewProjectWizard(CQVNDoc&) override { return {}; }
    bool RunNewItemWizard(CQVNDoc&, const std::string&, const std::string&) override {
        return false;
    }
    bool RunProjectSettingsDialog(CQVNDoc&, const std::string&) override { return false; }
    void RunAppearanceDialog(CQVNDoc&, const std::string&) override {}
    bool RunMultiExportDialog(CQVNDoc&) override { return false; }
    bool RunSingleExportDialog(CQVNDoc&, const std::string&) override { return false; }
    bool RunStringEditor(CQVNDoc&) override { return false; }
    std::optional<ReplaceRequest> RunReplaceDialog(CQVNDoc&) override { return {}; }
};

// Fills an active project with `items` articles spread over 10 BibTeX files,
// each with an author, a title of a few words, a year and a journal that
// refers to one of `strings` strings j0, j1, ... (a braced journal name when
// `strings` is 0).
void FillProject(CQVNDoc& doc, int items, int strings);

} // namespace bench
