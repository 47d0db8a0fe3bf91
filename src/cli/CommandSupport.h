// Running a command on one project file: argument checks, the console host
// and the opened document, shared by the export, search and string commands.
#pragma once

#include "cli/Cli.h"
#include "cli/ConsoleUi.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class CQVNDoc;

namespace cli {

using ProjectBody = std::function<int(ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs& args)>;

// Parses `args` (exactly `positional` positional arguments, the first being
// the project file), opens the project and runs `body`. A usage error or a
// project that cannot be read exits with kExitCannotRun.
int RunOnProject(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                 const std::vector<std::string>& withValue, std::size_t positional,
                 const std::string& usage, const ProjectBody& body);

// Saves the project back to the file it was read from when it changed.
// Returns kExitOk, or kExitCannotRun when saving failed.
int SaveIfModified(CQVNDoc& doc);

// Prints "quorvane-cli: <message>" on stderr and returns `status`.
int Fail(int status, const std::string& message);

} // namespace cli
