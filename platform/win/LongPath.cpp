#include "platform/win/LongPath.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

namespace platform::win {

namespace {

bool hasPrefix(const std::wstring& path, std::wstring_view prefix)
{
    return path.compare(0, prefix.size(), prefix) == 0;
}

std::wstring absolute(const std::wstring& path)
{
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path; // the file call itself reports what is wrong with it
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return full;
}

} // namespace

std::wstring fileCallPath(const std::wstring& path)
{
    return path.size() < MAX_PATH ? path : verbatimPath(path);
}

std::wstring verbatimPath(const std::wstring& path)
{
    if (hasPrefix(path, L"\\\\?\\") || hasPrefix(path, L"\\\\.\\"))
        return path;
    std::wstring full = absolute(path);
    if (hasPrefix(full, L"\\\\?\\") || hasPrefix(full, L"\\\\.\\"))
        return full;
    if (hasPrefix(full, L"\\\\")) // \\server\share\... becomes \\?\UNC\server\share\...
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring fileCallPath(const std::string& utf8Path) { return fileCallPath(wideFromUtf8(utf8Path)); }

} // namespace platform::win
