#pragma once

#include <string>
#include <vector>

namespace platform {

// The names of every entry of `folder` that is not a folder itself (a link to a folder
// counts as one), hidden ones included, in no particular order. Throws platform::IoError
// when the folder cannot be listed.
std::vector<std::string> filesIn(const std::string& folder);

} // namespace platform
