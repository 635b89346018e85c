#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// File services under the stores. Paths are UTF-8. Every failure throws platform::IoError
// carrying the system's error code and naming the file.
namespace platform {

// A file; a folder of that name does not count. A path that cannot be looked at (no
// permission) counts as a file, so that opening it reports why.
bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

// A file opened for reading only, so that a read-only share can be read; others may read
// and write it meanwhile.
class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::int64_t size() const;
    // Reads up to `length` bytes; fewer only at the end of the file.
    std::size_t read(void* buffer, std::size_t length);
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::intptr_t handle_;
};

// Writes a whole new content for `path` into a temporary file in the same folder and puts
// it in place with one atomic rename on commit(), so that readers see either the old file
// or the complete new one, and a failure leaves the old file as it was. An existing file's
// permission bits carry over to the new one.
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& path);
    ~ReplacingFile(); // removes the temporary file unless committed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(const void* data, std::size_t length); // a short write is error 101
    void commit();

private:
    void discard() noexcept;

    std::string path_;
    std::string temporaryPath_;
    std::intptr_t handle_;
    bool committed_ = false;
};

} // namespace platform
