#pragma once

#include <string>

namespace platform::win {

// The path in the form the wide file calls take. A path of MAX_PATH characters or more is
// given in its verbatim form, so that it reaches the file system whole instead of failing:
// a temporary file beside a target of 259 characters is longer than that.
std::wstring fileCallPath(const std::wstring& path);
std::wstring fileCallPath(const std::string& utf8Path);

// The absolute path with the "\\?\" prefix ("\\?\UNC\" for a share), which the system
// takes as it stands.
std::wstring verbatimPath(const std::wstring& path);

} // namespace platform::win
