// A child process made by fork() that stands for another program: it runs a
// set-up function (take a lock, make unsaved changes), says it is ready
// through a pipe, and then waits until the test kills it, as a crash would.
#pragma once

#include <csignal>
#include <functional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

class ForkedChild {
public:
    explicit ForkedChild(const std::function<bool()>& setup) {
        int fds[2] = {-1, -1};
        if (::pipe(fds) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            const char answer = setup() ? 'R' : 'F';
            if (::write(fds[1], &answer, 1) != 1 || answer != 'R') {
                ::_exit(1);
            }
            for (;;) {
                ::pause();
            }
        }
        ::close(fds[1]);
        m_pipe = fds[0];
    }
    ~ForkedChild() {
        Kill();
        if (m_pipe >= 0) {
            ::close(m_pipe);
        }
    }
    ForkedChild(const ForkedChild&) = delete;
    ForkedChild& operator=(const ForkedChild&) = delete;

    // True once the set-up succeeded; false when it failed or the child died.
    bool WaitReady() {
        if (m_pid <= 0 || m_pipe < 0) {
            return false;
        }
        pollfd p{m_pipe, POLLIN, 0};
        // Generous: a loaded machine may take long to start the child.
        if (::poll(&p, 1, 120000) != 1) {
            return false;
        }
        char answer = 0;
        return ::read(m_pipe, &answer, 1) == 1 && answer == 'R';
    }
    // Ends the child at once, as a crash or a power cut would.
    void Kill() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_pipe = -1;
};

} // namespace testsupport
