#pragma once

#include "store/Records.h"

#include <QString>

#include <cstdint>
#include <vector>

// "programs.conf" in the executable's folder and "update.conf" in the update folder. Both
// folder texts end with a separator; the file name is appended directly.
bool LoadAvailabelPrograms(std::vector<prog>& programok, std::int32_t& programokdb, const QString& applicationpath);
void SaveAvailablePrograms(const std::vector<prog>& programok, const QString& applicationpath);
bool LoadUpdateList(std::vector<upd>& updates, std::int32_t& updatesdb, const QString& update_path);
void SaveUpdateList(const std::vector<upd>& updates, const QString& update_path);
