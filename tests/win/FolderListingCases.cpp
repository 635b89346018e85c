#include "platform/FolderListing.h"
#include "platform/IoError.h"
#include "platform/win/Win32.h"
#include "tests/win/Cases.h"
#include "tests/win/Scratch.h"

#include <algorithm>

namespace wintest {

namespace {

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : "|") + name;
    return text;
}

struct Listing {
    std::string name;
    std::string folder; // below the scratch folder
    std::string expected; // the sorted names, '|' between them
};

} // namespace

void addFolderListingCases(Runner& runner)
{
    runner.table<Listing>("folder listing",
        {
            {"every file, hidden and system ones too; no folder, nothing below one", "", "Foo.exe|hidden.dll|readme|system.ini|tükör.txt"},
            {"a trailing backslash is the same folder", "\\", "Foo.exe|hidden.dll|readme|system.ini|tükör.txt"},
            {"forward slashes are the same folder", "/sub/", "inner.exe"},
            {"an empty folder", "\\sub\\empty", ""},
        },
        [](const Listing& row) {
            ScratchFolder scratch;
            for (const char* name : {"Foo.exe", "readme", "hidden.dll", "system.ini", "tükör.txt"})
                writeBytes(scratch.path(name), "x");
            setAttributes(scratch.path("hidden.dll"), FILE_ATTRIBUTE_HIDDEN);
            setAttributes(scratch.path("system.ini"), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
            makeFolder(scratch.path("sub"));
            makeFolder(scratch.path("sub\\empty"));
            makeFolder(scratch.path("folder.exe"));
            writeBytes(scratch.path("sub\\inner.exe"), "x");
            CHECK_EQ(joined(sorted(platform::filesIn(scratch.path() + row.folder))), row.expected);
        });

    runner.add("folder listing: a missing folder is an error that names it", [] {
        ScratchFolder scratch;
        const std::string missing = scratch.path("missing");
        const platform::IoError error = EXPECT_THROW(platform::IoError, platform::filesIn(missing));
        CHECK_EQ(error.code(), ERROR_PATH_NOT_FOUND);
        CHECK(std::string(error.what()).find(missing) != std::string::npos);
    });
}

} // namespace wintest
