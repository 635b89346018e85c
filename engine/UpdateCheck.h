#pragma once

#include "engine/FoundUpdatesList.h"
#include "store/Records.h"

#include <QString>

#include <cstdint>
#include <vector>

// "7 - Tool | 12": the update's id, name and version.
QString foundUpdateText(const upd& update);

// Reloads "update.conf" into `updates` and lists every (update, registered program) pair of
// exactly equal names whose published version is the higher integer, in update order and,
// for one update, in program order. Returns true when the list holds an entry afterwards.
// A failed precondition (either flag false, no update list) returns false and leaves the
// list as it was. A version that is not an integer throws ConversionError and leaves the
// entries appended before it.
bool CheckForUpdates(bool programok_ok, bool update_path_ok, const std::vector<prog>& programok,
                     std::vector<upd>& updates, std::int32_t& updatesdb, const QString& update_path,
                     FoundUpdatesList& found);
