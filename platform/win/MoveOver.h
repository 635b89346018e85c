#pragma once

#include <string>

namespace platform::win {

// Renames the closed file `from` over `to` (MoveFileExW with REPLACE_EXISTING and
// WRITE_THROUGH). A reader (another client of the update list, a backup or a virus
// scanner) may hold `to` open; where the system then refuses, the rename is tried again for
// a short while. Returns the error that stopped it, or ERROR_SUCCESS (0).
unsigned long moveOver(const std::string& from, const std::string& to);

} // namespace platform::win
