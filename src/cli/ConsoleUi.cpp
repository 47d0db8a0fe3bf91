#include "cli/ConsoleUi.h"

#include <cstdio>

namespace cli {

MsgResult ConsoleUi::MessageBox(const std::string& question, const std::string& /*caption*/,
                                MsgIcon icon, MsgButtons buttons) {
    // A batch run never overwrites what another program wrote meanwhile.
    const std::string text = buttons == MsgButtons::ReloadSaveOverCancel
                                 ? "The project file has been changed by another program while "
                                   "the command ran; nothing was saved."
                                 : question;
    lastMessage = text;
    const bool isQuestion = buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel;
    if (icon == MsgIcon::Error || icon == MsgIcon::Warning) {
        ++errorMessages;
    }
    std::FILE* out =
        (informationToStdout && !isQuestion && icon != MsgIcon::Error && icon != MsgIcon::Warning)
            ? stdout
            : stderr;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
    if (isQuestion) {
        return questionAnswer;
    }
    if (buttons == MsgButtons::ReloadSaveOverCancel || buttons == MsgButtons::ReadOnlyCancel) {
        return MsgResult::Cancel;
    }
    return buttons == MsgButtons::OkCancel ? MsgResult::Ok : MsgResult::Ok;
}

void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

} // namespace cli
