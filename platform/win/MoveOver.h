#pragma once

#include <functional>
#include <string>

namespace platform::win {

// A reader (another client of the update list, a backup or a virus scanner) may hold a
// file open so that it can be neither replaced nor deleted until the reader closes it.
// Runs `attempt` (true on success, else GetLastError() tells why) again for a short while
// as long as that is why it fails. Returns the error that stopped it, or ERROR_SUCCESS (0).
unsigned long retriedWhileHeld(const std::function<bool()>& attempt);

// Renames the closed file `from` over `to` (MoveFileExW with REPLACE_EXISTING and
// WRITE_THROUGH), waiting as above for readers of `to`.
unsigned long moveOver(const std::string& from, const std::string& to);

} // namespace platform::win
