// File access of the core. Every text file is written with CR LF line ends,
// through a temporary file in the same folder that replaces the target only
// once it is completely on disk, so a failed write never leaves a partial file
// where a good one stood.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace qvn {

// A file that could not be created, read or written: its path and the cause.
class CFileError : public std::runtime_error {
public:
    // `error` is the errno value of the cause, 0 when there is none.
    CFileError(std::string path, std::string cause, int error = 0)
        : std::runtime_error(path + ": " + cause), m_path(std::move(path)),
          m_cause(std::move(cause)), m_error(error) {}
    const std::string& Path() const { return m_path; }
    const std::string& Cause() const { return m_cause; }
    int Error() const { return m_error; }

private:
    std::string m_path;
    std::string m_cause;
    int m_error;
};

inline constexpr char kPathSeparator = '/';

// folder + separator + name (no separator is doubled).
std::string JoinPath(std::string_view folder, std::string_view name);
// The folder part of a path: the text before its last separator ('/' or '\'),
// empty when there is none.
std::string FolderOfPath(std::string_view path);
// The name after the last separator ('/' or '\').
std::string NameOfPath(std::string_view path);

// A name that can safely be joined to a folder: not empty, no separator, no
// NUL byte, not "." or "..".
bool IsSafeFileName(std::string_view name);

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);

// A file written in pieces that replaces `path` only when committed, and
// once it is completely on disk; dropped before that, it leaves no trace. A
// symbolic link stays and the file it names is replaced. Throws CFileError.
class CAtomicFile {
public:
    explicit CAtomicFile(const std::string& path);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    void Write(std::string_view bytes);
    void Commit();

private:
    [[noreturn]] void Fail(int error);

    std::string m_path;
    std::string m_target;
    std::string m_temp;
    unsigned m_mode = 0;
    int m_fd = -1;
};

// Replaces `path` with `bytes` atomically; a symbolic link stays and the
// file it names is replaced. Throws CFileError.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
// Gives the file at `path` the second name `backup` (replacing the file
// `backup` named) without copying it; false when the file system cannot, and
// then nothing changed. Throws CFileError when the new name cannot replace
// the old backup.
bool LinkAsBackup(const std::string& path, const std::string& backup);
// Writes `text` with every "\n" turned into CR LF. Throws CFileError.
void WriteTextFile(const std::string& path, std::string_view text);
// Reads the whole file. Throws CFileError.
std::string ReadWholeFile(const std::string& path);

// A file opened for reading from its start and read a piece at a time; it
// may grow or shrink while it is read, or be a pipe. Throws CFileError, also
// for a folder.
class CReadFile {
public:
    explicit CReadFile(const std::string& path);
    ~CReadFile();
    CReadFile(const CReadFile&) = delete;
    CReadFile& operator=(const CReadFile&) = delete;

    // The size when it was opened; 0 when unknown.
    std::size_t SizeHint() const { return m_sizeHint; }
    // Up to `room` bytes into `into`; 0 at the end.
    std::size_t Read(char* into, std::size_t room);

private:
    std::string m_path;
    int m_fd = -1;
    std::size_t m_sizeHint = 0;
};

// The bytes of a whole file in a buffer that is never zeroed first: a large
// file is copied once, from the page cache into memory mapped in one go.
class CFileBytes {
public:
    CFileBytes() = default;
    CFileBytes(CFileBytes&& other) noexcept { *this = std::move(other); }
    CFileBytes& operator=(CFileBytes&& other) noexcept;
    CFileBytes(const CFileBytes&) = delete;
    CFileBytes& operator=(const CFileBytes&) = delete;
    ~CFileBytes() { Release(); }

    std::string_view View() const { return {m_data, m_size}; }

private:
    friend CFileBytes ReadFileBytes(const std::string& path);
    // Room for `capacity` bytes, the first `m_size` kept.
    void Reserve(std::size_t capacity);
    void Release() noexcept;

    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};
// Reads the whole file into a CFileBytes. Throws CFileError.
CFileBytes ReadFileBytes(const std::string& path);
// Reads the file piece by piece through one small buffer and hands each piece
// to `sink`: for a pass over a large file that need not hold it. Throws
// CFileError.
void ReadFilePieces(const std::string& path, const std::function<void(std::string_view)>& sink);

} // namespace qvn
