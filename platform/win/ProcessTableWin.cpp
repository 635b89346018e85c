#include "platform/ProcessTable.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

#include <tlhelp32.h>

#include <cwchar>

namespace platform {

namespace {

// The walk refuses an entry whose size field is not the layout's own: 556 bytes in a 32-bit
// program, 568 in a 64-bit one (the heap identifier is pointer-sized).
static_assert(sizeof(PROCESSENTRY32W) == (sizeof(void*) == 4 ? 556 : 568));

// Closes the snapshot whichever way the walk ends.
struct SnapshotHandle {
    HANDLE handle;
    ~SnapshotHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
};

class ToolhelpProcessTable final : public ProcessTable {
public:
    std::vector<ProcessEntry> snapshot() override
    {
        std::vector<ProcessEntry> entries;
        const SnapshotHandle snapshot{::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)};
        if (snapshot.handle == INVALID_HANDLE_VALUE)
            return entries;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Process32FirstW(snapshot.handle, &entry); more;
             more = ::Process32NextW(snapshot.handle, &entry)) {
            const std::size_t length = ::wcsnlen(entry.szExeFile, MAX_PATH);
            if (length == 0)
                continue;
            entries.push_back({entry.th32ProcessID, win::utf8FromWide({entry.szExeFile, length}), {}});
        }
        return entries;
    }

    bool terminate(std::uint32_t pid) override
    {
        const HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, pid);
        if (process == nullptr)
            return false;
        const bool accepted = ::TerminateProcess(process, 0) != FALSE;
        ::CloseHandle(process);
        return accepted;
    }
};

} // namespace

ProcessTable& systemProcessTable()
{
    static ToolhelpProcessTable table;
    return table;
}

} // namespace platform
