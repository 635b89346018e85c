#include "tests/support/ChildProcess.h"

#include "platform/IoError.h"

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void runBody(const std::function<void()>& body)
{
    int status = 0;
    try {
        body();
    } catch (const platform::IoError& error) {
        status = error.code() & 0xff;
    } catch (...) {
        status = 255;
    }
    ::_exit(status);
}

} // namespace

int runInChild(const std::function<void()>& body, const ChildLimits& limits)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (limits.fileSizeLimit) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(*limits.fileSizeLimit), static_cast<rlim_t>(*limits.fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (limits.asNobody && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(254);
        runBody(body);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

pid_t startChild(const std::function<void()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        runBody(body);
    return pid;
}
