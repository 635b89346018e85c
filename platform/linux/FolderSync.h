#pragma once

#include <string>

// Helpers of the Linux file services.
namespace platform::linux_files {

// Everything before the last '/' ("." when there is none).
std::string folderOf(const std::string& path);

// Makes the creations and renames in `folder` durable.
void syncFolder(const std::string& folder);

// Flushes the file at `path` to disk; a failure names `shownAs`.
void syncFile(const std::string& path, const std::string& shownAs);

// Flushes everything written to the file system that holds `folder`, in one request.
void syncFileSystemOf(const std::string& folder);

} // namespace platform::linux_files
