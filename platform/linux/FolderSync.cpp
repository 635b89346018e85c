#include "platform/linux/FolderSync.h"

#include "platform/IoError.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform::linux_files {

namespace {

template <typename Sync>
void syncThrough(const std::string& folder, Sync sync)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        throw IoError(errno, "write", folder);
    const int result = sync(descriptor);
    const int error = errno;
    ::close(descriptor);
    // Some file systems cannot sync a folder; there is nothing more to do for them.
    if (result != 0 && error != EINVAL && error != EROFS)
        throw IoError(error, "write", folder);
}

} // namespace

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void syncFolder(const std::string& folder) { syncThrough(folder, ::fsync); }

void syncFileSystemOf(const std::string& folder) { syncThrough(folder, ::syncfs); }

} // namespace platform::linux_files
