#include "platform/IoError.h"

#include <cstring>

namespace platform {

std::string errorText(int code)
{
    switch (code) {
    case IoError::PathTooLong: return "The file name is too long";
    case IoError::ShortRead: return "The file ended sooner than expected";
    case IoError::ShortWrite: return "Not every byte could be written";
    default: return std::strerror(code);
    }
}

} // namespace platform
