// The command table of quorvane-cli. Each command lives in its own source
// file and registers itself with a static CliRegistration.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Exit statuses shared by all commands.
inline constexpr int kExitOk = 0;        // success
inline constexpr int kExitProblems = 1;  // ran, but found problems
inline constexpr int kExitCannotRun = 2; // usage error, or a file could not be used

struct Command {
    std::string name;     // "check", "string add", ...
    std::string synopsis; // one line for --help: "check FILE..."
    std::string summary;  // what it does, one line
    std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<Command>& Commands();

struct CliRegistration {
    explicit CliRegistration(Command command) { Commands().push_back(std::move(command)); }
};

// Splits arguments into positional ones and --options. Options listed in
// `withValue` take the next argument as their value; others are flags.
struct ParsedArgs {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options; // name without "--", value
    std::string error; // non-empty for an unknown option or a missing value

    bool Has(std::string_view name) const;
    const std::string* Value(std::string_view name) const;
};
ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                     const std::vector<std::string>& withValue);

// Prints "quorvane-cli: <message>" on stderr and returns kExitCannotRun.
int UsageError(const std::string& message);

} // namespace cli
