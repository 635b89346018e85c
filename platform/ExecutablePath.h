#pragma once

#include <string>

namespace platform {

// Full path of the running executable (UTF-8).
std::string executablePath();

} // namespace platform
