#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// A started program, killed and reaped when the test is done with it.
class RunningProgram {
public:
    // Runs `executable` with the argument "600" (a copy of /bin/sleep waits ten minutes),
    // under `argv0` when one is given.
    RunningProgram(const QString& executable, const QByteArray& argv0);
    explicit RunningProgram(pid_t pid) : pid_(pid) {}
    ~RunningProgram() { end(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    pid_t pid() const { return pid_; }

    // Waits for the program to end on its own account; the signal that ended it, or 0.
    int reap();
    // Kills and reaps it, unless it is reaped already.
    void end();

private:
    pid_t pid_ = -1;
};
