#pragma once

// Files for the Windows layer's tests, made and looked at with the system's own calls so
// that a fault of the layer cannot hide behind itself.

#include <string>
#include <vector>

namespace wintest {

// A new empty folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // `name` (UTF-8, may hold backslashes) inside the folder.
    std::string path(const std::string& name = {}) const;

private:
    std::string path_;
};

// A file held open for as long as this lives by a reader that shares reading and writing
// but not deletion, as older clients of the update list open it.
class ForeignReader {
public:
    explicit ForeignReader(const std::string& path);
    ~ForeignReader();
    ForeignReader(const ForeignReader&) = delete;
    ForeignReader& operator=(const ForeignReader&) = delete;

private:
    void* handle_;
};

void makeFolder(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);
void setReadOnly(const std::string& path, bool readOnly);
void setAttributes(const std::string& path, unsigned long attributes);
// The names in a folder as the file system spells them, without "." and "..".
std::vector<std::wstring> namesIn(const std::string& folder);

} // namespace wintest
