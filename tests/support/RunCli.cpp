#include "RunCli.h"

#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string ReadAll(int fd) {
    std::string out;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

} // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& workingDir) {
    CliRun run;
    char outName[] = "/tmp/qvn-cli-out-XXXXXX";
    char errName[] = "/tmp/qvn-cli-err-XXXXXX";
    const int outFd = ::mkstemp(outName);
    const int errFd = ::mkstemp(errName);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        // The program never waits for input a test cannot give.
        const int nothing = ::open("/dev/null", O_RDONLY);
        if (nothing >= 0) {
            ::dup2(nothing, 0);
        }
        if (!workingDir.empty() && ::chdir(workingDir.c_str()) != 0) {
            ::_exit(127);
        }
        std::vector<char*> argv;
        std::string program = QVN_CLI_PATH;
        argv.push_back(program.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ::lseek(outFd, 0, SEEK_SET);
    ::lseek(errFd, 0, SEEK_SET);
    run.out = ReadAll(outFd);
    run.err = ReadAll(errFd);
    ::close(outFd);
    ::close(errFd);
    ::unlink(outName);
    ::unlink(errName);
    return run;
}
