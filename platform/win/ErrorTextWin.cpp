#include "platform/IoError.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

namespace platform {

namespace {

// The system's sentence for the code, without the line end and full stop it comes with,
// since the message goes on after it.
std::string systemText(int code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr)
        return "Unknown system error";
    std::wstring text(buffer, length);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return win::utf8FromWide(text);
}

} // namespace

std::string errorText(int code)
{
    switch (code) {
    // Windows gives 3 to a missing folder as well as to a name over the length limit.
    case IoError::PathTooLong: return "The path was not found, or the file name is too long";
    case IoError::ShortRead: return "The file ended before a whole record was read";
    case IoError::ShortWrite: return "Not every byte could be written";
    default: return systemText(code);
    }
}

} // namespace platform
