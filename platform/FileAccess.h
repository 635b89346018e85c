#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// File services under the stores. Paths are UTF-8. Every failure throws platform::IoError
// carrying the system's error code and naming the file.
namespace platform {

// A file; a folder of that name does not count. A path that cannot be looked at (no
// permission) counts as a file, so that opening it reports why.
bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

// A file opened for reading only, so that a read-only share can be read; others may read
// and write it meanwhile. Only a regular file opens: a folder, a pipe or a device is refused
// at once rather than waited on.
class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // As the file was when it was opened: its length, and its read, write and execute
    // permission bits (0 where the system has none).
    std::int64_t size() const { return size_; }
    unsigned permissions() const { return permissions_; }
    // Reads up to `length` bytes; fewer only at the end of the file.
    std::size_t read(void* buffer, std::size_t length);
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::intptr_t handle_;
    std::int64_t size_ = 0;
    unsigned permissions_ = 0;
};

// A complete new content for `target`, written and closed under `temporaryPath` beside it.
struct StagedFile {
    std::string temporaryPath;
    std::string target;
    bool targetExisted = false; // when the new content was begun
};

// Writes a whole new content for `path` into a temporary file in the same folder and puts
// it in place with one atomic rename on commit(), so that readers see either the old file
// or the complete new one, and a failure leaves the old file as it was. The new file gets
// `permissions` when given, else an existing file's permission bits carry over.
//
// The temporary file has no name until commit() where the system allows it, so that a
// process that dies while writing leaves nothing behind. A file bound for a ReplacementSet
// is named from the start: staging names it anyway, and creating it by name is cheaper.
class ReplacingFile {
public:
    enum class Temporary { Unnamed, Named };

    explicit ReplacingFile(const std::string& path, std::optional<unsigned> permissions = std::nullopt,
                           Temporary temporary = Temporary::Unnamed);
    ~ReplacingFile(); // removes the temporary file unless committed or staged
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(const void* data, std::size_t length); // a short write is error 101
    // Flushes the file to disk and renames it over `path`.
    void commit();
    // Closes the complete file under its temporary name, not yet flushed, and hands that
    // name over (to a ReplacementSet, which puts several files in place together).
    StagedFile stage();

private:
    void nameTemporary();
    void close();
    void discard() noexcept;
    void writeBackEarly();

    std::string path_;
    std::string temporaryPath_;
    std::intptr_t handle_;
    bool replacing_ = false;
    // Written so far, and how much of it the system has been asked to put on disk already.
    std::uint64_t written_ = 0;
    std::uint64_t writeBackStarted_ = 0;
    bool writesBackEarly_ = true;
};

} // namespace platform
