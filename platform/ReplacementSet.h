#pragma once

#include "platform/FileAccess.h"

#include <vector>

namespace platform {

// Several files replaced together, all or nothing. Each new content is written in full
// through a ReplacingFile and staged here; commit() flushes every staged file to disk (on
// Linux with one sync of their file system, not one per file), then puts each in its
// target's place. Should one of them fail to take its place, those already placed get
// their old content back (where the file system can swap two names atomically, as ext4,
// xfs, btrfs and tmpfs can; on Windows where it can give a file a second name, as NTFS
// can). Until commit() succeeds the targets keep their contents; destroying an uncommitted
// set removes its staged files.
class ReplacementSet {
public:
    ReplacementSet() = default;
    ~ReplacementSet();
    ReplacementSet(const ReplacementSet&) = delete;
    ReplacementSet& operator=(const ReplacementSet&) = delete;

    void add(ReplacingFile& file); // stages the file, complete
    void commit();

private:
    enum class Placement { Staged, Swapped, Created, Overwritten };
    struct Entry {
        StagedFile file;
        Placement placement = Placement::Staged;
    };

    void place(Entry& entry);
    void restore(std::size_t placedCount) noexcept;
    void removeStaged() noexcept;

    std::vector<Entry> entries_;
};

} // namespace platform
