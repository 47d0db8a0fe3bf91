// quorvane-cli lint PROJECT.qvp | FILE.bib...: the problems of every item,
// one line each: FILE<TAB>KEY<TAB>problem.
#include "cli/CommandSupport.h"
#include "model/BibTexMap.h"
#include "model/BibTexReader.h"
#include "model/BibTexStringTable.h"
#include "model/TextUtil.h"
#include "project/ProblemCheck.h"
#include "project/QVNDoc.h"

#include <cstdio>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace cli {
namespace {

// Where an item came from, when that is not what the map says: a .bib file
// by its path, and the key as the file wrote it (the merge may have added a
// letter to make it unique).
struct Origin {
    std::string file;
    std::string key;
};

int PrintProblems(const CBibTexMap& items, const CBibTexStringTable& strings,
                  const std::unordered_map<const CBibTexEntry*, Origin>& origins) {
    CProblemCheck check(items, strings);
    check.SetKeyNamer([&origins](const CBibTexEntry& item) {
        const auto origin = origins.find(&item);
        return origin != origins.end() ? origin->second.key : item.GetKey();
    });
    check.RunAll();
    bool any = false;
    items.ForEachItem([&](const CBibTexEntry& item) {
        const auto origin = origins.find(&item);
        const std::string& file =
            origin != origins.end() ? origin->second.file : item.GetFileName();
        const std::string& key = origin != origins.end() ? origin->second.key : item.GetKey();
        if (key != item.GetKey()) {
            // BibTeX stops at a key it has read before.
            const auto first = origins.find(items.FindKey(key));
            PrintLine(file + "\t" + key + "\tkey is used before in " +
                      (first != origins.end() ? first->second.file : std::string("another file")));
            any = true;
        }
        for (const ItemProblem& problem : check.GetProblems(item)) {
            PrintLine(file + "\t" + key + "\t" + problem.text);
            any = true;
        }
    });
    std::fflush(stdout);
    return any ? kExitProblems : kExitOk;
}

bool IsProjectPath(const std::string& path) {
    return path.size() > 4 && qvn::ToLowerAscii(path.substr(path.size() - 4)) == ".qvp";
}

int LintBibFiles(const std::vector<std::string>& paths) {
    // The files are read together, as one project would hold them: a
    // crossref may name an item of another file.
    CBibTexMap items;
    CBibTexStringTable strings;
    std::unordered_map<const CBibTexEntry*, Origin> origins;
    for (const std::string& path : paths) {
        CBibTexReader reader(path);
        if (reader.ReadFile() < 0) {
            return Fail(kExitCannotRun, "cannot read '" + path + "': " + reader.GetOpenError());
        }
        for (const auto& [abbreviation, value] : reader.GetStrings()) {
            strings.AddString(abbreviation, CTexObject::StripOneGroup(value), false);
        }
        items.MoveAllFrom(reader.GetItems(), [&](CBibTexEntry& item) {
            origins[&item] = Origin{path, item.GetKey()};
        });
    }
    const CActiveStringTableScope active(&strings);
    return PrintProblems(items, strings, origins);
}

int RunLint(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {}, {});
    if (!parsed.error.empty()) {
        return UsageError(parsed.error);
    }
    if (parsed.positional.empty()) {
        return UsageError("lint: give a project file or .bib files");
    }
    if (parsed.positional.size() == 1 && IsProjectPath(parsed.positional.front())) {
        return RunOnProject(args, {}, {}, 1, "lint: give one project file",
                            [](ConsoleUi&, CQVNDoc& doc, const ParsedArgs&) {
                                return PrintProblems(doc.GetItems(), doc.GetStrings(), {});
                            });
    }
    return LintBibFiles(parsed.positional);
}

const CliRegistration kLint({
    "lint",
    "lint PROJECT.qvp | lint FILE.bib...",
    "print the problems of every item, FILE<TAB>KEY<TAB>problem: an empty required field, a "
    "crossref to no item, an undefined string, unbalanced braces, two items of the same work",
    RunLint,
});

} // namespace
} // namespace cli
