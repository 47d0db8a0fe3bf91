// String commands of quorvane-cli: add, set, rename, delete and delete-all,
// with the rules of the string editor and the property window. A flag
// stands for the answer Yes to the question the desktop program asks.
#include "cli/CommandSupport.h"
#include "model/BibTexString.h"
#include "project/QVNDoc.h"

namespace cli {
namespace {

int NoSuchString(const std::string& abbreviation) {
    return Fail(kExitProblems, "no string '" + abbreviation + "' in the project");
}

int RunAdd(const std::vector<std::string>& args) {
    return RunOnProjectForWriting(
        args, {"overwrite"}, {}, 3,
        "string add: give a project file, an abbreviation and its full string",
        [](ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs& a) {
            const std::string& abbreviation = a.positional[1];
            ui.questionAnswer = a.Has("overwrite") ? MsgResult::Yes : MsgResult::No;
            switch (doc.EditStringOk(abbreviation, a.positional[2])) {
            case EditStringResult::Stored:
                return SaveIfModified(doc);
            case EditStringResult::IllegalAbbreviation:
            case EditStringResult::UnbalancedValue:
                return kExitProblems;
            case EditStringResult::Declined:
                break;
            }
            return Fail(kExitProblems, "the string '" + abbreviation +
                                           "' was kept; use --overwrite to replace it");
        });
}

int RunSet(const std::vector<std::string>& args) {
    return RunOnProjectForWriting(
        args, {}, {}, 3, "string set: give a project file, an abbreviation and its new full string",
        [](ConsoleUi&, CQVNDoc& doc, const ParsedArgs& a) {
            const std::string& abbreviation = a.positional[1];
            std::string value;
            if (!doc.LookupString(abbreviation, value)) {
                return NoSuchString(abbreviation);
            }
            CBibTexString string(abbreviation, value);
            if (!doc.OnStringPropertyChanged(string, StringProperty::FullString, a.positional[2])) {
                return kExitProblems;
            }
            return SaveIfModified(doc);
        });
}

int RunRename(const std::vector<std::string>& args) {
    return RunOnProjectForWriting(
        args, {"replace-references"}, {}, 3,
        "string rename: give a project file, the old and the new abbreviation",
        [](ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs& a) {
            const std::string& oldName = a.positional[1];
            std::string value;
            if (!doc.LookupString(oldName, value)) {
                return NoSuchString(oldName);
            }
            const bool replace = a.Has("replace-references");
            ui.questionAnswer = replace ? MsgResult::Yes : MsgResult::No;
            CBibTexString string(oldName, value);
            const std::string& newName = a.positional[2];
            if (!doc.OnStringPropertyChanged(string, StringProperty::Abbreviation, newName)) {
                // Refused at the question (not for the name itself): say how
                // to answer Yes.
                if (!replace && doc.IsStringInUse(oldName) &&
                    !doc.GetStrings().HasString(newName) && IsValidAbbreviation(newName)) {
                    return Fail(kExitProblems, "the string '" + oldName +
                                                   "' is in use and was not renamed; use "
                                                   "--replace-references");
                }
                return kExitProblems;
            }
            return SaveIfModified(doc);
        });
}

int RunDelete(const std::vector<std::string>& args) {
    return RunOnProjectForWriting(
        args, {"resolve"}, {}, 2, "string delete: give a project file and an abbreviation",
        [](ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs& a) {
            const std::string& abbreviation = a.positional[1];
            if (!doc.GetStrings().HasString(abbreviation)) {
                return NoSuchString(abbreviation);
            }
            ui.questionAnswer = a.Has("resolve") ? MsgResult::Yes : MsgResult::No;
            doc.DeleteString(abbreviation);
            if (doc.GetStrings().HasString(abbreviation)) {
                return Fail(kExitProblems, "the string '" + abbreviation +
                                               "' is in use and was kept; use "
                                               "--resolve to replace its uses by "
                                               "its value");
            }
            return SaveIfModified(doc);
        });
}

int RunDeleteAll(const std::vector<std::string>& args) {
    return RunOnProjectForWriting(args, {}, {}, 1, "string delete-all: give one project file",
                                  [](ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs&) {
                                      // Running the command is the answer to its question.
                                      ui.questionAnswer = MsgResult::Yes;
                                      doc.OnDeleteAllStrings();
                                      return SaveIfModified(doc);
                                  });
}

const CliRegistration kAdd({"string add",
                            "string add PROJECT.qvp ABBR VALUE [--overwrite] [--force]",
                            "define a string (--overwrite replaces an existing one)", RunAdd});
const CliRegistration kSet({"string set", "string set PROJECT.qvp ABBR VALUE [--force]",
                            "change the full string of a string", RunSet});
const CliRegistration
    kRename({"string rename", "string rename PROJECT.qvp OLD NEW [--replace-references] [--force]",
             "rename a string (--replace-references rewrites the items using it)", RunRename});
const CliRegistration
    kDelete({"string delete", "string delete PROJECT.qvp ABBR [--resolve] [--force]",
             "delete a string (--resolve replaces its uses by its value)", RunDelete});
const CliRegistration kDeleteAll({"string delete-all", "string delete-all PROJECT.qvp [--force]",
                                  "delete all strings, replacing their uses by their values",
                                  RunDeleteAll});

} // namespace
} // namespace cli
