#pragma once

#include <string>
#include <string_view>

namespace platform {

// The machine's ANSI code page (the system's default non-Unicode code page), e.g. 1252.
int ansiCodePage();

// Converts to the given code page; a character it cannot hold becomes '?', never a
// look-alike.
std::string toAnsi(std::u16string_view text, int codePage);
std::u16string fromAnsi(std::string_view bytes, int codePage);

inline std::string toAnsi(std::u16string_view text) { return toAnsi(text, ansiCodePage()); }
inline std::u16string fromAnsi(std::string_view bytes) { return fromAnsi(bytes, ansiCodePage()); }

} // namespace platform
