// Windows has no atomic swap of two names. Before a target is replaced, a second name (a
// hard link) is made for its old content beside it, so that the rename over the target
// stays one atomic step and the old content can be put back from that name. Where the file
// system has no hard links (FAT, some shares), the target is overwritten without a way back.
#include "platform/ReplacementSet.h"

#include "platform/IoError.h"
#include "platform/win/LongPath.h"
#include "platform/win/MoveOver.h"
#include "platform/win/Win32.h"

namespace platform {

namespace {

// Writes the staged content through to the disk before any name changes, so that no crash
// can leave a target renamed to a file whose data never reached it.
void flushToDisk(const std::string& path)
{
    const HANDLE file = ::CreateFileW(win::fileCallPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw IoError(static_cast<int>(::GetLastError()), "write", path);
    const bool flushed = ::FlushFileBuffers(file) != FALSE;
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    if (!flushed)
        throw IoError(static_cast<int>(error), "write", path);
}

// Waits until no reader holds `target` against its deletion: a reader that came to hold the
// kept name too would keep it from being removed again should the rename fail.
void waitForReaders(const std::string& target)
{
    const std::wstring path = win::fileCallPath(target);
    const DWORD error = win::retriedWhileHeld([&] {
        const HANDLE file = ::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        ::CloseHandle(file);
        return true;
    });
    if (error != ERROR_SUCCESS)
        throw IoError(static_cast<int>(error), "replace", target);
}

bool keepOldContent(const std::string& target, const std::string& keptName)
{
    waitForReaders(target);
    return ::CreateHardLinkW(win::fileCallPath(keptName).c_str(), win::fileCallPath(target).c_str(), nullptr) != FALSE;
}

} // namespace

void ReplacementSet::commit()
{
    for (const Entry& entry : entries_)
        flushToDisk(entry.file.temporaryPath);

    std::size_t placed = 0;
    try {
        for (; placed < entries_.size(); ++placed)
            place(entries_[placed]);
    } catch (...) {
        restore(placed);
        throw;
    }

    // The old contents, under their kept names.
    for (Entry& entry : entries_) {
        if (entry.placement == Placement::Swapped) {
            if (!::DeleteFileW(win::fileCallPath(entry.file.temporaryPath).c_str()))
                throw IoError(static_cast<int>(::GetLastError()), "remove", entry.file.temporaryPath);
            entry.file.temporaryPath.clear();
        }
    }
    entries_.clear();
}

// Swapped: the old content is under the staged name afterwards, as where names can be
// swapped; Created: there was no target; Overwritten: the old content is gone.
void ReplacementSet::place(Entry& entry)
{
    StagedFile& file = entry.file;
    const std::string keptName = file.temporaryPath + ".old";
    const bool kept = file.targetExisted && keepOldContent(file.target, keptName);
    const DWORD error = win::moveOver(file.temporaryPath, file.target);
    if (error != ERROR_SUCCESS) {
        if (kept)
            ::DeleteFileW(win::fileCallPath(keptName).c_str());
        throw IoError(static_cast<int>(error), "replace", file.target);
    }
    if (kept) {
        file.temporaryPath = keptName;
        entry.placement = Placement::Swapped;
    } else {
        entry.placement = file.targetExisted ? Placement::Overwritten : Placement::Created;
    }
}

void ReplacementSet::restore(std::size_t placedCount) noexcept
{
    for (std::size_t i = placedCount; i-- > 0;) {
        Entry& entry = entries_[i];
        StagedFile& file = entry.file;
        if (entry.placement != Placement::Swapped && entry.placement != Placement::Created)
            continue;
        // The old content back over the new one, or the new file back to its staged name.
        const bool back = entry.placement == Placement::Swapped ? win::moveOver(file.temporaryPath, file.target) == 0
                                                                : win::moveOver(file.target, file.temporaryPath) == 0;
        if (!back)
            continue;
        if (entry.placement == Placement::Swapped)
            file.temporaryPath.clear(); // the new content went with the rename
        entry.placement = Placement::Staged;
    }
}

// A target whose old content could not be put back keeps that content beside it, under
// its kept name, rather than losing it.
void ReplacementSet::removeStaged() noexcept
{
    for (const Entry& entry : entries_)
        if (entry.placement == Placement::Staged && !entry.file.temporaryPath.empty())
            ::DeleteFileW(win::fileCallPath(entry.file.temporaryPath).c_str());
}

} // namespace platform
