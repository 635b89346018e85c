#pragma once

#include "store/Records.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The admin console's edits of the update list. The console ties a list entry to every
// record whose name reads as the entry's text (exact, case-sensitive), never to a position;
// `updatesdb` moves with the list's length in every edit.

// Appends a zero-filled record and returns it.
upd& appendUpdateRecord(std::vector<upd>& updates, std::int32_t& updatesdb);

// One record per registered program named `name`, in program order: the program's name and
// folder, the id of the record before it again (1 for the first record of the list), and
// the program's version plus one. A version that is not an integer throws ConversionError
// with that record already appended with an empty version; later programs get none.
void appendRegisteredPrograms(std::vector<upd>& updates, std::int32_t& updatesdb, const std::vector<prog>& programok,
                              const QString& name);

// Sets `complete` in every record named `s`.
void ChangeComplete(std::vector<upd>& updates, const QString& s, bool b);

// Stores `version` (at most 10 bytes kept) in every record named `name`.
void setVersionOfName(std::vector<upd>& updates, const QString& name, const QString& version);

// The version of the last record named `name`; nothing when no record has that name.
std::optional<QString> lastVersionOfName(const std::vector<upd>& updates, const QString& name);

// Removes the last record named `name`; false when there is none.
bool removeLastOfName(std::vector<upd>& updates, std::int32_t& updatesdb, const QString& name);

// The decimal text of the integer `version` plus `step`. Throws ConversionError when
// `version` is not an integer, or when the result leaves the signed 32-bit range (it would
// wrap round to a version below every installed one).
QString steppedVersion(const QString& version, int step);
