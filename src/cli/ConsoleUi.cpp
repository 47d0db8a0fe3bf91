#include "cli/ConsoleUi.h"

#include <cstdio>

namespace cli {

MsgResult ConsoleUi::MessageBox(const std::string& text, const std::string& /*caption*/,
                                MsgIcon icon, MsgButtons buttons) {
    lastMessage = text;
    const bool isQuestion = buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel;
    if (icon == MsgIcon::Error || icon == MsgIcon::Warning) {
        ++errorMessages;
    }
    std::FILE* out = (informationToStdout && !isQuestion && icon != MsgIcon::Error &&
                      icon != MsgIcon::Warning)
                         ? stdout
                         : stderr;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
    if (isQuestion) {
        return questionAnswer;
    }
    return buttons == MsgButtons::OkCancel ? MsgResult::Ok : MsgResult::Ok;
}

void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

} // namespace cli
