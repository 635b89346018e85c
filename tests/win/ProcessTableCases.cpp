#include "platform/ExecutablePath.h"
#include "platform/ProcessTable.h"
#include "platform/win/LongPath.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"
#include "tests/win/Cases.h"
#include "tests/win/Scratch.h"

#include <algorithm>
#include <memory>

namespace wintest {

namespace {

using platform::ProcessEntry;
using platform::win::wideFromUtf8;

// The program to find and end, built beside the test program.
std::string fooProgram()
{
    const std::string self = platform::executablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + "Foo.exe";
}

// A copy of the program running under a name of the test's choosing; ended at the latest
// when the test lets go of it.
class Started {
public:
    Started(const ScratchFolder& scratch, const std::string& folder, const std::string& name)
    {
        const std::string path = scratch.path(folder + "\\" + name);
        if (::GetFileAttributesW(wideFromUtf8(scratch.path(folder)).c_str()) == INVALID_FILE_ATTRIBUTES)
            makeFolder(scratch.path(folder));
        if (::GetFileAttributesW(wideFromUtf8(path).c_str()) == INVALID_FILE_ATTRIBUTES &&
            !::CopyFileW(wideFromUtf8(fooProgram()).c_str(), wideFromUtf8(path).c_str(), TRUE))
            fail("cannot copy Foo.exe to " + path + " (error " + std::to_string(::GetLastError()) + ")", __FILE__, __LINE__);
        std::wstring commandLine = L"\"" + wideFromUtf8(path) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessW(wideFromUtf8(path).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process_))
            fail("cannot start " + path + " (error " + std::to_string(::GetLastError()) + ")", __FILE__, __LINE__);
        ::CloseHandle(process_.hThread);
    }
    ~Started()
    {
        if (!ended(0))
            ::TerminateProcess(process_.hProcess, 99);
        ::WaitForSingleObject(process_.hProcess, 10000);
        ::CloseHandle(process_.hProcess);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    std::uint32_t pid() const { return process_.dwProcessId; }
    bool ended(DWORD waitMilliseconds) const
    {
        return ::WaitForSingleObject(process_.hProcess, waitMilliseconds) == WAIT_OBJECT_0;
    }
    DWORD exitCode() const
    {
        DWORD code = 0;
        ::GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
};

const ProcessEntry* entryOf(const std::vector<ProcessEntry>& entries, std::uint32_t pid)
{
    const auto found = std::find_if(entries.begin(), entries.end(), [pid](const ProcessEntry& entry) {
        return entry.pid == pid;
    });
    return found == entries.end() ? nullptr : &*found;
}

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return asciiUpper(x) == asciiUpper(y);
    });
}

struct Launch {
    std::string name;
    std::vector<std::string> fileNames; // one running copy each, each in a folder of its own
};

struct Refusal {
    std::string name;
    std::uint32_t pid;
};

} // namespace

void addProcessTableCases(Runner& runner)
{
    runner.table<Launch>("snapshot lists each copy by the name it runs under",
        {
            {"two instances of Foo.exe", {"Foo.exe", "Foo.exe"}},
            {"case variants", {"foo.exe", "FOO.EXE", "Foo.Exe"}},
            {"a name outside ASCII", {"Tűrő.exe"}},
        },
        [](const Launch& row) {
            ScratchFolder scratch;
            std::vector<std::unique_ptr<Started>> started;
            for (std::size_t i = 0; i < row.fileNames.size(); ++i)
                started.push_back(std::make_unique<Started>(scratch, "copy" + std::to_string(i), row.fileNames[i]));
            const auto entries = platform::systemProcessTable().snapshot();
            for (std::size_t i = 0; i < started.size(); ++i) {
                const ProcessEntry* entry = entryOf(entries, started[i]->pid());
                CHECK(entry != nullptr);
                CHECK_EQ(entry->exeFile, row.fileNames[i]);
            }
            CHECK(entryOf(entries, ::GetCurrentProcessId()) != nullptr);
        });

    // What the guard's KillTask does with the table: end every process of that name.
    runner.add("terminating every Foo.exe ends both instances and the variant, with exit code 0", [] {
        ScratchFolder scratch;
        Started first(scratch, "a", "Foo.exe");
        Started second(scratch, "a", "Foo.exe");
        Started variant(scratch, "b", "FOO.EXE");
        Started other(scratch, "c", "Bar.exe");
        auto& table = platform::systemProcessTable();
        int accepted = 0;
        for (const ProcessEntry& entry : table.snapshot())
            if (sameIgnoringAsciiCase(entry.exeFile, "Foo.exe"))
                accepted += table.terminate(entry.pid) ? 1 : 0;
        CHECK_EQ(accepted, 3);
        for (const Started* process : {&first, &second, &variant}) {
            CHECK(process->ended(10000));
            CHECK_EQ(process->exitCode(), 0u);
        }
        CHECK(!other.ended(0));
        const auto after = table.snapshot();
        for (const Started* process : {&first, &second, &variant})
            CHECK(entryOf(after, process->pid()) == nullptr);
    });

    runner.table<Refusal>("terminating is refused",
        {
            {"no process has that id", 0xFFFFFFF0u},
            {"the idle process", 0},
        },
        [](const Refusal& row) { CHECK(!platform::systemProcessTable().terminate(row.pid)); });
}

} // namespace wintest
