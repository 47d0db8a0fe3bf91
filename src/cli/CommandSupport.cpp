#include "cli/CommandSupport.h"

#include "cli/ProjectAccess.h"
#include "project/LockFile.h"
#include "project/QVNDoc.h"

#include <cstdio>

namespace cli {

namespace {

constexpr const char* kProgramName = "quorvane-cli";

int Run(const std::vector<std::string>& args, std::vector<std::string> flags,
        const std::vector<std::string>& withValue, std::size_t positional, const std::string& usage,
        const ProjectBody& body, bool writes) {
    if (writes) {
        flags.push_back("force");
    }
    const ParsedArgs parsed = ParseArgs(args, flags, withValue);
    if (!parsed.error.empty()) {
        return UsageError(parsed.error);
    }
    if (parsed.positional.size() != positional) {
        return UsageError(usage);
    }
    std::unique_ptr<CLockFile> lock;
    if (writes) {
        if (const auto status = LockForWriting(parsed.positional[0], parsed.Has("force"), lock)) {
            return *status;
        }
    }
    ConsoleUi ui;
    CQVNDoc doc(&ui);
    doc.EnableUndo(false); // each command is one batch: nothing to take back
    if (!OpenProjectFile(doc, parsed.positional[0])) {
        return kExitCannotRun;
    }
    return body(ui, doc, parsed);
}

} // namespace

int RunOnProject(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                 const std::vector<std::string>& withValue, std::size_t positional,
                 const std::string& usage, const ProjectBody& body) {
    return Run(args, flags, withValue, positional, usage, body, false);
}

int RunOnProjectForWriting(const std::vector<std::string>& args,
                           const std::vector<std::string>& flags,
                           const std::vector<std::string>& withValue, std::size_t positional,
                           const std::string& usage, const ProjectBody& body) {
    return Run(args, flags, withValue, positional, usage, body, true);
}

std::optional<int> LockForWriting(const std::string& path, bool force,
                                  std::unique_ptr<CLockFile>& lock) {
    lock = std::make_unique<CLockFile>(CLockFile::PathFor(path));
    if (lock->TryLock(kProgramName) != CLockFile::Status::Held) {
        // Taken, or a folder without lock files: nobody else holds it.
        return std::nullopt;
    }
    const LockHolder holder = lock->Holder();
    lock.reset();
    if (force) {
        return std::nullopt;
    }
    const std::string where =
        " (process " + std::to_string(holder.pid) + " on " + holder.host + ")";
    if (holder.program == kProgramName) {
        return Fail(kExitCannotRun, path + " is being changed by another quorvane-cli" + where +
                                        "; try again when it has finished, or use --force");
    }
    return Fail(kExitCannotRun, path + " is open in Quorvane" + where +
                                    "; close it there, or use --force to change it anyway");
}

int SaveIfModified(CQVNDoc& doc) {
    if (!doc.IsModified()) {
        return kExitOk;
    }
    return SaveProjectFile(doc, doc.GetPathName()) ? kExitOk : kExitCannotRun;
}

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "quorvane-cli: %s\n", message.c_str());
    return status;
}

} // namespace cli
