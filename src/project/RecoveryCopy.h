// A recovery copy of a project with unsaved changes, kept in the per-user
// recovery folder: TOKEN.qvp holds the project in the project file's own
// format, TOKEN.info says which project file it belongs to, and TOKEN.lock is
// held by the program that owns the copy. A copy whose lock nobody holds was
// left behind by a program that ended without closing its project (a crash,
// a power cut, a kill) and is offered on the next start.
#pragma once

#include "model/FileSignature.h"
#include "platform/ChildTask.h"
#include "project/LockFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct RecoveryInfo {
    std::string projectPath; // empty for a project that was never saved
    std::string title;
    // The project file as its program last read or wrote it, so that saving
    // the restored project still notices a change made after the crash.
    std::optional<CFileSignature> base;

    bool operator==(const RecoveryInfo& other) const = default;
};

class CRecoveryCopy {
public:
    // A new slot in `folder` (made when missing), owned by this process; null
    // when the folder cannot hold one.
    static std::unique_ptr<CRecoveryCopy> Create(const std::string& folder);
    // The copies that no running program owns, newest first; each is owned
    // by this process from now on. Slots that never received a copy are
    // removed on the way.
    static std::vector<std::unique_ptr<CRecoveryCopy>> ClaimOrphans(const std::string& folder);

    // Waits for a write that is still running; the files stay (Discard
    // removes them), and the lock is let go for another program to claim.
    ~CRecoveryCopy();
    CRecoveryCopy(const CRecoveryCopy&) = delete;
    CRecoveryCopy& operator=(const CRecoveryCopy&) = delete;

    const std::string& Token() const { return m_token; }
    std::string CopyPath() const;
    const RecoveryInfo& Info() const { return m_info; }
    // Writes the info file (atomically); false when it could not be written.
    bool SetInfo(const RecoveryInfo& info);
    bool HasCopy() const;
    // When the copy was last written (seconds since the epoch), 0 without one.
    std::int64_t CopyTime() const;
    // The bytes of the copy. Throws qvn::CFileError.
    std::string ReadCopy() const;

    // Starts writing the bytes that `make` returns. `make` runs in a child
    // process on a snapshot of this one, so the program goes on at once; the
    // copy replaces the previous one only once it is complete on disk. False
    // when a write is still running or no child could be made.
    bool StartWrite(const std::function<std::string()>& make);
    bool IsWriting() const { return m_task.IsRunning(); }
    // Notes a finished write: true when it succeeded, false when it failed,
    // nullopt while one runs or when none was started since the last call.
    std::optional<bool> PollWrite();
    // Blocks until a running write has ended; true when the copy is written.
    bool WaitForWrite();
    // Stops a running write and removes the copy's files.
    void Discard();

private:
    CRecoveryCopy(std::string folder, std::string token);
    std::string FilePath(const char* suffix) const;
    // Takes the slot of a program that is no longer running.
    bool ClaimAbandoned();
    void ReadInfo();

    std::string m_folder;
    std::string m_token;
    RecoveryInfo m_info;
    CLockFile m_lock;
    CChildTask m_task;
};

namespace qvn {

// "YYYY-MM-DD HH:MM" in local time, as the recovery question shows a time.
std::string FormatLocalTime(std::int64_t secondsSinceEpoch);

} // namespace qvn
