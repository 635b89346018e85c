#pragma once

#include "platform/ProcessTable.h"

#include <QString>

#include <functional>

// What the guard asks the user while a program to be updated is running.
struct RunningInstanceQuestions {
    // Asks the user to close the program, and returns once they have answered.
    std::function<void()> askToClose;
    // The program is still running after the request to end it was refused (another user's
    // program, missing rights) or went unheeded: true when the user gives up its update.
    std::function<bool()> askToSkip;
};

// Waits until no process runs `programName` followed by ".exe": asks the user to close it,
// then ends what is left, and looks again. True once a fresh look finds none; false when the
// user gave the update up because the program could not be ended.
bool waitUntilNotRunning(const QString& programName, const RunningInstanceQuestions& questions,
                         platform::ProcessTable& table = platform::systemProcessTable());
