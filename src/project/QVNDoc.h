// The project document: the one object that holds the open project. It owns
// the strings, the BibTeX files with their items, the project settings and
// the searches; offers the operations through which views and dialogs change
// them (each success marks the project modified); tells the views to refresh
// through update hints; and runs the project's life cycle (new, open, save).
// It stays the one face of the project: export (CBibTexExport) and string
// maintenance (CStringMaintenance) are classes of its own that it owns, and
// it offers their operations under the same names.
#pragma once

#include "model/BibTexMap.h"
#include "model/BibTexReader.h"
#include "model/BibTexStringTable.h"
#include "model/FileSignature.h"
#include "platform/DocObserver.h"
#include "platform/UserInterface.h"
#include "project/BibTexExport.h"
#include "project/ExportOptions.h"
#include "project/ProjectExtension.h"
#include "project/ProjectRules.h"
#include "project/ProjectSettings.h"
#include "project/StringMaintenance.h"
#include "project/UndoHistory.h"
#include "search/SearchManager.h"

#include <chrono>
#include <cstdint>
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
class CLockFile;
class CRecoveryCopy;

// Where dragged item text comes from.
enum class ItemTextOrigin {
    OtherProgram,  // copied
    ProjectList,   // a list of the project's files or items: moved
    SearchResults, // the results of a search: copied, the items stay
};

// What importing a list of .bib files produced.
struct ImportResult {
    std::vector<std::string> logLines; // summary, error and left-out lines, in order
    int errorTotal = 0;
    // For each file of which something was left out: its summary line and
    // its "Left out ..." lines (shown at the end of the import).
    std::vector<std::string> leftOut;
    std::vector<std::string> unreadable; // "path: cause" of files that could not be read
    bool cancelled = false;              // the user cancelled: nothing entered the project
};

// The .bib files of an import, read but not yet in the project.
struct ImportReading {
    std::vector<std::string> paths;
    std::vector<std::unique_ptr<CBibTexReader>> readers;
    std::vector<bool> opened; // per file: whether it could be read at all
    bool cancelled = false;   // the user cancelled: readers and opened are incomplete
};

class CQVNDoc : private IItemDeletionObserver {
public:
    static constexpr const char* kUntitled = "Untitled";
    static constexpr const char* kAppTitle = "Quorvane";
    static constexpr const char* kProjectFilter = "Quorvane Project (*.qvp)|*.qvp||";
    // File > Open takes a project or a BibTeX file to start one from.
    static constexpr const char* kOpenFilter =
        "Quorvane projects and BibTeX files (*.qvp;*.bib)|*.qvp;*.bib|"
        "Quorvane Project (*.qvp)|*.qvp|BibTeX files (*.bib)|*.bib||";
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
    // Every change of the project sets the flag (and counts as an edit for
    // the recovery copy); saving, opening and a return to the saved state
    // clear it.
    void SetModifiedFlag(bool modified = true);
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

    // --- Undo and redo. Each user action is one step of the history; the
    // document's operations open one themselves, and a caller that runs
    // several of them as one action wraps them in a CUndoStep of its own
    // (the outermost step names the action).
    void BeginUndoStep(std::string_view name) { m_history.BeginStep(name); }
    void EndUndoStep();
    // Told before an item is changed in place from outside the document.
    void NoteItemChange(const CBibTexEntry& item) {
        if (m_items.FindKey(item.GetKey()) == &item) {
            m_history.OnItemChanging(item);
        }
    }
    // Whether changes are recorded at all (the command-line tool has no
    // undo); turning it off forgets the history.
    void EnableUndo(bool enabled) { m_history.Enable(enabled); }
    CUndoHistory& GetHistory() { return m_history; }
    const CUndoHistory& GetHistory() const { return m_history; }
    bool CanUndo() const;
    bool CanRedo() const;
    // "Undo <action>" and "Redo <action>", or the bare words.
    std::string UndoText() const;
    std::string RedoText() const;
    // Takes the last step back or carries the next one out again, tells the
    // views and sets the modified flag by whether the state is the saved one.
    UndoOutcome Undo();
    UndoOutcome Redo();

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
    // Renames a BibTeX file as the user asks it in the explorer (`newName`
    // differs from `oldName`): refused for an illegal name or one that
    // another file or the strings file holds; a change of letter case alone
    // is carried out.
    RenameFileResult RenameBibTexFile(std::string_view oldName, std::string_view newName);
    // The name of a new BibTeX file: the first of "New File", "New File (1)"
    // ... that no file holds and `taken` (when given) does not claim.
    std::string NewFileName(const std::function<bool(const std::string&)>& taken = {}) const {
        return NewBibTexFileName(m_items, taken);
    }
    // The check of a key that a user gives an item.
    KeyCheck CheckItemKey(std::string_view key) const { return ::CheckItemKey(m_items, key); }
    // Also sends UpdateHint::Change without an object.
    bool RemoveFile(std::string_view name);
    bool AddString(std::string_view abbreviation, std::string_view value, bool replace);
    bool LookupString(std::string_view abbreviation, std::string& value) const;
    bool IsStringInUse(std::string_view abbreviation) const;

    // Whether a value the user typed for `field` (a field name, or the
    // abbreviation of a string) may be stored: its braces must balance.
    // Otherwise the user is told, naming `field`, and false is returned.
    bool AcceptTypedValue(std::string_view field, std::string_view text);

    // --- The fields of one item (FieldCommands.cpp).
    enum class AddFieldResult { Added, InvalidName, Exists, UnbalancedValue };
    // Adds the field `name` to an item with a typed value (stored through
    // FormatValue; an empty one as {}): a catalogue name fills the empty
    // catalogue slot, any other name BibTeX can read becomes an other field.
    // Refused for an invalid name, for a field the item already has and for
    // a value whose braces do not balance.
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

    // --- Text of the clipboard and of drag and drop (PasteAndDrop.cpp).
    static constexpr const char* kSelectFileMessage =
        "Please select the file in the tree for these data.";
    static constexpr const char* kInsertFailureCaption = "Insertion failure";
    static constexpr const char* kInsertFailure =
        "Some of the strings couldn't be inserted.\n(%s...))";
    // How much of the list of refused abbreviations the message shows.
    static constexpr int kFailureListChars = 50;

    static bool IsItemText(std::string_view text);
    static bool IsStringText(std::string_view text);
    // Whether a text, read as a whole, gives at least one item: what a list
    // of items accepts as a drop.
    static bool HoldsItems(std::string_view text);
    // Adds the items read from pasted text to the BibTeX file `fileName`,
    // keys made unique, and lists them in `added`. Without a file the user
    // is asked to select one first. False when nothing was added.
    bool PasteItems(std::string_view text, std::string_view fileName,
                    std::vector<CBibTexEntry*>& added);
    // Adds the strings read from pasted text; an abbreviation the project
    // holds is refused, and the user told which. Returns the added
    // (abbreviation, full string) pairs in order.
    std::vector<std::pair<std::string, std::string>> PasteStrings(std::string_view text);
    static std::string InsertFailureText(std::string_view failures);
    // Drops item text on the BibTeX file `targetFile`: items of the
    // project's own lists move there (never onto `sourceFile`, the file they
    // are shown from), other items are copied. Once the text was read,
    // UpdateHint::Change tells the views; true when anything changed.
    bool DropItems(std::string_view text, ItemTextOrigin origin, std::string_view sourceFile,
                   std::string_view targetFile);

    // --- Commands.
    // Runs the new-item wizard for `fileName`; UpdateHint::Bulk unless
    // cancelled.
    void NewItem(const std::string& fileName);
    // Import BibTeX files: the open dialog (unless `paths` are given), the
    // merge, the summary and log.
    void OnImportBibTex(std::vector<std::string> paths = {});
    // The merge of what was read, its summary and the offer of a log.
    void FinishImport(ImportReading& reading);
    // The import without dialogs (the command-line tool uses it directly):
    // ReadForImport, then MergeImport unless cancelled.
    ImportResult ImportFiles(const std::vector<std::string>& paths);
    // Reads every file of an import before anything enters the project, with
    // progress: a cancelled reading leaves the project as it was.
    ImportReading ReadForImport(const std::vector<std::string>& paths);
    // Merges what was read, file by file, and tells what the reading found.
    ImportResult MergeImport(ImportReading& reading);
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

    // --- BibTeX export and string maintenance: the classes that do them,
    // and their operations offered under the same names.
    CBibTexExport& GetExport() { return m_export; }
    const CBibTexExport& GetExport() const { return m_export; }
    CStringMaintenance& GetStringMaintenance() { return m_stringMaintenance; }
    const CStringMaintenance& GetStringMaintenance() const { return m_stringMaintenance; }

    std::optional<std::string> EnsureBibTexLocation() { return m_export.EnsureBibTexLocation(); }
    bool SaveStringsFile(const std::string& folder, const std::string& name) const {
        return m_export.SaveStringsFile(folder, name);
    }
    void SaveAllBibTexFiles(const std::string& folder) const {
        m_export.SaveAllBibTexFiles(folder);
    }
    bool SaveBibTexFile(std::string_view name, const std::string& folder) const {
        return m_export.SaveBibTexFile(name, folder);
    }
    void WriteAllToLocation(const std::string& location) const {
        m_export.WriteAllToLocation(location);
    }
    int GetItemCount(std::string_view name) const { return m_items.GetCount(name); }
    int CollectUsedStrings(const CBibTexEntry& item, std::vector<UsedString>& strings) const {
        return m_export.CollectUsedStrings(item, strings);
    }
    std::vector<UsedString> CollectUsedStrings(std::string_view fileName) const {
        return m_export.CollectUsedStrings(fileName);
    }
    std::vector<MultiExportRow> GetMultiExportRows() const { return m_export.GetMultiExportRows(); }
    bool MultiExport(const MultiExportOptions& options, MultiExportCounts* counts = nullptr) {
        return m_export.MultiExport(options, counts);
    }
    std::string GetSingleExportPath(std::string_view fileName) const {
        return m_export.GetSingleExportPath(fileName);
    }
    bool SingleExport(const SingleExportOptions& options) { return m_export.SingleExport(options); }
    bool OnBibTexSaveAll() { return m_export.OnBibTexSaveAll(); }
    bool IsSaveSelectionEnabled(ExplorerSelection selection) const {
        return m_export.IsSaveSelectionEnabled(selection);
    }
    bool OnSaveSelection(ExplorerSelection selection, const std::string& fileName = {}) {
        return m_export.OnSaveSelection(selection, fileName);
    }
    bool OnBibTexSaveAs() { return m_export.OnBibTexSaveAs(); }
    bool SaveFileAs(const std::string& fileName) { return m_export.SaveFileAs(fileName); }

    std::string ResolvedStringValue(std::string_view abbreviation) const {
        return m_stringMaintenance.ResolvedStringValue(abbreviation);
    }
    int DeleteString(std::string_view abbreviation) {
        return m_stringMaintenance.DeleteString(abbreviation);
    }
    bool OnDeleteAllStrings() { return m_stringMaintenance.OnDeleteAllStrings(); }
    bool OnStringPropertyChanged(CBibTexString& string, StringProperty property,
                                 std::string_view newText) {
        return m_stringMaintenance.OnStringPropertyChanged(string, property, newText);
    }
    static bool IsStringEditorComplete(std::string_view abbreviation, std::string_view fullString) {
        return CStringMaintenance::IsStringEditorComplete(abbreviation, fullString);
    }
    EditStringResult EditStringOk(std::string_view abbreviation, std::string_view fullString) {
        return m_stringMaintenance.EditStringOk(abbreviation, fullString);
    }
    static bool IsReplaceRequestComplete(const CFieldRef& field, std::string_view find,
                                         std::string_view replace) {
        return CStringMaintenance::IsReplaceRequestComplete(field, find, replace);
    }
    int Replace(const ReplaceRequest& request) { return m_stringMaintenance.Replace(request); }
    void OnReplace() { m_stringMaintenance.OnReplace(); }

    // --- Searches (SearchCommands.cpp).
    // Enter in the search bar's query field: reuses an equal search, else
    // runs a new one and keeps it when it found something; then
    // UpdateHint::Search with the search. Without a result (or without an active project) the
    // no-match message is shown, nothing is stored and null is returned.
    CSearch* MakeSearch(std::string_view query, const CFieldRef& field);
    // The names of the fields outside the catalogue that items of the
    // project hold, each once (ignoring letter case), sorted ignoring case.
    std::vector<std::string> CollectOtherFieldNames() const;

    // --- Keeping the project file safe (ProjectFileSafety.cpp): its lock,
    // changes made by other programs, the backup and the recovery copy.
    static constexpr const char* kProgramName = "quorvane";
    // Whether opening and saving take the project file's lock (on by
    // default; the command-line tool takes the lock itself).
    void SetFileLocking(bool locking) { m_locking = locking; }
    // A project held open by another program: every change is refused.
    bool IsReadOnly() const { return m_readOnly; }
    // Whether a command changes the project (and is disabled while the
    // project is read-only).
    static bool IsEditingCommand(int commandId);
    // Each save keeps the previous project file as NAME.qvp.bak.
    void SetKeepBackup(bool keep) { m_keepBackup = keep; }
    bool GetKeepBackup() const { return m_keepBackup; }
    static std::string BackupPathFor(const std::string& path) { return path + ".bak"; }
    // The window got the focus back. When another program changed the
    // project file, a project without unsaved changes is reloaded; otherwise
    // the user decides (reload, save over it, or leave it for now).
    void CheckForOutsideChange();
    // The per-user folder of recovery copies; empty (the default) writes none.
    void SetRecoveryFolder(std::string folder) { m_recoveryFolder = std::move(folder); }
    const std::string& GetRecoveryFolder() const { return m_recoveryFolder; }
    // A copy is written once editing has paused for `pause`, and not sooner
    // than `interval` after the previous one.
    void SetRecoveryTiming(std::chrono::milliseconds pause, std::chrono::milliseconds interval) {
        m_recoveryPause = pause;
        m_recoveryInterval = interval;
    }
    // Writes (in the background), or removes, the recovery copy as the state
    // of the project asks. The desktop program calls it about once a second.
    void MaintainRecoveryCopy();
    // Offers the recovery copies that programs left behind when they ended
    // without closing their project (only those of `projectPath` when it is
    // given); true when one was restored. The current project must have no
    // unsaved changes.
    bool OfferRecovery(const std::string& projectPath = {});
    // The recovery copy's file while one is written (else empty).
    std::string GetRecoveryCopyPath() const;
    // Waits for a recovery copy being written; true when one is on disk.
    bool WaitForRecoveryCopy();

    // --- Status bar texts.
    std::string GetFileCountText() const;
    // The items of the BibTeX file `fileName`, or of the project without a
    // name; with `shown`, how many of them a filtered list shows.
    std::string GetItemCountText(std::string_view fileName = {},
                                 std::optional<int> shown = std::nullopt) const;
    std::string GetLocationText() const;

    // --- Life cycle.
    // "Save changes to %1?" when modified; false when the user cancelled or
    // the save failed.
    bool SaveModified();
    // File > New: the save prompt, then a new project.
    bool OnFileNew();
    // File > Open with a path already chosen: the save prompt, then open.
    bool OnFileOpen(const std::string& path);
    // File > Open: asks for the path first. A .bib file opens as a new
    // project around it (OpenBibTexFiles).
    bool OnFileOpen();
    // Whether a path names a BibTeX file (".bib" in any letter case).
    static bool IsBibTexPath(std::string_view path);
    // A new project around BibTeX files: named after the first file, its
    // BibTeX location that file's folder, its strings file
    // "<name>-strings.bib".
    static NewProjectValues ValuesForBibTexFile(const std::string& path);
    // The save prompt, then a new, unsaved project with the values of the
    // first file and the import of all of them (summary and log question as
    // for an import). The first save proposes "<name>.qvp" beside that file.
    // False when cancelled or when a file cannot be read (nothing changes).
    bool OpenBibTexFiles(const std::vector<std::string>& paths);
    bool OnFileSave();
    bool OnFileSaveAs();
    // The new-project request (the first of the process never runs the wizard).
    void NewProject();
    // Makes the empty document an active project with the wizard's values
    // (what finishing the new-project wizard does).
    void StartProject(const NewProjectValues& values);
    // Reads a project file; on failure the user has been told. Returns true
    // on success. Names of files the project could not write under are
    // replaced (see RepairFileNames); the user is told which, and the
    // project is then modified.
    bool OpenProject(const std::string& path);
    bool SaveProject(const std::string& path);
    void ClearContents();
    void Serialize(CArchive& archive);

    // The project file's bytes for the current contents (what SaveProject
    // writes), and reading contents from bytes (what OpenProject reads).
    // SaveToBytes also runs in the child process that writes recovery
    // copies: it must not reach the user interface.
    // With `progress`, a cancel through it throws a Cancelled CArchiveError.
    std::string SaveToBytes(CProgress* progress = nullptr);
    // The same bytes handed to `sink` a piece at a time, for a large project
    // that need not be held twice.
    void SaveToSink(const std::function<void(std::string_view)>& sink,
                    CProgress* progress = nullptr);
    // Throws CArchiveError; the caller clears the contents on failure.
    void LoadFromBytes(std::string_view bytes);

    // What the last LoadFromBytes found after the plain layout.
    CProjectExtension::ReadResult GetExtensionRead() const { return m_extensionRead; }

    // The message for a file error (errno-style cause) about `path`.
    static std::string FileErrorMessage(int error, const std::string& path, bool saving);

private:
    UndoOutcome FinishUndo(UndoOutcome outcome);
    // Reads the contents of a project file into the given parts: Serialize's
    // loading half. Throws CArchiveError.
    static CProjectExtension::ReadResult ReadContents(CArchive& archive,
                                                      CBibTexStringTable& strings,
                                                      CBibTexMap& items,
                                                      CProjectSettings& settings);
    void OnItemDeleting(const CBibTexEntry& item) override;
    void OnAllItemsDeleting() override;
    MsgResult Message(const std::string& text, const std::string& caption = {},
                      MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);
    void NewProjectFromClear();
    void ApplyLocationRule(const std::string& path);
    // Marks the project modified and tells the user, when names were
    // replaced.
    void ReportReplacedNames(const std::vector<NameReplacement>& replaced);
    void SetPathName(const std::string& path);
    // ProjectFileSafety.cpp
    bool WriteProjectFile(const std::string& path, bool checkOutsideChange);
    bool HoldsLockFor(const std::string& path) const;
    // Takes the project file's lock into `lock` when it is free (it stays
    // empty without locking or where no lock file can be made); returns the
    // lock another program holds, or null.
    std::unique_ptr<CLockFile> TakeLock(const std::string& path, std::unique_ptr<CLockFile>& lock);
    // The lock for a project file about to be opened: false when the user
    // cancelled; `readOnly` when another program holds it.
    bool LockForOpening(const std::string& path, std::unique_ptr<CLockFile>& lock, bool& readOnly);
    bool LockForSaving(const std::string& path, std::unique_ptr<CLockFile>& lock);
    std::string HolderText(const std::string& path, const CLockFile& lock) const;
    // Lets go of the project file: its lock, recovery copy and read-only state.
    void ForgetProjectFile();
    void CommitOpenedFile(std::unique_ptr<CLockFile> lock, bool readOnly, std::string_view bytes);
    MsgResult AskAboutOutsideChange();
    bool ReloadFromDisk(std::string_view bytes);
    static bool IsReadableProject(std::string_view bytes);
    void DiscardRecoveryCopy();
    bool RestoreRecoveryCopy(std::unique_ptr<CRecoveryCopy> copy);

    IUserInterface* m_ui;
    std::string m_title = kUntitled;
    // Where the first save of a project made from a .bib file proposes to
    // store it.
    std::string m_proposedPath;
    std::string m_pathName;
    bool m_modified = false;
    std::vector<IDocObserver*> m_observers;
    std::vector<IItemDeletionObserver*> m_deletionListeners;
    std::function<void()> m_titleChanged;

    bool m_locking = true;
    bool m_readOnly = false;
    bool m_keepBackup = true;
    bool m_checkingOutside = false;
    std::unique_ptr<CLockFile> m_lock;
    // What the project file held when it was last read or written, and a
    // later state the user chose to leave for now.
    std::optional<CFileSignature> m_diskSignature;
    std::optional<CFileSignature> m_declinedSignature;
    std::string m_recoveryFolder;
    std::unique_ptr<CRecoveryCopy> m_recovery;
    std::uint64_t m_changeCount = 0;
    std::uint64_t m_recoveryChangeCount = 0;
    std::chrono::steady_clock::time_point m_lastChange{};
    std::optional<std::chrono::steady_clock::time_point> m_lastRecoveryWrite;
    std::chrono::milliseconds m_recoveryPause{5000};
    std::chrono::milliseconds m_recoveryInterval{60000};

    bool m_active = false;
    bool m_started = false;
    CBibTexStringTable m_strings;
    CBibTexMap m_items;
    CProjectSettings m_settings;
    CUndoHistory m_history{m_items, m_strings, m_settings};
    CSearchManager m_searches;
    CProjectExtension::ReadResult m_extensionRead = CProjectExtension::ReadResult::None;
    // IsStringReference consults this project's strings while it exists.
    CActiveStringTableScope m_activeStrings;
    CBibTexExport m_export{*this};
    CStringMaintenance m_stringMaintenance{*this};
};

// One user action's step of the undo history for the scope's lifetime.
class CUndoStep {
public:
    CUndoStep(CQVNDoc& doc, std::string_view name) : m_doc(doc) { m_doc.BeginUndoStep(name); }
    ~CUndoStep() { m_doc.EndUndoStep(); }
    CUndoStep(const CUndoStep&) = delete;
    CUndoStep& operator=(const CUndoStep&) = delete;

private:
    CQVNDoc& m_doc;
};
