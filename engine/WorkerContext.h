#pragma once

#include "engine/CopyProgress.h"
#include "store/Records.h"

#include <QString>

#include <atomic>
#include <vector>

// What an update worker reads and writes besides its own record. The update run owns it, on
// the UI thread, and keeps it and the state it refers to unchanged until it has seen imdone.
struct WorkerContext {
    WorkerContext(std::vector<prog>& programok, const QString& update_path, std::atomic<bool>& imdone)
        : programok(programok), update_path(update_path), imdone(imdone)
    {
    }

    std::vector<prog>& programok;  // the worker stamps the new version into one record
    const QString& update_path;    // the update folder, ending with a separator
    std::atomic<bool>& imdone;     // stored true with release order as the worker's last act
    CopyProgress progress;         // the file being copied
    QString failure;               // why the update was not applied; empty when it was
};
