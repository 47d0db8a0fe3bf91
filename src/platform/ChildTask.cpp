#include "platform/ChildTask.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool CloseRange(unsigned first, unsigned last) {
#ifdef SYS_close_range
    return first > last || ::syscall(SYS_close_range, first, last, 0) == 0;
#else
    (void)first;
    (void)last;
    return false;
#endif
}

// Closes every descriptor above the standard ones except `keep`.
void CloseAllBut(int keep) {
    const bool done = keep < 3 ? CloseRange(3, UINT_MAX)
                               : CloseRange(3, static_cast<unsigned>(keep) - 1) &&
                                     CloseRange(static_cast<unsigned>(keep) + 1, UINT_MAX);
    if (done) {
        return;
    }
    long max = ::sysconf(_SC_OPEN_MAX);
    if (max < 0 || max > 65536) {
        max = 65536;
    }
    for (int fd = 3; fd < max; ++fd) {
        if (fd != keep) {
            ::close(fd);
        }
    }
}

} // namespace

CChildTask::~CChildTask() {
    Wait();
}

bool CChildTask::Start(const std::function<int()>& work, int keepFd) {
    if (IsRunning()) {
        return false;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        CloseAllBut(keepFd);
        // A signal meant for the program (Ctrl+C in its terminal) must not
        // cut the copy short: the child finishes what it started.
        std::signal(SIGINT, SIG_IGN);
        int status = 1;
        try {
            status = work();
        } catch (...) {
            status = 1;
        }
        ::_exit(status);
    }
    m_pid = pid;
    return true;
}

std::optional<int> CChildTask::Reap(bool block) {
    if (m_pid <= 0) {
        return std::nullopt;
    }
    int status = 0;
    pid_t r = 0;
    do {
        r = ::waitpid(m_pid, &status, block ? 0 : WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0) {
        return std::nullopt;
    }
    m_pid = -1;
    if (r < 0) {
        // Reaped elsewhere: the result is unknown.
        return -1;
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

std::optional<int> CChildTask::Poll() {
    return Reap(false);
}

int CChildTask::Wait() {
    return Reap(true).value_or(-1);
}

void CChildTask::Kill() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        Reap(true);
    }
}

namespace qvn {

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

bool IsProcessRunning(long pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return name;
}

} // namespace qvn
