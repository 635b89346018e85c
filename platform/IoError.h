#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// A failed file operation. `code` is the operating system's error number, or one of the
// fixed codes below for conditions the system does not report itself. The message names
// the operation and the file, so that it can be shown to the user as it stands.
class IoError : public std::runtime_error {
public:
    static constexpr int PathTooLong = 3;
    static constexpr int ShortRead = 100;
    static constexpr int ShortWrite = 101;

    IoError(int code, std::string_view operation, std::string_view file);

    int code() const noexcept { return code_; }

private:
    int code_;
};

// The system's own wording for an error number (strerror / FormatMessage), or ours for
// the fixed codes above.
std::string errorText(int code);

} // namespace platform
