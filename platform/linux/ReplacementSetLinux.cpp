#include "platform/ReplacementSet.h"

#include "platform/IoError.h"
#include "platform/linux/FolderSync.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

bool swapNames(const std::string& a, const std::string& b)
{
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

} // namespace

void ReplacementSet::commit()
{
    std::vector<std::string> folders;
    for (const Entry& entry : entries_)
        folders.push_back(linux_files::folderOf(entry.file.target));
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());

    // Every new content is on disk before any name changes, so that no crash can leave a
    // target renamed to a file whose data never reached the disk. A few files are flushed
    // one by one, which leaves whatever else the machine is writing alone; for many, one
    // flush of their file system costs less than one per file.
    constexpr std::size_t flushedOneByOne = 16;
    if (entries_.size() <= flushedOneByOne) {
        for (const Entry& entry : entries_)
            linux_files::syncFile(entry.file.temporaryPath, entry.file.target);
    } else {
        for (const std::string& folder : folders)
            linux_files::syncFileSystemOf(folder);
    }

    std::size_t placed = 0;
    try {
        for (; placed < entries_.size(); ++placed)
            place(entries_[placed]);
        for (const std::string& folder : folders)
            linux_files::syncFolder(folder);
    } catch (...) {
        restore(placed);
        throw;
    }

    // The old contents, now under the staged names.
    for (Entry& entry : entries_) {
        if (entry.placement == Placement::Swapped) {
            if (::unlink(entry.file.temporaryPath.c_str()) != 0)
                throw IoError(errno, "remove", entry.file.temporaryPath);
            entry.file.temporaryPath.clear();
        }
    }
    entries_.clear();
}

void ReplacementSet::place(Entry& entry)
{
    const StagedFile& file = entry.file;
    int error = ENOENT;
    if (file.targetExisted) {
        if (swapNames(file.temporaryPath, file.target)) {
            entry.placement = Placement::Swapped;
            return;
        }
        error = errno;
    }
    // No target to swap with, or a file system that cannot swap: a plain rename.
    if (error == ENOENT || error == EINVAL || error == ENOSYS) {
        if (::rename(file.temporaryPath.c_str(), file.target.c_str()) == 0) {
            entry.placement = error == ENOENT ? Placement::Created : Placement::Overwritten;
            return;
        }
        error = errno;
    }
    throw IoError(error, "replace", file.target);
}

void ReplacementSet::restore(std::size_t placedCount) noexcept
{
    for (std::size_t i = placedCount; i-- > 0;) {
        Entry& entry = entries_[i];
        const StagedFile& file = entry.file;
        if (entry.placement == Placement::Swapped && swapNames(file.temporaryPath, file.target))
            entry.placement = Placement::Staged;
        else if (entry.placement == Placement::Created && ::rename(file.target.c_str(), file.temporaryPath.c_str()) == 0)
            entry.placement = Placement::Staged;
    }
}

void ReplacementSet::removeStaged() noexcept
{
    for (const Entry& entry : entries_)
        if ((entry.placement == Placement::Staged || entry.placement == Placement::Swapped) &&
            !entry.file.temporaryPath.empty())
            ::unlink(entry.file.temporaryPath.c_str());
}

} // namespace platform
