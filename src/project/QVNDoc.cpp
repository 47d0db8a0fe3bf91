#include "project/QVNDoc.h"

#include "model/Archive.h"
#include "model/BibTexReader.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"
#include "project/CommandIds.h"
#include "project/LockFile.h"
#include "project/ProjectExtension.h"
#include "project/ProjectRules.h"
#include "project/RecoveryCopy.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

CQVNDoc::CQVNDoc(IUserInterface* ui) : m_ui(ui), m_searches(&m_items), m_activeStrings(&m_strings) {
    m_items.SetDeletionObserver(this);
}

CQVNDoc::~CQVNDoc() {
    // Closing the project: its recovery copy is no longer needed.
    ForgetProjectFile();
    m_items.SetDeletionObserver(nullptr);
}

void CQVNDoc::SetModifiedFlag(bool modified) {
    m_modified = modified;
    if (modified) {
        ++m_changeCount;
        m_lastChange = std::chrono::steady_clock::now();
    } else {
        m_history.MarkSaved();
    }
}

// ---------------------------------------------------------------------------
// Undo and redo

void CQVNDoc::EndUndoStep() {
    m_history.EndStep();
}

bool CQVNDoc::CanUndo() const {
    return m_active && !m_readOnly && m_history.CanUndo();
}

bool CQVNDoc::CanRedo() const {
    return m_active && !m_readOnly && m_history.CanRedo();
}

std::string CQVNDoc::UndoText() const {
    return CanUndo() && !m_history.UndoName().empty() ? "Undo " + m_history.UndoName()
                                                      : std::string("Undo");
}

std::string CQVNDoc::RedoText() const {
    return CanRedo() && !m_history.RedoName().empty() ? "Redo " + m_history.RedoName()
                                                      : std::string("Redo");
}

UndoOutcome CQVNDoc::Undo() {
    return CanUndo() ? FinishUndo(m_history.Undo()) : UndoOutcome{};
}

UndoOutcome CQVNDoc::Redo() {
    return CanRedo() ? FinishUndo(m_history.Redo()) : UndoOutcome{};
}

UndoOutcome CQVNDoc::FinishUndo(UndoOutcome outcome) {
    if (!outcome.done) {
        return outcome;
    }
    SetModifiedFlag(!m_history.IsAtSavedState());
    if (outcome.files) {
        UpdateAllViews(nullptr, UpdateHint::Change);
    }
    UpdateAllViews(nullptr, UpdateHint::Bulk);
    return outcome;
}

// ---------------------------------------------------------------------------
// The framework's document

void CQVNDoc::SetTitle(std::string title) {
    m_title = std::move(title);
    if (m_titleChanged) {
        m_titleChanged();
    }
}

void CQVNDoc::SetPathName(const std::string& path) {
    m_pathName = path;
    m_proposedPath.clear();
    std::string title = qvn::NameOfPath(path);
    if (title.size() > 4 && qvn::ToLowerAscii(title.substr(title.size() - 4)) == ".qvp") {
        title.resize(title.size() - 4);
    }
    SetTitle(title);
}

void CQVNDoc::AddDeletionListener(IItemDeletionObserver* listener) {
    if (std::find(m_deletionListeners.begin(), m_deletionListeners.end(), listener) ==
        m_deletionListeners.end()) {
        m_deletionListeners.push_back(listener);
    }
}

void CQVNDoc::RemoveDeletionListener(IItemDeletionObserver* listener) {
    std::erase(m_deletionListeners, listener);
}

void CQVNDoc::OnItemDeleting(const CBibTexEntry& item) {
    m_searches.OnItemDeleting(item);
    for (IItemDeletionObserver* listener : m_deletionListeners) {
        listener->OnItemDeleting(item);
    }
}

void CQVNDoc::OnAllItemsDeleting() {
    m_searches.OnAllItemsDeleting();
    for (IItemDeletionObserver* listener : m_deletionListeners) {
        listener->OnAllItemsDeleting();
    }
}

void CQVNDoc::AddObserver(IDocObserver* observer) {
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end()) {
        m_observers.push_back(observer);
    }
}

void CQVNDoc::RemoveObserver(IDocObserver* observer) {
    std::erase(m_observers, observer);
}

void CQVNDoc::UpdateAllViews(IDocObserver* sender, UpdateHint hint, const HintObject& object) {
    // A copy: an observer may attach or detach views while it is updated
    // (the main view is replaced when the explorer's selection changes).
    const std::vector<IDocObserver*> observers = m_observers;
    for (IDocObserver* observer : observers) {
        if (observer != sender &&
            std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end()) {
            observer->OnUpdate(sender, hint, object);
        }
    }
}

MsgResult CQVNDoc::Message(const std::string& text, const std::string& caption, MsgIcon icon,
                           MsgButtons buttons) {
    return ShowMessage(m_ui, text, caption, icon, buttons);
}

// ---------------------------------------------------------------------------
// Model operations

bool CQVNDoc::AcceptTypedValue(std::string_view field, std::string_view text) {
    if (CTexObject::HasBalancedBraces(text)) {
        return true;
    }
    Message(CTexObject::UnbalancedBracesMessage(field), kUnbalancedBracesCaption, MsgIcon::Warning);
    return false;
}

bool CQVNDoc::IsProjectEmpty() const {
    return m_strings.GetCount() == 0 && m_items.GetFileCount() == 0;
}

bool CQVNDoc::AddFile(std::string_view name) {
    CUndoStep step(*this, "New File");
    if (m_readOnly || !m_items.AddFile(name)) {
        return false;
    }
    SetModifiedFlag();
    return true;
}

CBibTexEntry* CQVNDoc::LookupItem(std::string_view fileName, std::string_view key) const {
    return m_items.Lookup(fileName, key);
}

CBibTexEntry* CQVNDoc::FindItem(std::string_view key, std::string& fileName) const {
    return m_items.FindKey(key, fileName);
}

bool CQVNDoc::AddItem(std::unique_ptr<CBibTexEntry>& item) {
    CUndoStep step(*this, "New Item");
    if (m_readOnly || !item || !m_items.Add(item)) {
        return false;
    }
    SetModifiedFlag();
    return true;
}

bool CQVNDoc::AddItem(std::unique_ptr<CBibTexEntry>&& item) {
    std::unique_ptr<CBibTexEntry> owned = std::move(item);
    return AddItem(owned);
}

bool CQVNDoc::DeleteItem(std::string_view key) {
    CUndoStep step(*this, "Delete");
    if (m_readOnly || !m_items.Delete(key)) {
        return false;
    }
    SetModifiedFlag();
    return true;
}

bool CQVNDoc::MoveItem(CBibTexEntry* item, std::string_view newFileName) {
    CUndoStep step(*this, "Move");
    if (m_readOnly || !m_items.MoveItem(item, newFileName)) {
        return false;
    }
    SetModifiedFlag();
    return true;
}

bool CQVNDoc::ChangeItemKey(CBibTexEntry* item, std::string_view newKey) {
    CUndoStep step(*this, "Change Key");
    if (m_readOnly || item == nullptr || m_items.FindKey(newKey) != nullptr) {
        return false;
    }
    std::unique_ptr<CBibTexEntry> owned = m_items.Detach(item->GetKey());
    if (!owned) {
        return false;
    }
    owned->SetKey(std::string(newKey));
    // The key was just found free, so adding keeps it as it is.
    m_items.Add(owned);
    SetModifiedFlag();
    return true;
}

bool CQVNDoc::CopyItemsFrom(const CBibTexMap& source, std::vector<CBibTexEntry*>& added) {
    CUndoStep step(*this, "Copy");
    if (m_readOnly || m_items.CopyAllFrom(source, added) == 0) {
        return false;
    }
    SetModifiedFlag();
    return true;
}

bool CQVNDoc::RenameFile(std::string_view oldName, std::string_view newName) {
    CUndoStep step(*this, "Rename File");
    if (m_readOnly || !m_items.RenameFile(oldName, newName)) {
        return false;
    }
    SetModifiedFlag();
    return true;
}

RenameFileResult CQVNDoc::RenameBibTexFile(std::string_view oldName, std::string_view newName) {
    CUndoStep step(*this, "Rename File");
    if (!IsLegalBibTexFileName(newName)) {
        return RenameFileResult::Illegal;
    }
    if (HasFile(newName) || IsReservedBibTexFileName(m_settings, newName)) {
        return RenameFileResult::InUse;
    }
    if (!qvn::EqualsNoCase(oldName, newName) || !HasFile(oldName)) {
        return RenameFile(oldName, newName) ? RenameFileResult::Renamed : RenameFileResult::Failed;
    }
    // The collection leaves a change of letter case alone; going through a
    // free name carries it out.
    std::string temporary = std::string(oldName) + " (renaming)";
    MakeUniqueFileName(temporary);
    if (!RenameFile(oldName, temporary)) {
        return RenameFileResult::Failed;
    }
    if (!RenameFile(temporary, newName)) {
        RenameFile(temporary, oldName);
        return RenameFileResult::Failed;
    }
    return RenameFileResult::Renamed;
}

bool CQVNDoc::RemoveFile(std::string_view name) {
    CUndoStep step(*this, "Remove File");
    if (m_readOnly || !m_items.RemoveFile(name)) {
        return false;
    }
    SetModifiedFlag();
    UpdateAllViews(nullptr, UpdateHint::Change);
    return true;
}

bool CQVNDoc::AddString(std::string_view abbreviation, std::string_view value, bool replace) {
    CUndoStep step(*this, "Change String");
    if (m_readOnly || !m_strings.AddString(abbreviation, value, replace)) {
        return false;
    }
    SetModifiedFlag();
    return true;
}

bool CQVNDoc::LookupString(std::string_view abbreviation, std::string& value) const {
    return m_strings.LookupString(abbreviation, value);
}

bool CQVNDoc::IsStringInUse(std::string_view abbreviation) const {
    return m_items.IsValueInUse(abbreviation);
}

// ---------------------------------------------------------------------------
// Commands

void CQVNDoc::NewItem(const std::string& fileName) {
    CUndoStep step(*this, "New Item");
    if (m_readOnly || m_ui == nullptr ||
        !m_ui->RunNewItemWizard(*this, "New BibTex item...", fileName)) {
        return;
    }
    UpdateAllViews(nullptr, UpdateHint::Bulk);
    SetModifiedFlag();
}

void CQVNDoc::Merge(CBibTexReader& reader) {
    CUndoStep step(*this, "Import");
    // Strings are stored without their outer delimiters, unless these do not
    // enclose the whole value ("IEEE" # " Trans."): stripping would break it.
    // Nor when the text inside them is the name of a string or a month: bare,
    // {sbh} would be taken for a reference to the string sbh. Nor when that
    // text is itself one brace group ("{IEEE}"): written, its braces would be
    // taken for delimiters and the protection of its letters would be lost.
    const CBibTexStringTable& read = reader.GetStrings();
    for (const auto& [abbreviation, value] : read) {
        std::string_view stored = CTexObject::StripOneGroup(value);
        if (stored.size() != value.size() &&
            ((CBibTexStringTable::IsBareName(stored) &&
              (CTexObject::IsMonthName(stored) || read.HasString(stored) ||
               m_strings.HasString(stored))) ||
             CTexObject::IsOneGroup(stored))) {
            stored = value;
        }
        if (m_strings.AddString(abbreviation, stored, false)) {
            SetModifiedFlag();
        }
    }
    // Each item enters the project as a copy would: same file name, key, type
    // and the 38 field values. Moving it saves the copy.
    const int added = m_items.MoveAllFrom(
        reader.GetItems(), [](CBibTexEntry& item) { item.SetValueCount(kFieldCount); });
    if (added > 0) {
        SetModifiedFlag();
    }
}

ImportResult CQVNDoc::ImportFiles(const std::vector<std::string>& paths) {
    ImportReading reading = ReadForImport(paths);
    if (reading.cancelled) {
        ImportResult result;
        result.cancelled = true;
        return result;
    }
    return MergeImport(reading);
}

ImportReading CQVNDoc::ReadForImport(const std::vector<std::string>& paths) {
    ImportReading reading;
    reading.paths = paths;
    CBusyCursor busy(m_ui);
    std::vector<std::uint64_t> sizes;
    std::uint64_t total = 0;
    for (const std::string& path : paths) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        sizes.push_back(error ? 0 : static_cast<std::uint64_t>(size));
        total += sizes.back();
    }
    CProgress progress(m_ui, "Importing BibTeX files...");
    std::uint64_t before = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        auto& reader = reading.readers.emplace_back(std::make_unique<CBibTexReader>(paths[i]));
        reader->SetProgress([&progress, &before, total](std::size_t done, std::size_t) {
            return progress.Step(before + done, total);
        });
        reading.opened.push_back(progress.Step(before, total) && reader->ReadFile() == 1);
        if (progress.Cancelled() || reader->WasCancelled()) {
            reading.cancelled = true;
            break;
        }
        before += sizes[i];
    }
    return reading;
}

ImportResult CQVNDoc::MergeImport(ImportReading& reading) {
    CUndoStep step(*this, "Import");
    ImportResult result;
    CBusyCursor busy(m_ui);
    for (std::size_t i = 0; i < reading.readers.size(); ++i) {
        const std::string& path = reading.paths[i];
        CBibTexReader& reader = *reading.readers[i];
        // The summary counts what the reader found, before the merge takes
        // its items.
        std::vector<std::string> lines = FormatImportSummary(path, reader);
        std::vector<std::string> leftOut = FormatLeftOut(reader.GetStats());
        // A .bib file whose name no file of the project may carry ("con",
        // "a:b") gives its items to a BibTeX file of a safe name.
        CProjectSettings names = m_settings;
        for (const NameReplacement& renamed : RepairFileNames(names, reader.GetItems())) {
            const std::string line = qvn::Substitute(
                "    - The items go to the BibTeX file '%1': '%2' cannot be a file name.",
                {renamed.newName, DisplayName(renamed.oldName)});
            lines.push_back(line);
            leftOut.push_back(line);
        }
        if (!leftOut.empty()) {
            result.leftOut.push_back(lines.front());
            result.leftOut.insert(result.leftOut.end(), leftOut.begin(), leftOut.end());
        }
        for (std::string& line : lines) {
            result.logLines.push_back(std::move(line));
        }
        if (reading.opened[i]) {
            Merge(reader);
        } else {
            result.unreadable.push_back(path + ": " + reader.GetOpenError());
        }
        result.errorTotal += static_cast<int>(reader.GetErrors().size());
        reading.readers[i].reset();
    }
    return result;
}

void CQVNDoc::WriteImportLog(const std::string& path, const std::vector<std::string>& lines) {
    std::string text = "Quorvane Import Log File\n=========================\n\n";
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    qvn::WriteTextFile(path, text);
}

void CQVNDoc::OnImportBibTex(std::vector<std::string> paths) {
    if (m_readOnly || m_ui == nullptr) {
        return;
    }
    if (paths.empty()) {
        FileDialogRequest request;
        request.filter = kBibFilter;
        request.defaultExtension = "bib";
        request.initialName = "*.bib";
        request.multiSelect = true;
        paths = m_ui->GetOpenFileNames(request);
    }
    if (paths.empty()) {
        return;
    }
    ImportReading reading = ReadForImport(paths);
    if (reading.cancelled) {
        m_ui->ShowStatusMessage("Import cancelled: nothing was added to the project.");
        return;
    }
    FinishImport(reading);
}

void CQVNDoc::FinishImport(ImportReading& reading) {
    const ImportResult result = MergeImport(reading);
    if (m_ui == nullptr) {
        UpdateAllViews(nullptr, UpdateHint::Bulk);
        return;
    }
    std::string finished = qvn::Format("Import with %d errors finished.", result.errorTotal);
    // What was left out is told here too, not only in the log.
    if (!result.leftOut.empty()) {
        finished += "\n";
        for (const std::string& line : result.leftOut) {
            finished += "\n" + line;
        }
        if (result.errorTotal > 0) {
            finished += "\n\n";
        }
    }
    if (result.errorTotal <= 0) {
        Message(finished);
    } else if (Message(finished + "Do you want to create a log file?", "Import errors",
                       MsgIcon::None, MsgButtons::YesNo) == MsgResult::Yes) {
        FileDialogRequest save;
        save.filter = "BibTeX files (*.log)|*.log||";
        save.defaultExtension = ".log";
        save.initialName = "QVNImport.log";
        save.overwritePrompt = true;
        if (const auto logPath = m_ui->GetSaveFileName(save)) {
            CBusyCursor busy(m_ui);
            try {
                WriteImportLog(*logPath, result.logLines);
            } catch (const qvn::CFileError& error) {
                Message(FileErrorMessage(error.Error(), error.Path(), true), {}, MsgIcon::Warning);
            }
        }
    }
    UpdateAllViews(nullptr, UpdateHint::Bulk);
    SetModifiedFlag();
}

void CQVNDoc::OnUpdate() {
    UpdateAllViews(nullptr, UpdateHint::Contents);
}

void CQVNDoc::OnNewString() {
    CUndoStep step(*this, "New String");
    if (m_readOnly || m_ui == nullptr || !m_ui->RunStringEditor(*this)) {
        return;
    }
    UpdateAllViews(nullptr, UpdateHint::Bulk);
    SetModifiedFlag();
}

void CQVNDoc::OnProjectSettings() {
    if (!m_readOnly && m_ui != nullptr) {
        CUndoStep step(*this, "Project Settings");
        m_ui->RunProjectSettingsDialog(*this, "Project settings");
    }
}

void CQVNDoc::OnAppearance() {
    if (m_ui != nullptr) {
        m_ui->RunAppearanceDialog(*this, "Appearance");
    }
}

bool CQVNDoc::IsCommandEnabled(int commandId, bool& handled) const {
    switch (commandId) {
    case ID_BIBTEX_IMPORT:
    case ID_BIBTEX_SAVE_AS:
    case ID_BIBTEX_SAVE_ALL:
    case ID_VIEW_UPDATE:
    case ID_NEW_STRING:
    case ID_PROJECT_SETTINGS:
    case ID_DELETE_ALL_STRINGS:
    case ID_EDIT_REPLACE:
    case ID_APPEARANCE:
    case ID_NEW_BIBTEX_ITEM:
    case ID_SEARCH:
        handled = true;
        return m_active && !(m_readOnly && IsEditingCommand(commandId));
    case ID_FILE_SAVE:
        handled = true;
        return !m_readOnly;
    case ID_EDIT_UNDO:
        handled = true;
        return CanUndo();
    case ID_EDIT_REDO:
        handled = true;
        return CanRedo();
    case ID_FILE_SAVE_AS:
        handled = true;
        return true;
    default:
        handled = false;
        return false;
    }
}

bool CQVNDoc::OnCommand(int commandId) {
    bool handled = false;
    if (!IsCommandEnabled(commandId, handled) || !handled) {
        return handled;
    }
    switch (commandId) {
    case ID_BIBTEX_IMPORT:
        OnImportBibTex();
        return true;
    case ID_BIBTEX_SAVE_AS:
        OnBibTexSaveAs();
        return true;
    case ID_BIBTEX_SAVE_ALL:
        OnBibTexSaveAll();
        return true;
    case ID_DELETE_ALL_STRINGS:
        OnDeleteAllStrings();
        return true;
    case ID_EDIT_UNDO:
        Undo();
        return true;
    case ID_EDIT_REDO:
        Redo();
        return true;
    case ID_EDIT_REPLACE:
        OnReplace();
        return true;
    case ID_VIEW_UPDATE:
        OnUpdate();
        return true;
    case ID_NEW_STRING:
        OnNewString();
        return true;
    case ID_PROJECT_SETTINGS:
        OnProjectSettings();
        return true;
    case ID_APPEARANCE:
        OnAppearance();
        return true;
    case ID_FILE_SAVE:
        OnFileSave();
        return true;
    case ID_FILE_SAVE_AS:
        OnFileSaveAs();
        return true;
    default:
        // Commands whose work is done elsewhere (new item, search) are only
        // enabled here.
        return false;
    }
}

std::string CQVNDoc::GetFileCountText() const {
    return qvn::Format("\t%d files", m_items.GetFileCount());
}

std::string CQVNDoc::GetItemCountText(std::string_view fileName, std::optional<int> shown) const {
    const int count = fileName.empty() ? m_items.GetTotalCount() : GetItemCount(fileName);
    if (shown) {
        return qvn::Format("\t%d of %d entries", *shown, count);
    }
    return qvn::Format("\t%d entries", count);
}

std::string CQVNDoc::GetLocationText() const {
    return m_settings.GetExportFolder();
}

// ---------------------------------------------------------------------------
// Life cycle

bool CQVNDoc::SaveModified() {
    if (!m_modified) {
        return true;
    }
    const std::string text = qvn::Substitute("Save changes to %1?", {m_title});
    switch (Message(text, {}, MsgIcon::Warning, MsgButtons::YesNoCancel)) {
    case MsgResult::Yes:
        return OnFileSave();
    case MsgResult::No:
        return true;
    default:
        return false;
    }
}

bool CQVNDoc::OnFileNew() {
    if (!SaveModified()) {
        return false;
    }
    NewProject();
    return true;
}

bool CQVNDoc::OnFileOpen() {
    if (m_ui == nullptr) {
        return false;
    }
    FileDialogRequest request;
    request.filter = kOpenFilter;
    request.defaultExtension = "qvp";
    request.multiSelect = true;
    const std::vector<std::string> paths = m_ui->GetOpenFileNames(request);
    if (paths.empty()) {
        return false;
    }
    // Several .bib files chosen together make one project.
    std::vector<std::string> bibFiles;
    std::copy_if(paths.begin(), paths.end(), std::back_inserter(bibFiles), IsBibTexPath);
    if (IsBibTexPath(paths.front())) {
        return OpenBibTexFiles(bibFiles);
    }
    return OnFileOpen(paths.front());
}

bool CQVNDoc::OnFileOpen(const std::string& path) {
    if (IsBibTexPath(path)) {
        return OpenBibTexFiles({path});
    }
    if (!SaveModified()) {
        return false;
    }
    return OpenProject(path);
}

bool CQVNDoc::IsBibTexPath(std::string_view path) {
    return path.size() > 4 &&
           qvn::ToLowerAscii(std::string(path.substr(path.size() - 4))) == ".bib";
}

NewProjectValues CQVNDoc::ValuesForBibTexFile(const std::string& path) {
    std::string name = qvn::NameOfPath(path);
    if (IsBibTexPath(name)) {
        name.resize(name.size() - 4);
    }
    std::string folder = qvn::FolderOfPath(path);
    if (folder.empty() || folder.front() != qvn::kPathSeparator) {
        // A name relative to the working folder (the command line): the
        // location is kept as a full path.
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(path, error);
        if (!error) {
            folder = full.lexically_normal().parent_path().string();
        }
    }
    // A file name the strings file cannot take (a control character, say)
    // leaves the usual name.
    std::string strings = name + "-strings.bib";
    if (!IsValidStringsFileName(strings)) {
        strings = "strings.bib";
    }
    return {name, folder, strings};
}

bool CQVNDoc::OpenBibTexFiles(const std::vector<std::string>& paths) {
    if (paths.empty() || !SaveModified()) {
        return false;
    }
    // Every file must be there before anything changes: a new project with
    // nothing in it would say nothing about why.
    for (const std::string& path : paths) {
        std::ifstream probe(path, std::ios::binary);
        if (qvn::IsDirectory(path) || !probe) {
            const int error = qvn::IsDirectory(path) ? EISDIR : errno;
            Message(FileErrorMessage(error != 0 ? error : ENOENT, path, false), {},
                    MsgIcon::Warning);
            return false;
        }
    }
    // The files are read first: a cancelled reading keeps the current project.
    ImportReading reading = ReadForImport(paths);
    if (reading.cancelled) {
        if (m_ui != nullptr) {
            m_ui->ShowStatusMessage("Opening cancelled: the project is as it was.");
        }
        return false;
    }
    const NewProjectValues values = ValuesForBibTexFile(paths.front());
    ForgetProjectFile();
    m_pathName.clear();
    ClearContents();
    SetModifiedFlag(false);
    StartProject(values);
    SetTitle(values.name);
    m_proposedPath = qvn::JoinPath(values.location, values.name + ".qvp");
    if (m_ui != nullptr) {
        for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
            m_ui->AddToRecentFiles(*it);
        }
    }
    FinishImport(reading);
    // The new project starts here: its import is not a step to take back.
    m_history.Clear();
    return true;
}

bool CQVNDoc::OnFileSave() {
    // A read-only project is saved under another name.
    if (m_pathName.empty() || m_readOnly) {
        return OnFileSaveAs();
    }
    return SaveProject(m_pathName);
}

bool CQVNDoc::OnFileSaveAs() {
    if (m_ui == nullptr) {
        return false;
    }
    FileDialogRequest request;
    request.filter = kProjectFilter;
    request.defaultExtension = "qvp";
    request.initialName = !m_pathName.empty()       ? m_pathName
                          : !m_proposedPath.empty() ? m_proposedPath
                                                    : m_title + ".qvp";
    request.overwritePrompt = true;
    const auto path = m_ui->GetSaveFileName(request);
    if (!path) {
        return false;
    }
    return SaveProject(*path);
}

void CQVNDoc::NewProject() {
    ForgetProjectFile();
    m_pathName.clear();
    m_proposedPath.clear();
    SetTitle(kUntitled);
    ClearContents();
    SetModifiedFlag(false);
    NewProjectFromClear();
}

void CQVNDoc::NewProjectFromClear() {
    if (!m_started) {
        m_started = true;
        return;
    }
    const auto values = m_ui != nullptr ? m_ui->RunNewProjectWizard(*this) : std::nullopt;
    if (values) {
        StartProject(*values);
    }
}

void CQVNDoc::StartProject(const NewProjectValues& values) {
    m_settings.SetName(values.name);
    m_settings.SetLocation(values.location);
    m_settings.SetStringsFile(values.stringsFileName);
    m_started = true;
    m_active = true;
    SetModifiedFlag();
    UpdateAllViews(nullptr, UpdateHint::Contents);
}

void CQVNDoc::ClearContents() {
    m_strings.RemoveAll();
    m_items.RemoveAll();
    m_settings.Reset();
    m_searches.DeleteAll();
    m_active = false;
    m_history.Clear();
    UpdateAllViews(nullptr, UpdateHint::Contents);
}

std::string CQVNDoc::FileErrorMessage(int error, const std::string& path, bool saving) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return qvn::Substitute("%1 was not found.", {path});
    case EACCES:
    case EPERM:
    case EROFS:
        return qvn::Substitute("Access to %1 was denied.", {path});
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return qvn::Substitute("Disk full while accessing %1.", {path});
    default:
        return saving ? std::string("Failed to save document.")
                      : std::string("Failed to open document.");
    }
}

void CQVNDoc::ReportReplacedNames(const std::vector<NameReplacement>& replaced) {
    if (replaced.empty()) {
        return;
    }
    SetModifiedFlag(true);
    Message(NameReplacementMessage(replaced), {}, MsgIcon::Warning);
}

void CQVNDoc::ApplyLocationRule(const std::string& path) {
    if (m_settings.GetLocation().empty()) {
        m_settings.SetLocation(qvn::FolderOfPath(path));
    }
}

void CQVNDoc::Serialize(CArchive& ar) {
    if (ar.IsLoading()) {
        m_extensionRead = ReadContents(ar, m_strings, m_items, m_settings);
        return;
    }
    m_strings.Serialize(ar);
    m_items.Serialize(ar);
    m_settings.Serialize(ar);
    CProjectExtension::Write(ar, m_items);
}

CProjectExtension::ReadResult CQVNDoc::ReadContents(CArchive& ar, CBibTexStringTable& strings,
                                                    CBibTexMap& items, CProjectSettings& settings) {
    strings.Serialize(ar);
    items.Serialize(ar);
    settings.Serialize(ar);
    return CProjectExtension::Read(ar.ReadRaw(ar.Remaining()), items);
}

namespace {

void StoreWithProgress(CArchive& ar, CProgress* progress, std::uint64_t items) {
    if (progress != nullptr) {
        ar.SetProgress([progress](std::uint64_t done,
                                  std::uint64_t total) { return progress->Step(done, total); },
                       items);
    }
}

} // namespace

std::string CQVNDoc::SaveToBytes(CProgress* progress) {
    CArchive ar;
    StoreWithProgress(ar, progress, static_cast<std::uint64_t>(m_items.GetTotalCount()));
    Serialize(ar);
    return ar.TakeBuffer();
}

void CQVNDoc::SaveToSink(const std::function<void(std::string_view)>& sink, CProgress* progress) {
    CArchive ar;
    ar.SetSink(sink);
    StoreWithProgress(ar, progress, static_cast<std::uint64_t>(m_items.GetTotalCount()));
    Serialize(ar);
    ar.Flush();
}

void CQVNDoc::LoadFromBytes(std::string_view bytes) {
    m_extensionRead = CProjectExtension::ReadResult::None;
    CArchive ar(bytes);
    Serialize(ar);
    m_history.Clear();
}

bool CQVNDoc::OpenProject(const std::string& path) {
    std::unique_ptr<CLockFile> lock;
    bool readOnly = false;
    if (!LockForOpening(path, lock, readOnly)) {
        // Cancelled: the current project stays as it was.
        return false;
    }
    qvn::CFileBytes file;
    try {
        file = qvn::ReadFileBytes(path);
    } catch (const qvn::CFileError& error) {
        // The current project stays as it was.
        Message(FileErrorMessage(error.Error(), path, false), {}, MsgIcon::Warning);
        return false;
    }
    const std::string_view bytes = file.View();
    // The file is read into contents of its own first, so that a cancelled
    // read leaves the current project as it was.
    CBibTexStringTable strings;
    CBibTexMap items;
    CProjectSettings settings;
    CProjectExtension::ReadResult extension = CProjectExtension::ReadResult::None;
    std::optional<CArchiveError> failure;
    if (!bytes.empty()) {
        try {
            CProgress progress(m_ui, "Opening the project...");
            CArchive ar(bytes);
            ar.SetProgress([&progress](std::uint64_t done, std::uint64_t total) {
                return progress.Step(done, total);
            });
            extension = ReadContents(ar, strings, items, settings);
        } catch (const CArchiveError& error) {
            if (error.GetKind() == CArchiveError::Kind::Cancelled) {
                if (m_ui != nullptr) {
                    m_ui->ShowStatusMessage("Opening cancelled: the project is as it was.");
                }
                return false;
            }
            failure = error;
        }
    }
    // Reopening the file we hold keeps its lock.
    if (!lock && HoldsLockFor(path)) {
        lock = std::move(m_lock);
    }
    ForgetProjectFile();
    ClearContents();
    SetModifiedFlag(true);
    std::vector<NameReplacement> replaced;
    if (!bytes.empty()) {
        m_strings.SwapContents(strings);
        m_items.SwapContents(items);
        m_settings = settings;
        m_extensionRead = extension;
        if (failure) {
            const CArchiveError& error = *failure;
            ClearContents();
            Message(error.GetKind() == CArchiveError::Kind::EndOfFile ? "Unexpected file format."
                                                                      : "Failed to open document.",
                    {}, MsgIcon::Warning);
            // The previous project is gone: continue as a new project.
            m_pathName.clear();
            SetTitle(kUntitled);
            ClearContents();
            SetModifiedFlag(false);
            NewProjectFromClear();
            return false;
        }
        replaced = RepairFileNames(m_settings, m_items);
        ApplyLocationRule(path);
    }
    SetModifiedFlag(false);
    m_settings.SetFallbackName(m_title);
    m_active = true;
    CommitOpenedFile(std::move(lock), readOnly, bytes);
    SetPathName(path);
    if (m_ui != nullptr) {
        m_ui->AddToRecentFiles(path);
    }
    UpdateAllViews(nullptr, UpdateHint::Contents);
    ReportReplacedNames(replaced);
    if (m_extensionRead == CProjectExtension::ReadResult::Newer) {
        Message(kNewerExtension, {}, MsgIcon::Warning);
    }
    // Changes to this project that a crash left behind are offered now.
    OfferRecovery(path);
    return true;
}

bool CQVNDoc::SaveProject(const std::string& path) {
    return WriteProjectFile(path, true);
}
