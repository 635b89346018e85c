#pragma once

#include "store/Records.h"

#include <QString>

#include <cstdint>
#include <vector>

// A record file is the plain concatenation of 528-byte records. Loading replaces `list`
// and `count` by the whole records of the file and returns true when it read at least one;
// a missing file returns false and leaves both as they were. Saving replaces the file
// atomically by every record of `list`. Failures throw platform::IoError.
template <typename Record>
bool loadRecordFile(const QString& fileName, std::vector<Record>& list, std::int32_t& count);

template <typename Record>
void saveRecordFile(const QString& fileName, const std::vector<Record>& list);
