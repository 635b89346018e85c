#include "platform/FolderListing.h"

#include "platform/IoError.h"
#include "platform/win/LongPath.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

namespace platform {

namespace {

struct Search {
    HANDLE handle;
    ~Search()
    {
        if (handle != INVALID_HANDLE_VALUE)
            ::FindClose(handle);
    }
};

std::wstring everythingIn(const std::string& folder)
{
    std::wstring pattern = win::wideFromUtf8(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/' && pattern.back() != L':')
        pattern += L'\\';
    return win::fileCallPath(pattern + L'*');
}

} // namespace

// Every name is taken here and matched against a mask by the caller, so that a mask means
// the same on every system. A folder is skipped, and so is a link or junction to one.
std::vector<std::string> filesIn(const std::string& folder)
{
    WIN32_FIND_DATAW found{};
    const Search search{::FindFirstFileExW(everythingIn(folder).c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH)};
    std::vector<std::string> names;
    if (search.handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) // the root of an empty drive has not even "."
            return names;
        throw IoError(static_cast<int>(error), "search", folder);
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(win::utf8FromWide(found.cFileName));
    } while (::FindNextFileW(search.handle, &found));
    const DWORD error = ::GetLastError();
    if (error != ERROR_NO_MORE_FILES)
        throw IoError(static_cast<int>(error), "search", folder);
    return names;
}

} // namespace platform
