#include "platform/ExecutablePath.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

namespace platform {

namespace {

// A program started through a long path is reported with the "\\?\" prefix; the folder
// texts built from it are meant for people and the ordinary file calls.
std::wstring withoutLongPathPrefix(std::wstring path)
{
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

} // namespace

std::string executablePath()
{
    // The path may be longer than MAX_PATH: grow the buffer until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return win::utf8FromWide(withoutLongPathPrefix(path));
        }
        path.resize(path.size() * 2);
    }
}

} // namespace platform
