// The project document: the one object that holds the open project. It owns
// the strings, the BibTeX files with their items, the project settings and
// the searches; offers the operations through which views and dialogs change
// them (each success marks the project modified); tells the views to refresh
// through update hints; and runs the project's life cycle (new, open, save).
#pragma once

#include "model/BibTexMap.h"
#include "model/BibTexStringTable.h"
#include "platform/DocObserver.h"
#include "platform/UserInterface.h"
#include "project/ExportOptions.h"
#include "project/ProjectExtension.h"
#include "project/ProjectSettings.h"
#include "project/StringMaintenance.h"
#include "search/SearchManager.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CArchive;
class CBibTexReader;
class CBibTexString;

// What importing a list of .bib files produced.
struct ImportResult {
    std::vector<std::string> logLines; // summary and error lines, in order
    int errorTotal = 0;
    std::vector<std::string> unreadable; // "path: cause" of files that could not be read
};

class CQVNDoc : private IItemDeletionObserver {
public:
    static constexpr const char* kUntitled = "Untitled";
    static constexpr const char* kAppTitle = "Quorvane";
    static constexpr const char* kProjectFilter = "Quorvane Project (*.qvp)|*.qvp||";
    static constexpr const char* kBibFilter = "BibTeX files (*.bib)|*.bib|All files (*.*)|*.*||";
    // Told after opening a project file whose extension block a newer
    // version wrote.
    static constexpr const char* kNewerExtension =
        "This project file holds fields, entry types or @preamble and @comment texts in a "
        "form that a newer version of Quorvane wrote and this version cannot read.\n\n"
        "The project was opened without them. Saving the project will drop them.";

    explicit CQVNDoc(IUserInterface* ui = nullptr);
    ~CQVNDoc();
    CQVNDoc(const CQVNDoc&) = delete;
    CQVNDoc& operator=(const CQVNDoc&) = delete;

    // --- The framework's document: title, path, modified flag, views.
    void SetUserInterface(IUserInterface* ui) { m_ui = ui; }
    IUserInterface* GetUserInterface() const { return m_ui; }
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(std::string title);
    const std::string& GetPathName() const { return m_pathName; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    void AddObserver(IDocObserver* observer);
    void RemoveObserver(IDocObserver* observer);
    // Sends the hint to every observer but the sender.
    void UpdateAllViews(IDocObserver* sender, UpdateHint hint, const HintObject& object = {});
    // Told before any item of the project is deleted (views that hold
    // pointers to items drop them); the listener must outlive its
    // registration.
    void AddDeletionListener(IItemDeletionObserver* listener);
    void RemoveDeletionListener(IItemDeletionObserver* listener);
    // Called whenever the title changes (the main window's caption follows).
    void SetTitleChangedCallback(std::function<void()> callback) {
        m_titleChanged = std::move(callback);
    }

    // --- The project's data. Views read through these; they change the data
    // only through the operations below.
    CBibTexStringTable& GetStrings() { return m_strings; }
    const CBibTexStringTable& GetStrings() const { return m_strings; }
    CBibTexMap& GetItems() { return m_items; }
    const CBibTexMap& GetItems() const { return m_items; }
    CProjectSettings& GetSettings() { return m_settings; }
    const CProjectSettings& GetSettings() const { return m_settings; }
    CSearchManager& GetSearches() { return m_searches; }
    const CSearchManager& GetSearches() const { return m_searches; }

    // --- Model operations; each marks the project modified on success.
    bool IsProjectActive() const { return m_active; }
    bool IsProjectEmpty() const;
    bool HasFile(std::string_view name) const { return m_items.HasFile(name); }
    void MakeUniqueFileName(std::string& name) const { m_items.MakeUniqueFileName(name); }
    bool AddFile(std::string_view name);
    CBibTexEntry* LookupItem(std::string_view fileName, std::string_view key) const;
    CBibTexEntry* FindItem(std::string_view key, std::string& fileName) const;
    // On success the project owns the item.
    bool AddItem(std::unique_ptr<CBibTexEntry>&& item);
    bool AddItem(std::unique_ptr<CBibTexEntry>& item);
    bool DeleteItem(std::string_view key);
    bool MoveItem(CBibTexEntry* item, std::string_view newFileName);
    // Gives an item a new key that no item holds; false (nothing changes)
    // when another item holds it.
    bool ChangeItemKey(CBibTexEntry* item, std::string_view newKey);
    bool CopyItemsFrom(const CBibTexMap& source, std::vector<CBibTexEntry*>& added);
    bool RenameFile(std::string_view oldName, std::string_view newName);
    // Also sends hint 0 without an object.
    bool RemoveFile(std::string_view name);
    bool AddString(std::string_view abbreviation, std::string_view value, bool replace);
    bool LookupString(std::string_view abbreviation, std::string& value) const;
    bool IsStringInUse(std::string_view abbreviation) const;

    // --- The fields of one item (FieldCommands.cpp).
    enum class AddFieldResult { Added, InvalidName, Exists };
    // Adds the field `name` to an item with a typed value (stored through
    // FormatValue; an empty one as {}): a catalogue name fills the empty
    // catalogue slot, any other name BibTeX can read becomes an other field.
    // Refused for an invalid name and for a field the item already has.
    AddFieldResult AddItemField(CBibTexEntry& item, std::string_view name,
                                std::string_view typedValue);
    // What the user is told about a refused field name: text and caption.
    static std::pair<std::string, std::string> AddFieldMessage(AddFieldResult result,
                                                               std::string_view name);
    // Removes a field outside the catalogue, or empties a catalogue field;
    // false when the item has no such field.
    bool DeleteItemField(CBibTexEntry& item, std::string_view name);
    // The question before a field is deleted.
    static std::string DeleteFieldQuestion(std::string_view name);
    // Said when a catalogue field was added that the property window does
    // not show (an ignored field while ignored fields are hidden).
    static std::string HiddenFieldMessage(std::string_view name);

    // --- Text of the clipboard and of drag and drop.
    static bool IsItemText(std::string_view text);
    static bool IsStringText(std::string_view text);

    // --- Commands.
    // Runs the new-item wizard for `fileName`; hint 2 unless cancelled.
    void NewItem(const std::string& fileName);
    // Import BibTeX files: the open dialog, the merge, the summary and log.
    void OnImportBibTex();
    // The import without dialogs (the command-line tool uses it directly).
    ImportResult ImportFiles(const std::vector<std::string>& paths);
    // Merges one reader's strings and items into the project; the reader's
    // items are moved, not copied, and the reader is left without items.
    void Merge(CBibTexReader& reader);
    // Writes the import log (CR LF); throws qvn::CFileError.
    static void WriteImportLog(const std::string& path, const std::vector<std::string>& lines);
    void OnUpdate();
    void OnNewString();
    void OnProjectSettings();
    void OnAppearance();
    // Whether the document enables a command it handles or gates; `handled`
    // tells whether the document has a say at all.
    bool IsCommandEnabled(int commandId, bool& handled) const;
    // Carries out a document command; false when the document does not
    // handle it (or it is disabled).
    bool OnCommand(int commandId);

    // --- BibTeX export (Export.cpp). Writers throw qvn::CFileError with the
    // path and the cause when a file cannot be written or a name from the
    // project is not a plain file name; files written before stay.
    // The BibTeX location when it exists; otherwise the project settings
    // dialog runs and, when confirmed, the location as it then stands.
    std::optional<std::string> EnsureBibTexLocation();
    // The strings file text under `name` in `folder`; false (nothing
    // written, an existing file untouched) when the project has no strings.
    bool SaveStringsFile(const std::string& folder, const std::string& name) const;
    // Every BibTeX file with items as folder/name.bib. A file whose name is
    // not a plain file name, or would replace the strings file, is skipped;
    // the others are written, then the first such file is thrown.
    void SaveAllBibTexFiles(const std::string& folder) const;
    // False when the file does not exist or has no items (nothing written).
    bool SaveBibTexFile(std::string_view name, const std::string& folder) const;
    int GetItemCount(std::string_view name) const { return m_items.GetCount(name); }
    // Adds the strings the required fields of `item` name (exact value match
    // after stripping) unless already listed; returns how many it found.
    int CollectUsedStrings(const CBibTexEntry& item, std::vector<UsedString>& strings) const;
    // The strings used by the items of one file, in first-use order (the
    // single-export dialog's list).
    std::vector<UsedString> CollectUsedStrings(std::string_view fileName) const;
    // Save all (steps after the location check): the strings file under its
    // stored name, then every non-empty BibTeX file. Throws qvn::CFileError.
    void WriteAllToLocation(const std::string& location) const;
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
    // the file was written; on failure the user was told and it stays open.
    bool SingleExport(const SingleExportOptions& options);
    // Save all BibTeX files (command 32812); true when they were written.
    bool OnBibTexSaveAll();
    // Whether Save (BibTeX) of the explorer is enabled for a node: an active,
    // non-empty project and the strings node, the files group or a file.
    bool IsSaveSelectionEnabled(ExplorerSelection selection) const {
        return m_active && !IsProjectEmpty() && selection != ExplorerSelection::Other;
    }
    // Save (BibTeX) of the explorer (command 32809) for the selected node;
    // `fileName` names the file of a BibTeX file node.
    bool OnSaveSelection(ExplorerSelection selection, const std::string& fileName = {});
    // The multi-export dialog (command 32787); true when closed with OK.
    bool OnBibTexSaveAs();
    // The single-export dialog for a BibTeX file (command 32807).
    bool SaveFileAs(const std::string& fileName);

    // --- String maintenance (StringMaintenance.cpp).
    // The text that replaces references to a string when it is deleted:
    // its value, stripped, through FormatValue ("{}" for an empty value).
    std::string ResolvedStringValue(std::string_view abbreviation) const;
    // Deletes one string, asking when it is in use: 0 stop (cancelled, or no
    // such string), 1 continue.
    int DeleteString(std::string_view abbreviation);
    // Delete all strings (command 32803); false when the user said No.
    bool OnDeleteAllStrings();
    // The property window's change of a string's abbreviation or full
    // string; true when accepted (the string then holds the new text).
    bool OnStringPropertyChanged(CBibTexString& string, StringProperty property,
                                 std::string_view newText);
    // Whether the string editor's OK button is enabled.
    static bool IsStringEditorComplete(std::string_view abbreviation, std::string_view fullString);
    // The string editor's OK.
    EditStringResult EditStringOk(std::string_view abbreviation, std::string_view fullString);
    // Whether the replace dialog's OK button is enabled (`field` is -1 while
    // no field is selected).
    static bool IsReplaceRequestComplete(const CFieldRef& field, std::string_view find,
                                         std::string_view replace);
    // Replace after the dialog's OK: marks modified, replaces, tells the
    // count, sends hint 0. Returns the count (-1 for an invalid field).
    int Replace(const ReplaceRequest& request);
    // The replace dialog (command 57641).
    void OnReplace();

    // --- Searches (SearchCommands.cpp).
    // Enter in the search bar's query field: reuses an equal search, else
    // runs a new one and keeps it when it found something; then hint 3 with
    // the search. Without a result (or without an active project) the
    // no-match message is shown, nothing is stored and null is returned.
    CSearch* MakeSearch(std::string_view query, const CFieldRef& field);
    // The names of the fields outside the catalogue that items of the
    // project hold, each once (ignoring letter case), sorted ignoring case.
    std::vector<std::string> CollectOtherFieldNames() const;

    // --- Status bar texts.
    std::string GetFileCountText() const;
    std::string GetLocationText() const;

    // --- Life cycle.
    // "Save changes to %1?" when modified; false when the user cancelled or
    // the save failed.
    bool SaveModified();
    // File > New: the save prompt, then a new project.
    bool OnFileNew();
    // File > Open with a path already chosen: the save prompt, then open.
    bool OnFileOpen(const std::string& path);
    // File > Open: asks for the path first.
    bool OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // The new-project request (the first of the process never runs the wizard).
    void NewProject();
    // Makes the empty document an active project with the wizard's values
    // (what finishing the new-project wizard does).
    void StartProject(const NewProjectValues& values);
    // Reads a project file; on failure the user has been told. Returns true
    // on success.
    bool OpenProject(const std::string& path);
    bool SaveProject(const std::string& path);
    void ClearContents();
    void Serialize(CArchive& archive);

    // The project file's bytes for the current contents (what SaveProject
    // writes), and reading contents from bytes (what OpenProject reads).
    std::string SaveToBytes();
    // Throws CArchiveError; the caller clears the contents on failure.
    void LoadFromBytes(std::string_view bytes);

    // What the last LoadFromBytes found after the plain layout.
    CProjectExtension::ReadResult GetExtensionRead() const { return m_extensionRead; }

    // The message for a file error (errno-style cause) about `path`.
    static std::string FileErrorMessage(int error, const std::string& path, bool saving);

private:
    void OnItemDeleting(const CBibTexEntry& item) override;
    void OnAllItemsDeleting() override;
    MsgResult Message(const std::string& text, const std::string& caption = {},
                      MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);
    void NewProjectFromClear();
    void ApplyLocationRule(const std::string& path);
    void SetPathName(const std::string& path);

    IUserInterface* m_ui;
    std::string m_title = kUntitled;
    std::string m_pathName;
    bool m_modified = false;
    std::vector<IDocObserver*> m_observers;
    std::vector<IItemDeletionObserver*> m_deletionListeners;
    std::function<void()> m_titleChanged;

    bool m_active = false;
    bool m_started = false;
    CBibTexStringTable m_strings;
    CBibTexMap m_items;
    CProjectSettings m_settings;
    CSearchManager m_searches;
    CProjectExtension::ReadResult m_extensionRead = CProjectExtension::ReadResult::None;
    // IsStringReference consults this project's strings while it exists.
    CActiveStringTableScope m_activeStrings;
};
