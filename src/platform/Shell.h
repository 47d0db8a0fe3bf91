// Opening a document or an address with the desktop's default program.
#pragma once

#include <string>

class IShell {
public:
    virtual ~IShell() = default;
    // False when the desktop reports a failure.
    virtual bool Open(const std::string& documentOrAddress) = 0;
};
