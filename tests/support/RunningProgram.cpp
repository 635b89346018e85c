#include "tests/support/RunningProgram.h"

#include <QFile>

#include <unistd.h>

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
    if (::posix_spawn(&pid_, path.constData(), nullptr, nullptr, argv, environ) != 0) {
        pid_ = -1;
        return;
    }
    // posix_spawn returns while the kernel is still laying out the new program's arguments:
    // until then /proc shows an empty command line. Wait for it, as a user's program that
    // has been running for a while would have it.
    const QString cmdline = QStringLiteral("/proc/%1/cmdline").arg(pid_);
    for (int attempt = 0; attempt < 2000; ++attempt) {
        QFile file(cmdline);
        if (file.open(QIODevice::ReadOnly) && !file.readAll().isEmpty())
            break;
        ::usleep(1000);
    }
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
