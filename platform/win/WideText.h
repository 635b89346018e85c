#pragma once

#include <string>
#include <string_view>

// The layer's interfaces speak UTF-8; the system speaks UTF-16.
namespace platform::win {

// A text length as the conversion calls take it (an int); throws std::length_error beyond.
int lengthOf(std::size_t size);

std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

} // namespace platform::win
