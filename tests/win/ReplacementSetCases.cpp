#include "platform/FileAccess.h"
#include "platform/IoError.h"
#include "platform/ReplacementSet.h"
#include "platform/win/Win32.h"
#include "tests/win/Cases.h"
#include "tests/win/Scratch.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace wintest {

namespace {

using platform::IoError;
using platform::ReplacementSet;
using platform::ReplacingFile;

// Every file of the folder with its bytes, in name order: "name=bytes|...".
std::string contentsOf(const ScratchFolder& scratch)
{
    std::map<std::string, std::string> contents;
    for (const std::wstring& wide : namesIn(scratch.path())) {
        const std::string name(wide.begin(), wide.end()); // the test's names are ASCII
        contents[name] = readBytes(scratch.path(name));
    }
    std::string text;
    for (const auto& [name, bytes] : contents)
        text += name + "=" + bytes + "|";
    return text;
}

// A program folder whose files "a.exe" and "b.dll" an update replaces together.
struct Staging {
    std::string name;
    bool aExists;
    bool bExists;
    bool commits;      // else the set is abandoned before its commit
    bool bHeldOpen;    // by a reader that does not share deletion, for the whole commit
    bool replaced;     // the targets end with the new contents
};

} // namespace

void addReplacementSetCases(Runner& runner)
{
    runner.table<Staging>("replacement set",
        {
            {"two existing files replaced together", true, true, true, false, true},
            {"a new file and an existing one", false, true, true, false, true},
            {"two new files", false, false, true, false, true},
            {"abandoned before the commit: nothing changes", true, true, false, false, false},
            {"the second target held open: the first gets its old content back", true, true, true, true, false},
            {"the second target held open: the new first file goes again", false, true, true, true, false},
        },
        [](const Staging& row) {
            ScratchFolder scratch;
            const std::string a = scratch.path("a.exe");
            const std::string b = scratch.path("b.dll");
            if (row.aExists)
                writeBytes(a, "old a");
            if (row.bExists)
                writeBytes(b, "old b, longer");
            const auto before = contentsOf(scratch);
            std::optional<IoError> failure;
            {
                ReplacementSet set;
                for (const auto& [path, bytes] : {std::pair{a, std::string("new a, longer")}, std::pair{b, std::string("new b")}}) {
                    ReplacingFile file(path, std::nullopt, ReplacingFile::Temporary::Named);
                    file.write(bytes.data(), bytes.size());
                    set.add(file);
                }
                if (row.commits) {
                    const std::unique_ptr<ForeignReader> reader = row.bHeldOpen ? std::make_unique<ForeignReader>(b) : nullptr;
                    try {
                        set.commit();
                    } catch (const IoError& error) {
                        failure = error;
                    }
                }
            }
            if (row.replaced) {
                CHECK(!failure);
                CHECK_EQ(readBytes(a), std::string("new a, longer"));
                CHECK_EQ(readBytes(b), std::string("new b"));
                CHECK_EQ(namesIn(scratch.path()).size(), 2u);
                return;
            }
            CHECK_EQ(failure.has_value(), row.bHeldOpen);
            if (failure) {
                CHECK(failure->code() == ERROR_SHARING_VIOLATION || failure->code() == ERROR_ACCESS_DENIED);
                CHECK(std::string(failure->what()).find(b) != std::string::npos);
            }
            // Byte for byte the folder it was, with no temporary file left in it.
            CHECK_EQ(contentsOf(scratch), before);
        });
}

} // namespace wintest
