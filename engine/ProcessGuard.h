#pragma once

#include "platform/ProcessTable.h"

#include <QString>

#include <chrono>
#include <cstdint>

// Whether a process name stands for the executable `exeFileName`: its file-name part (after
// the last '\', '/' or ':') or the whole name equals it once the ASCII letters of both are
// upper-cased. Nothing is trimmed; other letters must match exactly.
bool processNameMatches(const QString& processName, const QString& exeFileName);

// True when a process of a fresh snapshot runs `exeFileName` under any of its names.
bool processExists(const QString& exeFileName, platform::ProcessTable& table = platform::systemProcessTable());

// Asks the system to end every process that runs `ExeFileName`, in snapshot order, without
// waiting for them. Returns the outcome of the last request (1 accepted, 0 refused), 0 when
// nothing matched.
std::int32_t KillTask(const QString& ExeFileName, platform::ProcessTable& table = platform::systemProcessTable());

// Ending a process takes the system a moment after it accepted the request. Looks again
// every few milliseconds until no process runs `exeFileName` or `limit` has passed; true
// when none is left.
bool processesGoneWithin(const QString& exeFileName, std::chrono::milliseconds limit,
                         platform::ProcessTable& table = platform::systemProcessTable());
