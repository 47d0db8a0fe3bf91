// Project commands of quorvane-cli: new, import, info, list, show, strings.
#include "cli/Cli.h"
#include "cli/CommandSupport.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectAccess.h"
#include "model/BibTexReader.h"
#include "model/FileIO.h"
#include "project/LockFile.h"
#include "project/ProjectRules.h"
#include "project/QVNDoc.h"

#include <cstdio>
#include <unordered_set>

namespace cli {

bool OpenProjectFile(CQVNDoc& doc, const std::string& path) {
    // A command takes the project file's lock itself, and only when it
    // changes the project.
    doc.SetFileLocking(false);
    // The first new-project request of a run never asks anything; make it
    // now so that a failed open does not try to run the wizard.
    doc.NewProject();
    return doc.OpenProject(path);
}

bool SaveProjectFile(CQVNDoc& doc, const std::string& path) {
    doc.SetFileLocking(false);
    return doc.SaveProject(path);
}

namespace {

// Imports `files` into the document, prints the import log and saves the
// project to `path`; the exit status says whether all went in cleanly.
int ImportAndSave(CQVNDoc& doc, const std::string& path, const std::vector<std::string>& files,
                  const std::string* log) {
    const ImportResult result = doc.ImportFiles(files);
    for (const std::string& line : result.logLines) {
        PrintLine(line);
    }
    PrintLine(FormatImportTotal(result.errorTotal));
    for (const std::string& problem : result.unreadable) {
        std::fprintf(stderr, "quorvane-cli: cannot read %s\n", problem.c_str());
    }
    if (log != nullptr) {
        try {
            CQVNDoc::WriteImportLog(*log, result.logLines);
        } catch (const qvn::CFileError& error) {
            std::fprintf(stderr, "quorvane-cli: %s\n", error.what());
            return kExitCannotRun;
        }
    }
    doc.SetModifiedFlag();
    if (!SaveProjectFile(doc, path)) {
        return kExitCannotRun;
    }
    return (result.errorTotal > 0 || !result.unreadable.empty()) ? kExitProblems : kExitOk;
}

int RunNew(const std::vector<std::string>& args) {
    const ParsedArgs a =
        ParseArgs(args, {"force"}, {"name", "location", "strings-file", "from", "log"});
    if (!a.error.empty()) {
        return UsageError(a.error);
    }
    // --from names the first .bib file; more follow the project file.
    const std::string* from = a.Value("from");
    if (from == nullptr && a.positional.size() != 1) {
        return UsageError("new: give exactly one project file");
    }
    if (from == nullptr && a.Value("log") != nullptr) {
        return UsageError("new: --log goes with --from");
    }
    if (a.positional.empty()) {
        return UsageError("new: give a project file");
    }
    const std::string& path = a.positional[0];
    if (qvn::PathExists(path) && !a.Has("force")) {
        std::fprintf(stderr, "quorvane-cli: %s exists; use --force to replace it\n", path.c_str());
        return kExitCannotRun;
    }
    const std::string* name = a.Value("name");
    const std::string* location = a.Value("location");
    const std::string* strings = a.Value("strings-file");
    if (strings != nullptr && !IsValidStringsFileName(*strings)) {
        return UsageError("new: --strings-file '" + *strings + "' is refused. " +
                          InvalidStringsFileMessage());
    }
    std::unique_ptr<CLockFile> lock;
    if (const auto status = LockForWriting(path, a.Has("force"), lock)) {
        return *status;
    }
    ConsoleUi ui;
    CQVNDoc doc(&ui);
    doc.EnableUndo(false); // each command is one batch: nothing to take back
    doc.NewProject();
    if (from != nullptr) {
        // Named and placed after the first file unless told otherwise.
        std::vector<std::string> files{*from};
        files.insert(files.end(), a.positional.begin() + 1, a.positional.end());
        // A new project made of nothing would hide the mistake.
        for (const std::string& file : files) {
            if (!qvn::PathExists(file) || qvn::IsDirectory(file)) {
                std::fprintf(stderr, "quorvane-cli: cannot read %s\n", file.c_str());
                return kExitCannotRun;
            }
        }
        const NewProjectValues values = CQVNDoc::ValuesForBibTexFile(*from);
        doc.StartProject({name ? *name : values.name, location ? *location : values.location,
                          strings ? *strings : values.stringsFileName});
        return ImportAndSave(doc, path, files, a.Value("log"));
    }
    doc.StartProject({name ? *name : std::string(), location ? *location : std::string(),
                      strings ? *strings : std::string("strings.bib")});
    return SaveProjectFile(doc, path) ? kExitOk : kExitCannotRun;
}

int RunImport(const std::vector<std::string>& args) {
    const ParsedArgs a = ParseArgs(args, {"force"}, {"log"});
    if (!a.error.empty()) {
        return UsageError(a.error);
    }
    if (a.positional.size() < 2) {
        return UsageError("import: give a project file and at least one .bib file");
    }
    const std::string& path = a.positional[0];
    std::unique_ptr<CLockFile> lock;
    if (const auto status = LockForWriting(path, a.Has("force"), lock)) {
        return *status;
    }
    ConsoleUi ui;
    CQVNDoc doc(&ui);
    doc.EnableUndo(false); // each command is one batch: nothing to take back
    if (qvn::PathExists(path)) {
        if (!OpenProjectFile(doc, path)) {
            return kExitCannotRun;
        }
    } else {
        doc.NewProject();
        doc.StartProject({"", "", "strings.bib"});
    }
    const std::vector<std::string> files(a.positional.begin() + 1, a.positional.end());
    return ImportAndSave(doc, path, files, a.Value("log"));
}

// Opens the project named by the first positional argument for reading.
int WithProject(const std::vector<std::string>& args, const std::vector<std::string>& withValue,
                std::size_t minPositional, std::size_t maxPositional, const char* usage,
                const std::function<int(CQVNDoc&, const ParsedArgs&)>& body) {
    const ParsedArgs a = ParseArgs(args, {}, withValue);
    if (!a.error.empty()) {
        return UsageError(a.error);
    }
    if (a.positional.size() < minPositional || a.positional.size() > maxPositional) {
        return UsageError(usage);
    }
    ConsoleUi ui;
    CQVNDoc doc(&ui);
    doc.EnableUndo(false); // each command is one batch: nothing to take back
    if (!OpenProjectFile(doc, a.positional[0])) {
        return kExitCannotRun;
    }
    return body(doc, a);
}

int RunInfo(const std::vector<std::string>& args) {
    return WithProject(
        args, {}, 1, 1, "info: give one project file", [](CQVNDoc& doc, const ParsedArgs&) {
            const CProjectSettings& s = doc.GetSettings();
            PrintLine("name: " + s.GetProjectName());
            PrintLine("location: " + s.GetLocation());
            PrintLine("strings file: " + s.GetStringsFile());
            PrintLine("export folder: " + s.GetLastExportFolder());
            PrintLine("files: " + std::to_string(doc.GetItems().GetFileCount()));
            PrintLine("items: " + std::to_string(doc.GetItems().GetTotalCount()));
            PrintLine("strings: " + std::to_string(doc.GetStrings().GetCount()));
            // What the items hold beyond the catalogue.
            int otherTypeItems = 0;
            int otherValues = 0;
            std::unordered_set<std::string> otherTypes;
            doc.GetItems().ForEachItem([&](const CBibTexEntry& item) {
                if (item.HasOtherType()) {
                    ++otherTypeItems;
                    otherTypes.insert(std::string(item.GetTypeName()));
                }
                otherValues += item.GetOtherFieldCount();
            });
            int preambles = 0;
            int comments = 0;
            for (const auto& [name, items] : doc.GetItems().Files()) {
                if (const auto* blocks = doc.GetItems().GetBlocks(name)) {
                    for (const CBibTexBlock& block : *blocks) {
                        ++(block.kind == CBibTexBlock::Kind::Preamble ? preambles : comments);
                    }
                }
            }
            PrintLine("other entry types: " + std::to_string(otherTypes.size()) + " (" +
                      std::to_string(otherTypeItems) + " items)");
            PrintLine("other fields: " + std::to_string(doc.CollectOtherFieldNames().size()) +
                      " (" + std::to_string(otherValues) + " values)");
            PrintLine("preambles: " + std::to_string(preambles));
            PrintLine("comments: " + std::to_string(comments));
            return kExitOk;
        });
}

int RunList(const std::vector<std::string>& args) {
    return WithProject(
        args, {"file"}, 1, 1, "list: give one project file", [](CQVNDoc& doc, const ParsedArgs& a) {
            const std::string* only = a.Value("file");
            if (only != nullptr && !doc.HasFile(*only)) {
                std::fprintf(stderr, "quorvane-cli: no BibTeX file '%s' in the project\n",
                             only->c_str());
                return kExitProblems;
            }
            for (const auto& [name, items] : doc.GetItems().Files()) {
                if (only != nullptr && name != *only) {
                    continue;
                }
                for (const auto& [key, item] : *items) {
                    PrintLine(name + "\t" + key + "\t" + std::string(item->GetTypeName()));
                }
            }
            return kExitOk;
        });
}

int RunShow(const std::vector<std::string>& args) {
    return WithProject(args, {}, 2, static_cast<std::size_t>(-1),
                       "show: give a project file and keys", [](CQVNDoc& doc, const ParsedArgs& a) {
                           int status = kExitOk;
                           for (std::size_t i = 1; i < a.positional.size(); ++i) {
                               const CBibTexEntry* item = doc.GetItems().FindKey(a.positional[i]);
                               if (item == nullptr) {
                                   std::fprintf(stderr, "quorvane-cli: no item with the key '%s'\n",
                                                a.positional[i].c_str());
                                   status = kExitProblems;
                                   continue;
                               }
                               const std::string text = item->FormatText();
                               std::fwrite(text.data(), 1, text.size(), stdout);
                           }
                           return status;
                       });
}

int RunStrings(const std::vector<std::string>& args) {
    return WithProject(args, {}, 1, 1, "strings: give one project file",
                       [](CQVNDoc& doc, const ParsedArgs&) {
                           const std::string text = doc.GetStrings().FormatStrings();
                           std::fwrite(text.data(), 1, text.size(), stdout);
                           return kExitOk;
                       });
}

const CliRegistration kNew({"new",
                            "new PROJECT.qvp [--from FILE.bib [MORE.bib...] [--log LOGFILE]] "
                            "[--name NAME] [--location DIR] [--strings-file NAME] [--force]",
                            "create a project file, empty or with .bib files imported (named "
                            "after the first, its folder the BibTeX location)",
                            RunNew});
const CliRegistration
    kImport({"import", "import PROJECT.qvp FILE... [--log LOGFILE] [--force]",
             "import .bib files into a project (created when missing) and save it", RunImport});
const CliRegistration kInfo({"info", "info PROJECT.qvp", "show a project's settings and counts",
                             RunInfo});
const CliRegistration kList({"list", "list PROJECT.qvp [--file NAME]",
                             "list the items: FILE<TAB>KEY<TAB>TYPE", RunList});
const CliRegistration kShow({"show", "show PROJECT.qvp KEY...", "print items as BibTeX text",
                             RunShow});
const CliRegistration kStrings({"strings", "strings PROJECT.qvp", "print the @string lines",
                                RunStrings});

} // namespace
} // namespace cli
