#pragma once

#include "store/Records.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <vector>

// The process-wide state, owned by the main window and passed down to the stores, the
// engine and the dialogs. Created empty at start.
struct UpdaterState {
    QString applicationpath;     // the executable's folder, ending with a separator
    QString update_path;         // the update folder
    bool update_path_ok = false; // decided once at start

    std::vector<prog> programok;
    std::int32_t programokdb = 0;
    bool programok_ok = false;   // decided once at start

    std::vector<upd> updates;
    std::int32_t updatesdb = 0;

    std::atomic<bool> imdone{true}; // the update worker has finished
    bool bezarhato = false;         // the main window may really close
};
