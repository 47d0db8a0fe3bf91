// A lock file beside a project file. While a program holds it, others read
// who does (process id, program, host) and keep their hands off the project.
// It is held through the system's lock on the open file, so a program that
// ended without removing it (a crash, a power cut) holds nothing any more:
// the next program takes it over without a word.
#pragma once

#include <string>

struct LockHolder {
    long pid = 0;
    std::string program;
    std::string host;

    // True for a lock of this very process (another document of it).
    bool IsThisProcess() const;
};

class CLockFile {
public:
    enum class Status {
        Acquired,    // this object holds the lock now
        Held,        // a running program holds it: see Holder()
        Unavailable, // the folder takes no lock file (read-only, gone, no locks)
    };

    explicit CLockFile(std::string path) : m_path(std::move(path)) {}
    ~CLockFile() { Unlock(); }
    CLockFile(const CLockFile&) = delete;
    CLockFile& operator=(const CLockFile&) = delete;

    // Takes the lock and writes this process's id, `program` and the host
    // name into the file.
    Status TryLock(const std::string& program);
    // Removes the file and lets the lock go (nothing when not held).
    void Unlock();
    bool IsLocked() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }
    // The holder found by the last TryLock that answered Held.
    const LockHolder& Holder() const { return m_holder; }
    // The open lock file while held (a child process may keep it open).
    int Descriptor() const { return m_fd; }

    // The lock file of a file: ".NAME.lock" in the folder of the file that
    // `filePath` names (through symbolic links, so that every way to the
    // same file meets the same lock).
    static std::string PathFor(const std::string& filePath);
    // Reads who holds a lock file, without taking it.
    static LockHolder ReadHolder(int fd);

private:
    std::string m_path;
    int m_fd = -1;
    LockHolder m_holder;
};
