// Running a command on one project file: argument checks, the console host
// and the opened document, shared by the export, search and string commands.
#pragma once

#include "cli/Cli.h"
#include "cli/ConsoleUi.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CLockFile;
class CQVNDoc;

namespace cli {

using ProjectBody = std::function<int(ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs& args)>;

// Parses `args` (exactly `positional` positional arguments, the first being
// the project file), opens the project and runs `body`. A usage error or a
// project that cannot be read exits with kExitCannotRun.
int RunOnProject(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                 const std::vector<std::string>& withValue, std::size_t positional,
                 const std::string& usage, const ProjectBody& body);

// The same for a command that changes the project: it takes the project
// file's lock first (the flag --force is added to `flags`).
int RunOnProjectForWriting(const std::vector<std::string>& args,
                           const std::vector<std::string>& flags,
                           const std::vector<std::string>& withValue, std::size_t positional,
                           const std::string& usage, const ProjectBody& body);

// Takes the lock of a project file that a command is about to change, for
// as long as `lock` lives. A project that a desktop window (or another
// command) holds stays untouched: the user is told and the result is
// kExitCannotRun, unless `force`. nullopt: go ahead.
std::optional<int> LockForWriting(const std::string& path, bool force,
                                  std::unique_ptr<CLockFile>& lock);

// Saves the project back to the file it was read from when it changed.
// Returns kExitOk, or kExitCannotRun when saving failed.
int SaveIfModified(CQVNDoc& doc);

// Prints "quorvane-cli: <message>" on stderr and returns `status`.
int Fail(int status, const std::string& message);

} // namespace cli
