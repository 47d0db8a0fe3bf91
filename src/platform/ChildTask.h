// Work done by a child process that starts as a copy of this one: it sees the
// program's data as they stand at Start() while the program goes on at once
// (the system copies only the memory pages that either side changes
// afterwards). The child runs no destructors and ends with _exit; it must not
// touch the user interface.
#pragma once

#include <functional>
#include <optional>
#include <string>

class CChildTask {
public:
    CChildTask() = default;
    // Waits for a child that is still running.
    ~CChildTask();
    CChildTask(const CChildTask&) = delete;
    CChildTask& operator=(const CChildTask&) = delete;

    // Runs `work` in a new child whose result becomes its exit status. Every
    // descriptor but the standard ones and `keepFd` is closed in the child
    // first, so that it holds no lock of this program. False when no child
    // could be made or one is still running.
    bool Start(const std::function<int()>& work, int keepFd = -1);
    bool IsRunning() const { return m_pid > 0; }
    // The exit status once the child has ended (128 + the signal when it was
    // killed); nullopt while it runs or when none was started.
    std::optional<int> Poll();
    // Blocks until the child has ended; its exit status, or -1 without one.
    int Wait();
    // Ends a running child at once.
    void Kill();

private:
    std::optional<int> Reap(bool block);

    int m_pid = -1;
};

namespace qvn {

long CurrentProcessId();
// Whether a process with this id runs on this machine.
bool IsProcessRunning(long pid);
// The name of this machine ("localhost" when it has none).
std::string HostName();

} // namespace qvn
