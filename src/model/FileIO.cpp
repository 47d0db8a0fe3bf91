#include "model/FileIO.h"

#include "model/TextUtil.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace qvn {

namespace {

std::string ErrnoText(int error) {
    return std::strerror(error);
}

[[noreturn]] void ThrowErrno(const std::string& path) {
    const int error = errno;
    throw CFileError(path, ErrnoText(error), error);
}

class FdGuard {
public:
    explicit FdGuard(int fd) : m_fd(fd) {}
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    ~FdGuard() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    int Get() const { return m_fd; }

private:
    int m_fd;
};

mode_t DefaultMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Follows symbolic links (also dangling ones) to the path that a write must
// replace; gives up after 40 links like the kernel does.
std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return current;
        }
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n <= 0) {
            return current;
        }
        link.resize(static_cast<std::size_t>(n));
        if (link.front() != '/') {
            const std::size_t slash = current.find_last_of('/');
            if (slash != std::string::npos) {
                link = current.substr(0, slash + 1) + link;
            }
        }
        current = std::move(link);
    }
    throw CFileError(path, ErrnoText(ELOOP));
}

void CheckPathName(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        throw CFileError(path, "Invalid file name", EINVAL);
    }
}

// The folder that holds `target`, for a temporary file next to it.
std::string FolderOf(const std::string& target) {
    std::string folder = FolderOfPath(target);
    if (folder.empty() && target.front() == '/') {
        folder = "/";
    }
    return folder.empty() ? std::string(".") : folder;
}

// A temporary name next to `target`, cut short so that a target name of the
// maximum length still leaves room for it; a template for mkstemp.
std::string TempNameFor(const std::string& target) {
    return JoinPath(FolderOf(target), "." + NameOfPath(target).substr(0, 200) + ".XXXXXX");
}

// Makes a new directory entry in the folder durable. The data already is,
// so a failure here loses nothing and is not reported.
void SyncFolderOf(const std::string& target) {
    FdGuard dir(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        ::fsync(dir.Get());
    }
}

} // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/' && out.back() != '\\') {
        out += kPathSeparator;
    }
    out += name;
    return out;
}

std::string FolderOfPath(std::string_view path) {
    const std::size_t pos = path.find_last_of("/\\");
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos));
}

std::string NameOfPath(std::string_view path) {
    const std::size_t pos = path.find_last_of("/\\");
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

bool IsSafeFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && path.find('\0') == std::string::npos && ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return !path.empty() && path.find('\0') == std::string::npos &&
           ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

CAtomicFile::CAtomicFile(const std::string& path) : m_path(path) {
    CheckPathName(path);
    // A symbolic link stays a link: its target is what gets replaced.
    m_target = ResolveLinks(path);
    struct stat existing {};
    const bool exists = ::stat(m_target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        throw CFileError(path, ErrnoText(EISDIR), EISDIR);
    }
    m_mode = exists ? (existing.st_mode & 07777) : DefaultMode();
    m_temp = TempNameFor(m_target);
    m_fd = ::mkstemp(m_temp.data());
    if (m_fd < 0) {
        ThrowErrno(path);
    }
}

CAtomicFile::~CAtomicFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_temp.c_str());
    }
}

void CAtomicFile::Fail(int error) {
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_temp.c_str());
    throw CFileError(m_path, ErrnoText(error), error);
}

void CAtomicFile::Write(std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
}

void CAtomicFile::Commit() {
    if (::fchmod(m_fd, m_mode) != 0 || ::fsync(m_fd) != 0) {
        Fail(errno);
    }
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 || ::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        const int error = errno;
        ::unlink(m_temp.c_str());
        throw CFileError(m_path, ErrnoText(error), error);
    }
    SyncFolderOf(m_target);
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    CAtomicFile file(path);
    file.Write(bytes);
    file.Commit();
}

bool LinkAsBackup(const std::string& path, const std::string& backup) {
    CheckPathName(path);
    CheckPathName(backup);
    const std::string source = ResolveLinks(path);
    const std::string target = ResolveLinks(backup);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        throw CFileError(backup, ErrnoText(EISDIR), EISDIR);
    }
    // The second name is made under a name of its own first, so that the old
    // backup stays until the new one is complete.
    std::string temp;
    for (int attempt = 0;; ++attempt) {
        temp = TempNameFor(target);
        FdGuard fd(::mkstemp(temp.data()));
        if (fd.Get() < 0) {
            return false;
        }
        ::unlink(temp.c_str());
        if (::link(source.c_str(), temp.c_str()) == 0) {
            break;
        }
        // Another program took the free name meanwhile: try another one. Any
        // other failure (a file system without such links, a full folder)
        // leaves the backup to a copy.
        if (errno != EEXIST || attempt == 10) {
            return false;
        }
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw CFileError(backup, ErrnoText(error), error);
    }
    // A backup that already names the same file (a save that failed after
    // its backup was made) is left as it is by the rename, and so is the
    // temporary name.
    ::unlink(temp.c_str());
    SyncFolderOf(target);
    return true;
}

void WriteTextFile(const std::string& path, std::string_view text) {
    WriteFileAtomically(path, ToCrLf(text));
}

std::string ReadWholeFile(const std::string& path) {
    return std::string(ReadFileBytes(path).View());
}

CFileBytes& CFileBytes::operator=(CFileBytes&& other) noexcept {
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

void CFileBytes::Reserve(std::size_t capacity) {
    // Each page touched for the first time costs a fault, and a large file
    // has ten thousands of them: large room is asked for in huge pages (2 MB,
    // where the system hands them out), small room is made present at once.
    constexpr std::size_t kLarge = std::size_t{4} << 20;
    const int populate = capacity < kLarge ? MAP_POPULATE : 0;
    void* room = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | populate, -1, 0);
    if (room == MAP_FAILED) {
        throw std::bad_alloc();
    }
    if (populate == 0) {
        ::madvise(room, capacity, MADV_HUGEPAGE); // a hint: without it, plain pages
    }
    if (m_size > 0) {
        std::memcpy(room, m_data, m_size);
    }
    const std::size_t size = m_size;
    Release();
    m_data = static_cast<char*>(room);
    m_size = size;
    m_capacity = capacity;
}

void CFileBytes::Release() noexcept {
    if (m_data != nullptr) {
        ::munmap(m_data, m_capacity);
    }
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
}

CReadFile::CReadFile(const std::string& path) : m_path(path) {
    CheckPathName(path);
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        ThrowErrno(path);
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        const int error = errno;
        ::close(m_fd);
        throw CFileError(path, ErrnoText(error), error);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(m_fd);
        throw CFileError(path, ErrnoText(EISDIR), EISDIR);
    }
    m_sizeHint = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

CReadFile::~CReadFile() {
    ::close(m_fd);
}

std::size_t CReadFile::Read(char* into, std::size_t room) {
    for (;;) {
        const ssize_t n = ::read(m_fd, into, room);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            ThrowErrno(m_path);
        }
    }
}

CFileBytes ReadFileBytes(const std::string& path) {
    CReadFile file(path);
    // Read straight into the buffer; the size is a hint only (the file may
    // grow or shrink while it is read, or be a pipe).
    CFileBytes out;
    out.Reserve(file.SizeHint() > 0 ? file.SizeHint() + 1 : std::size_t{1} << 16);
    for (;;) {
        if (out.m_size == out.m_capacity) {
            out.Reserve(out.m_capacity * 2);
        }
        const std::size_t n = file.Read(out.m_data + out.m_size, out.m_capacity - out.m_size);
        if (n == 0) {
            break;
        }
        out.m_size += n;
    }
    return out;
}

void ReadFilePieces(const std::string& path, const std::function<void(std::string_view)>& sink) {
    CReadFile file(path);
    // Small enough to stay in the processor's cache while it is used.
    constexpr std::size_t kPiece = std::size_t{256} << 10;
    const std::unique_ptr<char[]> buffer(new char[kPiece]);
    while (const std::size_t n = file.Read(buffer.get(), kPiece)) {
        sink(std::string_view(buffer.get(), n));
    }
}

} // namespace qvn
