#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

#include <climits>
#include <stdexcept>

namespace platform::win {

int lengthOf(std::size_t size)
{
    if (size > INT_MAX)
        throw std::length_error("text too long for the system");
    return static_cast<int>(size);
}

std::wstring wideFromUtf8(std::string_view text)
{
    if (text.empty())
        return {};
    const int length = lengthOf(text.size());
    const int wideLength = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

std::string utf8FromWide(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length = lengthOf(text.size());
    const int narrowLength = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(narrowLength), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), narrowLength, nullptr, nullptr);
    return narrow;
}

} // namespace platform::win
