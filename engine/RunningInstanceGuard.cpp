#include "engine/RunningInstanceGuard.h"

#include "engine/ProcessGuard.h"

#include <chrono>

bool waitUntilNotRunning(const QString& programName, const RunningInstanceQuestions& questions,
                         platform::ProcessTable& table)
{
    const QString executable = programName + QStringLiteral(".exe");
    while (processExists(executable, table)) {
        questions.askToClose();
        // A look straight after the request could still see the processes being ended and
        // ask the user again for nothing.
        if (KillTask(executable, table) != 0 && processesGoneWithin(executable, std::chrono::seconds(2), table))
            return true;
        // Asking to close it again and again would hold the run, and the whole program,
        // for as long as the process lives: the user may give this update up instead.
        if (processExists(executable, table) && questions.askToSkip())
            return false;
    }
    return true;
}
