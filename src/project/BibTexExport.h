// Writing the project's strings and BibTeX files as plain .bib files: save
// all (ID_BIBTEX_SAVE_ALL), save the explorer's selection
// (ID_SAVE_SELECTION), the multi-export (ID_BIBTEX_SAVE_AS) and the single
// export (ID_SAVE_FILE_AS), with the rows their dialogs show. The document
// owns one and offers its operations under the same names.
#pragma once

#include "platform/UserInterface.h"
#include "project/ExportOptions.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CBibTexEntry;
class CBibTexMap;
class CBibTexStringTable;
class CProjectSettings;
class CQVNDoc;

class CBibTexExport {
public:
    explicit CBibTexExport(CQVNDoc& doc);
    CBibTexExport(const CBibTexExport&) = delete;
    CBibTexExport& operator=(const CBibTexExport&) = delete;

    // Writers throw qvn::CFileError with the path and the cause when a file
    // cannot be written or a name from the project is no plain .bib file
    // name; files written before stay.

    // The BibTeX location when it exists; otherwise the project settings
    // dialog runs and, when confirmed, the location as it then stands.
    std::optional<std::string> EnsureBibTexLocation();
    // The strings file text under `name` in `folder`; false (nothing
    // written, an existing file untouched) when the project has no strings.
    bool SaveStringsFile(const std::string& folder, const std::string& name) const;
    // Every BibTeX file with items as folder/name.bib. A file whose name is
    // no plain file name, or would replace the strings file, is skipped;
    // the others are written, then the first such file is thrown.
    void SaveAllBibTexFiles(const std::string& folder) const;
    // False when the file does not exist or has no items (nothing written).
    bool SaveBibTexFile(std::string_view name, const std::string& folder) const;
    // Save all (steps after the location check): the strings file under its
    // stored name, then every non-empty BibTeX file.
    void WriteAllToLocation(const std::string& location) const;

    // Adds the strings the required fields of `item` name (exact value match
    // after stripping) unless already listed; returns how many it found.
    int CollectUsedStrings(const CBibTexEntry& item, std::vector<UsedString>& strings) const;
    // The strings used by the items of one file, in first-use order (the
    // single-export dialog's list).
    std::vector<UsedString> CollectUsedStrings(std::string_view fileName) const;

    // The rows of the multi-export dialog's list: the strings file, then the
    // BibTeX files in collection order.
    std::vector<MultiExportRow> GetMultiExportRows() const;
    // The multi-export dialog's OK. True when the dialog may close: all
    // files were written, the success message was shown and the destination
    // became the last export folder (without marking the project modified).
    bool MultiExport(const MultiExportOptions& options, MultiExportCounts* counts = nullptr);
    // The single-export dialog's initial target: export folder, name, ".bib".
    std::string GetSingleExportPath(std::string_view fileName) const;
    // The single-export dialog's OK: true (after the success message) when
    // the file was written; on failure (a target that is no plain .bib file
    // name included) the user was told and it stays open.
    bool SingleExport(const SingleExportOptions& options);

    // ID_BIBTEX_SAVE_ALL; true when the files were written.
    bool OnBibTexSaveAll();
    // Whether ID_SAVE_SELECTION is enabled for a node: an active, non-empty
    // project and the strings node, the files group or a file.
    bool IsSaveSelectionEnabled(ExplorerSelection selection) const;
    // ID_SAVE_SELECTION for the selected node; `fileName` names the file of
    // a BibTeX file node. Silent when it works.
    bool OnSaveSelection(ExplorerSelection selection, const std::string& fileName = {});
    // ID_BIBTEX_SAVE_AS: the multi-export dialog; true when closed with OK.
    bool OnBibTexSaveAs();
    // ID_SAVE_FILE_AS: the single-export dialog for a BibTeX file.
    bool SaveFileAs(const std::string& fileName);

private:
    IUserInterface* Ui() const;
    void Message(const std::string& text, const std::string& caption, MsgIcon icon) const;

    CQVNDoc& m_doc;
    // The document's data, which lives as long as the document.
    CBibTexStringTable& m_strings;
    CBibTexMap& m_items;
    CProjectSettings& m_settings;
};
