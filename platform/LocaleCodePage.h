#pragma once

#include <string_view>

namespace platform {

// The ANSI code page Windows gives a system locale of this language ("hu_HU.UTF-8" → 1250);
// 1252 for every other language and for C/POSIX.
int codePageForLocale(std::string_view locale);

} // namespace platform
