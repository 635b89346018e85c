// A named event in the session's own namespace ("Local\"): the listening instance owns it
// and waits on it, a later start signals it. The system removes it with the last handle,
// so an instance that ended without cleaning up leaves nothing in the way.
#include "platform/InstanceChannel.h"

#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

namespace platform {

namespace {

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

} // namespace

InstanceChannel::InstanceChannel(std::string key) : path_("Local\\" + key) {}

InstanceChannel::~InstanceChannel()
{
    if (handle_ != -1)
        ::CloseHandle(handleOf(handle_));
}

bool InstanceChannel::askRunningInstance()
{
    // Another user's event of that name does not open for us (access denied).
    const HANDLE event = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, win::wideFromUtf8(path_).c_str());
    if (event == nullptr)
        return false;
    const bool asked = ::SetEvent(event) != FALSE;
    ::CloseHandle(event);
    return asked;
}

bool InstanceChannel::listen()
{
    if (handle_ != -1)
        return false;
    // Reset by hand: whoever watches the event for the owner must not take the request away
    // before takeRequests() sees it.
    const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, win::wideFromUtf8(path_).c_str());
    if (event == nullptr)
        return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) { // another instance listens there
        ::CloseHandle(event);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(event);
    return true;
}

// Requests that come close together are taken as one: each asks for the same thing.
int InstanceChannel::takeRequests()
{
    if (handle_ == -1 || ::WaitForSingleObject(handleOf(handle_), 0) != WAIT_OBJECT_0)
        return 0;
    ::ResetEvent(handleOf(handle_));
    return 1;
}

} // namespace platform
