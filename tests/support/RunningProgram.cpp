#include "tests/support/RunningProgram.h"

#include <QFile>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

RunningProgram::RunningProgram(const QString& executable, const QByteArray& argv0)
{
    const QByteArray path = QFile::encodeName(executable);
    QByteArray first = argv0.isEmpty() ? path : argv0;
    QByteArray seconds = "600";
    char* argv[] = {first.data(), seconds.data(), nullptr};
    if (::posix_spawn(&pid_, path.constData(), nullptr, nullptr, argv, environ) != 0)
        pid_ = -1;
}

int RunningProgram::reap()
{
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

void RunningProgram::end()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        reap();
    }
}
