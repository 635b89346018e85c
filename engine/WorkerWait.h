#pragma once

#include "engine/WorkerContext.h"
#include "store/Records.h"

#include <chrono>
#include <functional>

// Applies the update `u` with one worker (TUpdate) and waits for it on the calling thread:
// sets imdone to false, starts the worker and runs a nested event loop that the worker's
// completion quits, so that the thread keeps handling its events and blocks in between.
// While waiting, `showProgress` is called on the calling thread every `interval`. Returns
// once imdone is true: true when the update was applied (or no program has its name), false
// when it failed, context.failure saying why. Needs a QCoreApplication.
bool runWorkerAndWait(const upd& u, WorkerContext& context,
                      const std::function<void(const CopyProgress&)>& showProgress = {},
                      std::chrono::milliseconds interval = std::chrono::milliseconds(30));
