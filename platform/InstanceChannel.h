#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The place where a later start of the program finds the instance already running, for
// one user: a local socket on POSIX systems, a named event of the session on Windows.
class InstanceChannel {
public:
    // `key` names the installation and the user; letters, digits and '-' only.
    explicit InstanceChannel(std::string key);
    ~InstanceChannel();
    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;

    // True when an instance of this user listens on the key; it has been asked to show
    // itself.
    bool askRunningInstance();

    // Starts listening for later starts. False when that is not possible, for example when
    // another user's file stands in the way.
    bool listen();

    // What to watch while listening: a file descriptor that turns readable on POSIX systems,
    // an event handle that turns signalled on Windows; -1 before.
    std::intptr_t handle() const { return handle_; }

    // Takes the waiting requests off the channel and returns how many there were.
    int takeRequests();

private:
    std::string path_;
    std::intptr_t handle_ = -1;
};

} // namespace platform
