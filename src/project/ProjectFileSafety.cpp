// The project file's safety: the lock that keeps a second program from
// writing over a project held open, the check for changes other programs
// made to the file, the backup of the previous file on each save, and the
// recovery copy of unsaved changes that survives a crash.
#include "model/Archive.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"
#include "project/CommandIds.h"
#include "project/LockFile.h"
#include "project/QVNDoc.h"
#include "project/RecoveryCopy.h"

#include <cerrno>

namespace {

constexpr const char* kOutsideChangeQuestion =
    "The project file has been changed by another program. Reload it (your unsaved changes are "
    "lost), save yours over it, or cancel?";

// What `read` makes of the project file now; nullopt when the file is
// missing or cannot be read (then there is nothing to compare or to back up).
template <typename Read>
auto ReadCurrent(const std::string& path, Read read) -> std::optional<decltype(read(path))> {
    if (path.empty() || !qvn::PathExists(path) || qvn::IsDirectory(path)) {
        return std::nullopt;
    }
    try {
        return read(path);
    } catch (const qvn::CFileError&) {
        return std::nullopt;
    }
}

// The bytes the project file holds now.
std::optional<qvn::CFileBytes> ReadCurrentFile(const std::string& path) {
    return ReadCurrent(path, [](const std::string& p) { return qvn::ReadFileBytes(p); });
}

// Their signature, read without holding the file.
std::optional<CFileSignature> SignatureOfCurrentFile(const std::string& path) {
    return ReadCurrent(path, [](const std::string& p) { return CFileSignature::OfFile(p); });
}

// Keeps the previous project file as the backup: a second name for the file
// where the file system allows it, a copy elsewhere. Nothing is backed up
// when there is no previous file or it cannot be read.
void BackUpPreviousFile(const std::string& path, const std::string& backup) {
    if (path.empty() || !qvn::PathExists(path) || qvn::IsDirectory(path) ||
        qvn::LinkAsBackup(path, backup)) {
        return;
    }
    if (const std::optional<qvn::CFileBytes> previous = ReadCurrentFile(path)) {
        qvn::WriteFileAtomically(backup, previous->View());
    }
}

} // namespace

bool CQVNDoc::IsEditingCommand(int commandId) {
    switch (commandId) {
    case ID_FILE_SAVE:
    case ID_NEW_BIBTEX_FILE:
    case ID_NEW_BIBTEX_ITEM:
    case ID_NEW_STRING:
    case ID_BIBTEX_IMPORT:
    case ID_EDIT_CUT:
    case ID_EDIT_PASTE:
    case ID_EDIT_CLEAR:
    case ID_EDIT_REPLACE:
    case ID_DELETE_ALL_STRINGS:
    case ID_PROJECT_SETTINGS:
    case ID_REMOVE_FILE:
    case ID_RENAME_FILE:
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// The lock

bool CQVNDoc::HoldsLockFor(const std::string& path) const {
    return m_lock != nullptr && m_lock->IsLocked() && m_lock->Path() == CLockFile::PathFor(path);
}

std::string CQVNDoc::HolderText(const std::string& path, const CLockFile& lock) const {
    const LockHolder& holder = lock.Holder();
    const std::string who = holder.program == kProgramName ? std::string("another Quorvane window")
                            : holder.program.empty()       ? std::string("another program")
                                                           : holder.program;
    return qvn::Substitute("'%1' is open in %2 (process %3 on %4).",
                           {qvn::NameOfPath(path), who, std::to_string(holder.pid),
                            holder.host.empty() ? std::string("an unknown host") : holder.host});
}

std::unique_ptr<CLockFile> CQVNDoc::TakeLock(const std::string& path,
                                             std::unique_ptr<CLockFile>& lock) {
    if (!m_locking || HoldsLockFor(path)) {
        return nullptr;
    }
    auto candidate = std::make_unique<CLockFile>(CLockFile::PathFor(path));
    switch (candidate->TryLock(kProgramName)) {
    case CLockFile::Status::Acquired:
        lock = std::move(candidate);
        return nullptr;
    case CLockFile::Status::Unavailable:
        // A folder that takes no lock file (read-only media): nobody else can
        // take one there either.
        return nullptr;
    case CLockFile::Status::Held:
        break;
    }
    // Another document of this same process (a tool, a test) is no other
    // program.
    return candidate->Holder().IsThisProcess() ? nullptr : std::move(candidate);
}

bool CQVNDoc::LockForOpening(const std::string& path, std::unique_ptr<CLockFile>& lock,
                             bool& readOnly) {
    readOnly = false;
    const std::unique_ptr<CLockFile> other = TakeLock(path, lock);
    if (!other) {
        return true;
    }
    const MsgResult answer = Message(HolderText(path, *other) + "\nOpen it read-only?", {},
                                     MsgIcon::Question, MsgButtons::ReadOnlyCancel);
    if (answer != MsgResult::ReadOnly) {
        return false;
    }
    readOnly = true;
    return true;
}

bool CQVNDoc::LockForSaving(const std::string& path, std::unique_ptr<CLockFile>& lock) {
    const std::unique_ptr<CLockFile> other = TakeLock(path, lock);
    if (!other) {
        return true;
    }
    Message(HolderText(path, *other) +
                "\nThe project cannot be saved there; save it under another name.",
            {}, MsgIcon::Warning);
    return false;
}

void CQVNDoc::ForgetProjectFile() {
    DiscardRecoveryCopy();
    m_lock.reset();
    m_readOnly = false;
    m_diskSignature.reset();
    m_declinedSignature.reset();
}

void CQVNDoc::CommitOpenedFile(std::unique_ptr<CLockFile> lock, bool readOnly,
                               std::string_view bytes) {
    m_lock = std::move(lock);
    m_readOnly = readOnly;
    m_diskSignature = CFileSignature::Of(bytes);
    m_declinedSignature.reset();
}

// ---------------------------------------------------------------------------
// Saving: the check for changes made by others, the backup, the write

bool CQVNDoc::WriteProjectFile(const std::string& path, bool checkOutsideChange) {
    std::unique_ptr<CLockFile> newLock;
    if (!LockForSaving(path, newLock)) {
        return false;
    }
    const bool ownFile = checkOutsideChange && path == m_pathName && m_diskSignature;
    const std::optional<CFileSignature> previous =
        ownFile ? SignatureOfCurrentFile(path) : std::nullopt;
    if (previous && *previous != *m_diskSignature) {
        switch (AskAboutOutsideChange()) {
        case MsgResult::Reload:
            if (const std::optional<qvn::CFileBytes> now = ReadCurrentFile(path)) {
                ReloadFromDisk(now->View());
            }
            return false;
        case MsgResult::SaveOver:
            break;
        default:
            m_declinedSignature = *previous;
            return false;
        }
    }
    const std::string fallbackName = m_settings.GetFallbackName();
    m_settings.SetFallbackName(m_title);
    CFileSignature written;
    std::optional<qvn::CFileError> backupError;
    try {
        CBusyCursor busy(m_ui);
        // Written piece by piece into a new file that replaces the project
        // file only once it is complete, so a large project is never held
        // twice in memory.
        qvn::CAtomicFile file(path);
        qvn::CContentHasher hasher;
        {
            CProgress progress(m_ui, "Saving the project...");
            SaveToSink(
                [&](std::string_view piece) {
                    file.Write(piece);
                    hasher.Update(piece);
                },
                &progress);
        }
        written = hasher.Signature();
        // The previous file goes to the backup before the new one takes its
        // name: whatever happens to the save, one of the two holds it.
        if (m_keepBackup) {
            try {
                BackUpPreviousFile(path, BackupPathFor(path));
            } catch (const qvn::CFileError& error) {
                backupError = error;
            }
        }
        file.Commit();
    } catch (const qvn::CFileError& error) {
        Message(FileErrorMessage(error.Error(), path, true), {}, MsgIcon::Warning);
        return false;
    } catch (const CArchiveError& error) {
        if (error.GetKind() != CArchiveError::Kind::Cancelled) {
            throw;
        }
        // Nothing has replaced the project file, and the project stays as it
        // was.
        m_settings.SetFallbackName(fallbackName);
        if (m_ui != nullptr) {
            m_ui->ShowStatusMessage("Saving cancelled: the project file was not written.");
        }
        return false;
    }
    m_diskSignature = written;
    m_declinedSignature.reset();
    if (newLock) {
        m_lock = std::move(newLock);
    } else if (!HoldsLockFor(path)) {
        m_lock.reset();
    }
    m_readOnly = false;
    DiscardRecoveryCopy();
    ApplyLocationRule(path);
    SetModifiedFlag(false);
    SetPathName(path);
    if (m_ui != nullptr) {
        m_ui->AddToRecentFiles(path);
    }
    if (backupError) {
        Message(qvn::Substitute("The project has been saved, but its backup %1 could not be "
                                "written:\n%2",
                                {backupError->Path(), backupError->Cause()}),
                {}, MsgIcon::Warning);
    }
    return true;
}

// ---------------------------------------------------------------------------
// Changes made by other programs

MsgResult CQVNDoc::AskAboutOutsideChange() {
    return Message(kOutsideChangeQuestion, {}, MsgIcon::Warning, MsgButtons::ReloadSaveOverCancel);
}

bool CQVNDoc::IsReadableProject(std::string_view bytes) {
    // Read into a document of its own first, so that a file another program
    // left half written never costs the project in this window.
    CQVNDoc scratch;
    scratch.SetFileLocking(false);
    try {
        scratch.LoadFromBytes(bytes);
    } catch (const CArchiveError&) {
        return false;
    }
    return true;
}

bool CQVNDoc::ReloadFromDisk(std::string_view bytes) {
    if (!IsReadableProject(bytes)) {
        m_declinedSignature = CFileSignature::Of(bytes);
        Message("The project file has been changed by another program and cannot be read any "
                "more. The project stays as it is here; save it to keep it.",
                {}, MsgIcon::Warning);
        return false;
    }
    DiscardRecoveryCopy();
    ClearContents();
    SetModifiedFlag(true);
    std::vector<NameReplacement> replaced;
    if (!bytes.empty()) {
        LoadFromBytes(bytes);
        replaced = RepairFileNames(m_settings, m_items);
        ApplyLocationRule(m_pathName);
    }
    SetModifiedFlag(false);
    m_active = true;
    m_diskSignature = CFileSignature::Of(bytes);
    m_declinedSignature.reset();
    UpdateAllViews(nullptr, UpdateHint::Contents);
    ReportReplacedNames(replaced);
    return true;
}

void CQVNDoc::CheckForOutsideChange() {
    if (m_checkingOutside || !m_active || m_pathName.empty() || !m_diskSignature) {
        return;
    }
    // The question below lets the window get the focus again.
    m_checkingOutside = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_checkingOutside};

    // Most checks find the file as it was: it is read whole only when not.
    const std::optional<CFileSignature> seen = SignatureOfCurrentFile(m_pathName);
    if (!seen || *seen == *m_diskSignature || *seen == m_declinedSignature) {
        return;
    }
    const std::optional<qvn::CFileBytes> file = ReadCurrentFile(m_pathName);
    if (!file) {
        return;
    }
    const std::string_view bytes = file->View();
    const CFileSignature now = CFileSignature::Of(bytes);
    if (now == *m_diskSignature || now == m_declinedSignature) {
        return;
    }
    if (!m_modified) {
        // Nothing of the user's is lost: show what the file holds now.
        if (ReloadFromDisk(bytes) && m_ui != nullptr) {
            m_ui->ShowStatusMessage(
                "The project file was changed by another program and has been reloaded.");
        }
        return;
    }
    switch (AskAboutOutsideChange()) {
    case MsgResult::Reload:
        ReloadFromDisk(bytes);
        break;
    case MsgResult::SaveOver:
        WriteProjectFile(m_pathName, false);
        break;
    default:
        m_declinedSignature = now;
        break;
    }
}

// ---------------------------------------------------------------------------
// Recovery copies

void CQVNDoc::DiscardRecoveryCopy() {
    if (m_recovery) {
        m_recovery->Discard();
        m_recovery.reset();
    }
    m_recoveryChangeCount = 0;
    m_lastRecoveryWrite.reset();
}

void CQVNDoc::MaintainRecoveryCopy() {
    if (m_recovery && m_recovery->PollWrite() == false) {
        // The copy could not be written (a full disk): try again later.
        m_recoveryChangeCount = 0;
    }
    if (m_recoveryFolder.empty()) {
        return;
    }
    if (!m_modified || !m_active) {
        DiscardRecoveryCopy();
        return;
    }
    if (m_changeCount == m_recoveryChangeCount || (m_recovery && m_recovery->IsWriting())) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastChange < m_recoveryPause ||
        (m_lastRecoveryWrite && now - *m_lastRecoveryWrite < m_recoveryInterval)) {
        return;
    }
    if (!m_recovery) {
        m_recovery = CRecoveryCopy::Create(m_recoveryFolder);
        if (!m_recovery) {
            return;
        }
    }
    const RecoveryInfo info{m_pathName, m_title, m_diskSignature};
    if (!(m_recovery->Info() == info) && !m_recovery->SetInfo(info)) {
        return;
    }
    const bool started = m_recovery->StartWrite([this] {
        // In the child, on its own copy of this document: no window, no
        // views to tell.
        m_ui = nullptr;
        m_observers.clear();
        m_deletionListeners.clear();
        m_titleChanged = nullptr;
        return SaveToBytes();
    });
    if (started) {
        m_recoveryChangeCount = m_changeCount;
        m_lastRecoveryWrite = now;
    }
}

std::string CQVNDoc::GetRecoveryCopyPath() const {
    return m_recovery && m_recovery->HasCopy() ? m_recovery->CopyPath() : std::string();
}

bool CQVNDoc::WaitForRecoveryCopy() {
    return m_recovery != nullptr && m_recovery->WaitForWrite();
}

bool CQVNDoc::OfferRecovery(const std::string& projectPath) {
    if (m_recoveryFolder.empty() || m_ui == nullptr) {
        return false;
    }
    for (std::unique_ptr<CRecoveryCopy>& copy : CRecoveryCopy::ClaimOrphans(m_recoveryFolder)) {
        if (!projectPath.empty() && copy->Info().projectPath != projectPath) {
            continue; // left for when its project is opened, or the next start
        }
        const std::string& title =
            copy->Info().title.empty() ? std::string(kUntitled) : copy->Info().title;
        const std::string question =
            qvn::Substitute("Quorvane found unsaved changes to '%1' from %2. Restore them?",
                            {title, qvn::FormatLocalTime(copy->CopyTime())});
        if (Message(question, {}, MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes) {
            copy->Discard();
            continue;
        }
        if (RestoreRecoveryCopy(std::move(copy))) {
            return true;
        }
    }
    return false;
}

bool CQVNDoc::RestoreRecoveryCopy(std::unique_ptr<CRecoveryCopy> copy) {
    std::string bytes;
    try {
        bytes = copy->ReadCopy();
    } catch (const qvn::CFileError& error) {
        Message(FileErrorMessage(error.Error(), error.Path(), false), {}, MsgIcon::Warning);
        return false;
    }
    const RecoveryInfo info = copy->Info();
    if (!IsReadableProject(bytes)) {
        Message(qvn::Substitute("The unsaved changes to '%1' cannot be read; they are discarded.",
                                {info.title.empty() ? std::string(kUntitled) : info.title}),
                {}, MsgIcon::Warning);
        copy->Discard();
        return false;
    }
    // The restored project keeps the lock of its file, or is read-only while
    // another program holds it open.
    std::unique_ptr<CLockFile> lock;
    bool readOnly = false;
    if (!info.projectPath.empty()) {
        if (HoldsLockFor(info.projectPath)) {
            lock = std::move(m_lock);
        } else {
            readOnly = TakeLock(info.projectPath, lock) != nullptr;
        }
    }
    ForgetProjectFile();
    ClearContents();
    SetModifiedFlag(true);
    std::vector<NameReplacement> replaced;
    if (!bytes.empty()) {
        LoadFromBytes(bytes);
        replaced = RepairFileNames(m_settings, m_items);
        if (!info.projectPath.empty()) {
            ApplyLocationRule(info.projectPath);
        }
    }
    m_lock = std::move(lock);
    m_readOnly = readOnly;
    m_diskSignature = info.base;
    m_started = true;
    m_active = true;
    if (info.projectPath.empty()) {
        m_pathName.clear();
        SetTitle(info.title.empty() ? std::string(kUntitled) : info.title);
    } else {
        SetPathName(info.projectPath);
    }
    // The restored changes are unsaved changes, and the copy holds them: it
    // stays this project's recovery copy until a save or a close.
    SetModifiedFlag(true);
    m_recovery = std::move(copy);
    m_recovery->SetInfo({m_pathName, m_title, m_diskSignature});
    m_recoveryChangeCount = m_changeCount;
    m_lastRecoveryWrite = std::chrono::steady_clock::now();
    UpdateAllViews(nullptr, UpdateHint::Contents);
    ReportReplacedNames(replaced);
    return true;
}
