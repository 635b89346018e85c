#include "platform/linux/FolderSync.h"

#include "platform/IoError.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform::linux_files {

namespace {

template <typename Sync>
void syncThrough(const std::string& path, int flags, Sync sync, const std::string& shownAs)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (descriptor < 0)
        throw IoError(errno, "write", shownAs);
    const int result = sync(descriptor);
    const int error = errno;
    ::close(descriptor);
    // Some file systems cannot sync a folder, or any file; there is nothing more to do for them.
    if (result != 0 && error != EINVAL && error != EROFS)
        throw IoError(error, "write", shownAs);
}

} // namespace

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void syncFolder(const std::string& folder) { syncThrough(folder, O_DIRECTORY, ::fsync, folder); }

void syncFile(const std::string& path, const std::string& shownAs) { syncThrough(path, 0, ::fsync, shownAs); }

void syncFileSystemOf(const std::string& folder) { syncThrough(folder, O_DIRECTORY, ::syncfs, folder); }

} // namespace platform::linux_files
