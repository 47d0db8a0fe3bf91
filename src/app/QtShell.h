// Opens documents and addresses with the desktop's default program.
#pragma once

#include "platform/Shell.h"

class CQtShell : public IShell {
public:
    // An address with a scheme (https:, mailto:) goes to the desktop as it
    // is; anything else is a file, relative to the working directory, and
    // fails when it does not exist (some desktops report success for a
    // missing file). With xdg-open on the path its exit status is watched,
    // so a desktop without a browser or viewer is reported through
    // `failedLater`.
    bool Open(const std::string& documentOrAddress, FailedLater failedLater) override;
};
