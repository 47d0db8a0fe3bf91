#include "project/LockFile.h"

#include "model/FileIO.h"
#include "platform/ChildTask.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string RealPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string out(resolved);
    std::free(resolved);
    return out;
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[1024];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0 || text.size() > 16384) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(n));
        offset += n;
    }
}

bool WriteAll(int fd, std::string_view text) {
    if (::ftruncate(fd, 0) != 0) {
        return false;
    }
    off_t offset = 0;
    while (!text.empty()) {
        const ssize_t n = ::pwrite(fd, text.data(), text.size(), offset);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

} // namespace

bool LockHolder::IsThisProcess() const {
    return pid == qvn::CurrentProcessId() && host == qvn::HostName();
}

LockHolder CLockFile::ReadHolder(int fd) {
    // Three lines: process id, program, host.
    const std::string text = ReadAll(fd);
    LockHolder holder;
    std::size_t start = 0;
    for (int line = 0; line < 3 && start < text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string value = text.substr(start, end - start);
        if (line == 0) {
            holder.pid = std::strtol(value.c_str(), nullptr, 10);
        } else if (line == 1) {
            holder.program = value;
        } else {
            holder.host = value;
        }
        start = end + 1;
    }
    return holder;
}

CLockFile::Status CLockFile::TryLock(const std::string& program) {
    if (IsLocked()) {
        return Status::Acquired;
    }
    m_holder = {};
    // A few rounds: the file may be removed or replaced by its holder between
    // our opening it and taking the lock.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) {
            return Status::Unavailable;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error != EWOULDBLOCK) {
                // The file system keeps no locks: nobody can be kept out.
                ::close(fd);
                return Status::Unavailable;
            }
            // The holder writes its name right after taking the lock; give
            // it a moment when the file is still empty.
            for (int wait = 0; wait < 20; ++wait) {
                m_holder = ReadHolder(fd);
                if (m_holder.pid != 0) {
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            ::close(fd);
            return Status::Held;
        }
        // The lock is ours if the name still leads to the file we locked.
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) != 0 || ::lstat(m_path.c_str(), &named) != 0 ||
            !SameFile(opened, named)) {
            ::close(fd);
            continue;
        }
        const std::string text = std::to_string(qvn::CurrentProcessId()) + "\n" + program + "\n" +
                                 qvn::HostName() + "\n";
        if (!WriteAll(fd, text)) {
            ::unlink(m_path.c_str());
            ::close(fd);
            return Status::Unavailable;
        }
        m_fd = fd;
        return Status::Acquired;
    }
    return Status::Unavailable;
}

void CLockFile::Unlock() {
    if (m_fd < 0) {
        return;
    }
    // Removed while still locked, so that a program waiting on the old file
    // sees that its name now leads elsewhere.
    struct stat opened {};
    struct stat named {};
    if (::fstat(m_fd, &opened) == 0 && ::lstat(m_path.c_str(), &named) == 0 &&
        SameFile(opened, named)) {
        ::unlink(m_path.c_str());
    }
    ::close(m_fd);
    m_fd = -1;
}

std::string CLockFile::PathFor(const std::string& filePath) {
    std::string target = RealPath(filePath);
    if (target.empty()) {
        // A file not written yet: its folder decides.
        const std::string folder = qvn::FolderOfPath(filePath);
        const std::string realFolder = RealPath(folder.empty() ? "." : folder);
        target =
            realFolder.empty() ? filePath : qvn::JoinPath(realFolder, qvn::NameOfPath(filePath));
    }
    const std::string folder = qvn::FolderOfPath(target);
    return qvn::JoinPath(folder, "." + qvn::NameOfPath(target) + ".lock");
}
