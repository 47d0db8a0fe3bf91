// quorvane-cli check FILE...: reads .bib files as the import does and prints
// the import log's lines for them.
#include "cli/Cli.h"
#include "model/BibTexReader.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void PrintLine(const std::string& line) {
    // fwrite keeps NUL bytes that a user's file may hold.
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

void PrintDropped(const std::string& path, const CBibTexReaderStats& stats) {
    std::fprintf(stderr,
                 "%s: dropped without an error: %d texts of unknown type, %d unknown fields, "
                 "%d items whose key could not be made unique",
                 path.c_str(), stats.unknownTypes, stats.unknownFields, stats.unaddedItems);
    if (stats.unfinishedItems > 0) {
        std::fprintf(stderr, ", the unfinished item from line %lld",
                     static_cast<long long>(stats.unfinishedItemLine));
    }
    std::fputs(".\n", stderr);
}

int RunCheck(const std::vector<std::string>& args) {
    const cli::ParsedArgs parsed = cli::ParseArgs(args, {"verbose"}, {});
    if (!parsed.error.empty()) {
        return cli::UsageError(parsed.error);
    }
    if (parsed.positional.empty()) {
        return cli::UsageError("check needs at least one .bib file");
    }
    const bool verbose = parsed.Has("verbose");
    int totalErrors = 0;
    bool allOpened = true;
    for (const std::string& path : parsed.positional) {
        CBibTexReader reader(path);
        if (reader.ReadFile() < 0) {
            allOpened = false;
            std::fprintf(stderr, "quorvane-cli: cannot read '%s': %s\n", path.c_str(),
                         reader.GetOpenError().c_str());
        } else if (verbose) {
            PrintDropped(path, reader.GetStats());
        }
        for (const std::string& line : FormatImportSummary(path, reader)) {
            PrintLine(line);
        }
        totalErrors += reader.GetErrorCount();
    }
    PrintLine(FormatImportTotal(totalErrors));
    std::fflush(stdout);
    return totalErrors == 0 && allOpened ? cli::kExitOk : cli::kExitProblems;
}

const cli::CliRegistration kCheck({
    "check",
    "check [--verbose] FILE...",
    "reads .bib files as the import does and prints the import log; --verbose also tells on "
    "stderr what was dropped without an error",
    RunCheck,
});

} // namespace
