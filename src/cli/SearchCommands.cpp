// Search commands of quorvane-cli: search and replace in one field.
#include "cli/CommandSupport.h"
#include "project/QVNDoc.h"

namespace cli {
namespace {

// A catalogue field (any letter case) or a field outside the catalogue;
// an invalid reference after telling the user when the name is one BibTeX
// cannot read.
CFieldRef FieldOrFail(const std::string& name) {
    CFieldRef field = CFieldRef::FromName(name);
    if (!field.IsValid()) {
        Fail(kExitCannotRun, "'" + name + "' is not a field name BibTeX can read");
    }
    return field;
}

int RunSearch(const std::vector<std::string>& args) {
    return RunOnProject(args, {}, {}, 3, "search: give a project file, a field and a query",
                        [](ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs& a) {
                            const CFieldRef field = FieldOrFail(a.positional[1]);
                            if (!field.IsValid()) {
                                return kExitCannotRun;
                            }
                            ui.informationToStdout = true;
                            CSearch* search = doc.MakeSearch(a.positional[2], field);
                            if (search == nullptr) {
                                return kExitProblems;
                            }
                            PrintLine(search->GetLabel());
                            for (const CBibTexEntry* item : search->GetResults()) {
                                PrintLine(item->GetKey());
                            }
                            return kExitOk;
                        });
}

int RunReplace(const std::vector<std::string>& args) {
    return RunOnProjectForWriting(
        args, {"match-case"}, {}, 4,
        "replace: give a project file, a field, the text to find and its replacement",
        [](ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs& a) {
            const CFieldRef field = FieldOrFail(a.positional[1]);
            if (!field.IsValid()) {
                return kExitCannotRun;
            }
            const std::string& find = a.positional[2];
            const std::string& replace = a.positional[3];
            if (!CQVNDoc::IsReplaceRequestComplete(field, find, replace)) {
                return UsageError("replace: FIND and REPLACE must be non-empty and differ");
            }
            ui.informationToStdout = true;
            if (doc.Replace({field, find, replace, a.Has("match-case")}) < 0) {
                return kExitProblems; // refused and told: nothing changed
            }
            return SaveIfModified(doc);
        });
}

const CliRegistration kSearch(
    {"search", "search PROJECT.qvp FIELD QUERY",
     "list the items whose FIELD (any field name) contains QUERY (any letter case)", RunSearch});
const CliRegistration kReplace(
    {"replace", "replace PROJECT.qvp FIELD FIND REPLACE [--match-case] [--force]",
     "replace text in one field (any field name) of all items and save the project", RunReplace});

} // namespace
} // namespace cli
