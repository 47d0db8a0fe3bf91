#include "cli/CommandSupport.h"

#include "cli/ProjectAccess.h"
#include "project/QVNDoc.h"

#include <cstdio>

namespace cli {

int RunOnProject(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                 const std::vector<std::string>& withValue, std::size_t positional,
                 const std::string& usage, const ProjectBody& body) {
    const ParsedArgs parsed = ParseArgs(args, flags, withValue);
    if (!parsed.error.empty()) {
        return UsageError(parsed.error);
    }
    if (parsed.positional.size() != positional) {
        return UsageError(usage);
    }
    ConsoleUi ui;
    CQVNDoc doc(&ui);
    if (!OpenProjectFile(doc, parsed.positional[0])) {
        return kExitCannotRun;
    }
    return body(ui, doc, parsed);
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
