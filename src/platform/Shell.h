// Opening a document or an address with the desktop's default program.
#pragma once

#include <functional>
#include <string>

class IShell {
public:
    // Runs when the desktop reports a failure only after Open returned (the
    // opener is a program of its own that may find no application).
    using FailedLater = std::function<void()>;

    virtual ~IShell() = default;
    // False when opening fails at once; `failedLater` may run afterwards.
    virtual bool Open(const std::string& documentOrAddress, FailedLater failedLater) = 0;
};
