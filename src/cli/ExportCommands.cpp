// Export commands of quorvane-cli: export, export-file, save-all. They write
// .bib files and never change the project file.
#include "cli/CommandSupport.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"
#include "project/QVNDoc.h"

#include <cstdio>

namespace cli {
namespace {

int RunExport(const std::vector<std::string>& args) {
    return RunOnProject(
        args, {"comments", "main", "no-strings"}, {"only"}, 2,
        "export: give a project file and a destination folder",
        [](ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs& a) {
            const std::string& destination = a.positional[1];
            if (destination.empty()) {
                return UsageError("export: the destination folder is empty");
            }
            const std::vector<MultiExportRow> rows = doc.GetMultiExportRows();
            std::vector<bool> checked(rows.size(), false);
            checked[0] = !a.Has("no-strings");
            if (const std::string* only = a.Value("only")) {
                std::size_t pos = 0;
                while (pos <= only->size()) {
                    const std::size_t comma = std::min(only->find(',', pos), only->size());
                    const std::string name = only->substr(pos, comma - pos);
                    pos = comma + 1;
                    bool found = false;
                    for (std::size_t row = 1; row < rows.size(); ++row) {
                        if (rows[row].file == name) {
                            checked[row] = found = true;
                        }
                    }
                    if (!found) {
                        return Fail(kExitCannotRun, "no BibTeX file '" + name + "' in the project");
                    }
                }
            } else {
                std::fill(checked.begin() + 1, checked.end(), true);
            }
            ui.informationToStdout = true;
            // The last export folder changes in memory only: the project
            // file is not saved.
            return doc.MultiExport({destination, checked, a.Has("comments"), a.Has("main")})
                       ? kExitOk
                       : kExitCannotRun;
        });
}

int RunExportFile(const std::vector<std::string>& args) {
    return RunOnProject(args, {"comments", "used-strings"}, {}, 3,
                        "export-file: give a project file, a BibTeX file name and the output file",
                        [](ConsoleUi& ui, CQVNDoc& doc, const ParsedArgs& a) {
                            const std::string& name = a.positional[1];
                            if (!doc.HasFile(name)) {
                                return Fail(kExitCannotRun,
                                            "no BibTeX file '" + name + "' in the project");
                            }
                            ui.informationToStdout = true;
                            return doc.SingleExport({name, a.positional[2], a.Has("comments"),
                                                     a.Has("used-strings")})
                                       ? kExitOk
                                       : kExitCannotRun;
                        });
}

int RunSaveAll(const std::vector<std::string>& args) {
    return RunOnProject(
        args, {}, {}, 1, "save-all: give one project file",
        [](ConsoleUi&, CQVNDoc& doc, const ParsedArgs&) {
            // No settings dialog here: a missing location is an error.
            const std::string location = doc.GetSettings().GetLocation();
            if (!qvn::PathExists(location)) {
                return Fail(kExitCannotRun,
                            "the BibTeX location '" + location + "' does not exist");
            }
            try {
                doc.WriteAllToLocation(location);
            } catch (const qvn::CFileError& error) {
                std::fprintf(stderr, "%s\n",
                             qvn::Format(exporttext::kSaveAllFailure, location.c_str()).c_str());
                return Fail(kExitCannotRun, error.Path() + ": " + error.Cause());
            }
            PrintLine(qvn::Format(exporttext::kSaveAllSuccess, location.c_str()));
            return kExitOk;
        });
}

const CliRegistration kExport(
    {"export",
     "export PROJECT.qvp DIR [--comments] [--main] [--no-strings] [--only NAME[,NAME...]]",
     "write the strings file and the BibTeX files (all, or those named) to DIR", RunExport});
const CliRegistration kExportFile(
    {"export-file", "export-file PROJECT.qvp NAME OUT.bib [--comments] [--used-strings]",
     "write one BibTeX file, optionally with the strings its items use", RunExportFile});
const CliRegistration kSaveAll({"save-all", "save-all PROJECT.qvp",
                                "save the strings file and all BibTeX files to the BibTeX location",
                                RunSaveAll});

} // namespace
} // namespace cli
