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

// --verbose: what was read and left out, in numbers.
void PrintCounts(const std::string& path, const CBibTexReader& reader) {
    const CBibTexReaderStats& stats = reader.GetStats();
    std::fprintf(stderr,
                 "%s: %lld lines, %d items and %d strings read; left out %d entries, %d field "
                 "values and %d items\n",
                 path.c_str(), static_cast<long long>(reader.GetLineNumber()),
                 reader.GetItems().GetTotalCount(), reader.GetStrings().GetCount(),
                 CBibTexReaderStats::Total(stats.leftOutTypes),
                 CBibTexReaderStats::Total(stats.leftOutFields),
                 CBibTexReaderStats::Total(stats.unaddedKeys));
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
            PrintCounts(path, reader);
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
    "reads .bib files as the import does and prints the import log; --verbose also prints on "
    "stderr how much was read and left out",
    RunCheck,
});

} // namespace
