#include "platform/win/MoveOver.h"

#include "platform/win/LongPath.h"
#include "platform/win/Win32.h"

namespace platform::win {

namespace {

// Where the file system can, a renamed file takes the name at once and a reader goes on
// with the old content; elsewhere the name is free only once the last reader has closed
// the file, and the rename waits that long for it.
constexpr ULONGLONG WaitMilliseconds = 2000;
constexpr DWORD RetryMilliseconds = 50;

bool mayBeHeldByReader(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

} // namespace

unsigned long retriedWhileHeld(const std::function<bool()>& attempt)
{
    const ULONGLONG start = ::GetTickCount64();
    while (!attempt()) {
        const DWORD error = ::GetLastError();
        if (!mayBeHeldByReader(error) || ::GetTickCount64() - start >= WaitMilliseconds)
            return error;
        ::Sleep(RetryMilliseconds);
    }
    return ERROR_SUCCESS;
}

unsigned long moveOver(const std::string& from, const std::string& to)
{
    const std::wstring source = fileCallPath(from);
    const std::wstring target = fileCallPath(to);
    return retriedWhileHeld([&] {
        return ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
}

} // namespace platform::win
