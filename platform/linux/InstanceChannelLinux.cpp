// A Unix domain socket in the user's runtime folder ($XDG_RUNTIME_DIR, private to the
// user), or in /tmp when there is none.
#include "platform/InstanceChannel.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

std::string runtimeFolder()
{
    struct stat info {};
    if (const char* folder = std::getenv("XDG_RUNTIME_DIR");
        folder && folder[0] == '/' && ::stat(folder, &info) == 0 && S_ISDIR(info.st_mode))
        return folder;
    return "/tmp";
}

bool addressOf(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// A file at the path that belongs to someone else is left alone: neither talked to nor
// replaced.
bool ownedByOthers(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && info.st_uid != ::getuid();
}

int connectTo(const std::string& path)
{
    sockaddr_un address;
    if (!addressOf(path, address) || ownedByOthers(path))
        return -1;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return -1;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket);
        return -1;
    }
    return socket;
}

} // namespace

InstanceChannel::InstanceChannel(std::string key) : path_(runtimeFolder() + "/" + key + ".socket") {}

InstanceChannel::~InstanceChannel()
{
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        ::unlink(path_.c_str());
    }
}

bool InstanceChannel::askRunningInstance()
{
    const int socket = connectTo(path_);
    if (socket < 0)
        return false;
    // The connection itself is the request; the line only names it for a human reader.
    [[maybe_unused]] const ssize_t written = ::send(socket, "show\n", 5, MSG_NOSIGNAL);
    ::close(socket);
    return true;
}

bool InstanceChannel::listen()
{
    sockaddr_un address;
    if (handle_ >= 0 || !addressOf(path_, address) || ownedByOthers(path_))
        return false;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket < 0)
        return false;
    auto bound = [&] { return ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0; };
    bool ok = bound();
    if (!ok && errno == EADDRINUSE) {
        // Left by an instance that ended without cleaning up, unless one answers there.
        const int probe = connectTo(path_);
        if (probe >= 0)
            ::close(probe);
        else
            ok = ::unlink(path_.c_str()) == 0 && bound();
    }
    ok = ok && ::chmod(path_.c_str(), 0600) == 0 && ::listen(socket, 8) == 0;
    if (!ok) {
        ::close(socket);
        return false;
    }
    handle_ = socket;
    return true;
}

int InstanceChannel::takeRequests()
{
    int requests = 0;
    for (;;) {
        const int connection = ::accept4(static_cast<int>(handle_), nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR)
                continue;
            return requests;
        }
        ::close(connection);
        ++requests;
    }
}

} // namespace platform
