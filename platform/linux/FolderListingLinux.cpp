#include "platform/FolderListing.h"

#include "platform/IoError.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

namespace {

bool isFolder(int folder, const dirent& entry)
{
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info {};
    return ::fstatat(folder, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::vector<std::string> filesIn(const std::string& folder)
{
    DIR* const listing = ::opendir(folder.c_str());
    if (listing == nullptr)
        throw IoError(errno, "search", folder);
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing);
        if (entry == nullptr)
            break;
        if (!isFolder(::dirfd(listing), *entry))
            names.emplace_back(entry->d_name);
    }
    const int error = errno;
    ::closedir(listing);
    if (error != 0)
        throw IoError(error, "search", folder);
    return names;
}

} // namespace platform
