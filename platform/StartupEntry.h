#pragma once

#include <stdexcept>
#include <string>

// The per-user entry that starts a program when the user logs on. Names and paths are
// UTF-8. Each system keeps the entry where its session start looks for it.
namespace platform {

// An entry that could not be written, removed or understood. The message is the one the
// user sees, with the entry's name in it.
class StartupEntryError : public std::runtime_error {
public:
    enum class Kind {
        FailedToSetData,  // "Failed to set data for '%s'"
        InvalidDataType,  // "Invalid data type for '%s'"
        FailedToDelete,   // "Failed to delete data for '%s'"
    };

    StartupEntryError(Kind kind, const std::string& name);

    Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};

// True when an entry named `name` exists and names a program to start; what it names is
// not compared with anything. An entry that cannot be read counts as absent; one that is
// not an entry of the expected kind throws InvalidDataType.
bool startupEntryPresent(const std::string& name);

// Creates or replaces the entry `name` so that the program at the full path `executable`
// starts at logon. The path is written quoted, and escaped as the entry's format needs, so
// that blanks and other special characters in it stay part of the one path. Throws
// FailedToSetData.
void writeStartupEntry(const std::string& name, const std::string& executable);

// Removes the entry `name`; an entry that is not there is nothing to remove. Throws
// FailedToDelete when an existing entry stays.
void removeStartupEntry(const std::string& name);

} // namespace platform
