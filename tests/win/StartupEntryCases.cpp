#include "platform/StartupEntry.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"
#include "tests/win/Cases.h"

#include <cstdlib>

namespace wintest {

namespace {

using namespace std::string_literals;
using platform::StartupEntryError;
using platform::win::wideFromUtf8;

// Not the program's own name, so that a run on a real machine leaves its entry alone.
const std::string EntryName = "UpdaterWinLayerTest";
const std::wstring WideEntryName = L"UpdaterWinLayerTest";
const wchar_t* const RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Cases that remove the whole Run key run only in a registry made for the test run.
bool registryIsThrowaway()
{
    const char* value = std::getenv("UPDATER_WIN_TEST_THROWAWAY_REGISTRY");
    return value && std::string(value) == "1";
}

void setRaw(DWORD type, const void* data, std::size_t size)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, RunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        fail("fixture: cannot create the Run key", __FILE__, __LINE__);
    const LONG status =
        ::RegSetValueExW(key, WideEntryName.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        fail("fixture: cannot set the value", __FILE__, __LINE__);
}

void setText(DWORD type, const std::wstring& text, bool withTerminator = true)
{
    setRaw(type, text.c_str(), (text.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
}

void deleteRaw() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey, WideEntryName.c_str()); }

bool runKeyExists()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, RunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void deleteRunKey()
{
    const LONG status = ::RegDeleteTreeW(HKEY_CURRENT_USER, RunKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        fail("fixture: cannot delete the Run key", __FILE__, __LINE__);
}

struct RawValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::wstring text; // the data as UTF-16 units, terminator included
};

RawValue readRaw()
{
    RawValue value;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, RunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (::RegQueryValueExW(key, WideEntryName.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.exists = true;
        value.text.assign(size / sizeof(wchar_t), L'\0');
        ::RegQueryValueExW(key, WideEntryName.c_str(), nullptr, &value.type,
                           reinterpret_cast<BYTE*>(value.text.data()), &size);
    }
    ::RegCloseKey(key);
    return value;
}

enum class Outcome { Absent, Present, InvalidDataType };

struct Presence {
    std::string name;
    void (*setup)();
    Outcome outcome;
};

struct Writing {
    std::string name;
    std::string executable;
    std::wstring data; // as stored, terminator included
};

void addPresenceCases(Runner& runner)
{
    runner.table<Presence>("start-up entry presence",
        {
            {"no value", [] { deleteRaw(); }, Outcome::Absent},
            {"an empty string", [] { setText(REG_SZ, L""); }, Outcome::Absent},
            {"a string value without data", [] { setRaw(REG_SZ, nullptr, 0); }, Outcome::Absent},
            {"a NUL before any character", [] { setText(REG_SZ, L"\0C:\\Updater.exe"s); },
             Outcome::Absent},
            {"another program's path", [] { setText(REG_SZ, L"C:\\Other\\Other.exe"); }, Outcome::Present},
            {"an expandable string", [] { setText(REG_EXPAND_SZ, L"%ProgramFiles%\\Updater.exe"); },
             Outcome::Present},
            {"a string without its terminating NUL", [] { setText(REG_SZ, L"C:\\a.exe", false); },
             Outcome::Present},
            {"a binary value without data", [] { setRaw(REG_BINARY, nullptr, 0); }, Outcome::Absent},
            {"a number", [] { const DWORD one = 1; setRaw(REG_DWORD, &one, sizeof one); },
             Outcome::InvalidDataType},
            {"a list of strings", [] { setRaw(REG_MULTI_SZ, L"C:\\a.exe\0\0", 10 * sizeof(wchar_t)); },
             Outcome::InvalidDataType},
        },
        [](const Presence& row) {
            row.setup();
            if (row.outcome == Outcome::InvalidDataType) {
                const auto error = EXPECT_THROW(StartupEntryError, platform::startupEntryPresent(EntryName));
                CHECK(error.kind() == StartupEntryError::Kind::InvalidDataType);
                CHECK_EQ(std::string(error.what()), "Invalid data type for '" + EntryName + "'");
            } else {
                CHECK_EQ(platform::startupEntryPresent(EntryName), row.outcome == Outcome::Present);
            }
            deleteRaw();
        });
}

void addWritingCases(Runner& runner)
{
    runner.table<Writing>("start-up entry written",
        {
            {"a path with spaces, quoted", "C:\\Program Files\\Updater\\Updater.exe",
             L"\"C:\\Program Files\\Updater\\Updater.exe\"\0"s},
            {"a path without spaces, quoted all the same", "C:\\Apps\\Updater.exe",
             L"\"C:\\Apps\\Updater.exe\"\0"s},
            {"a path outside ASCII", "C:\\Programok\\Árvíztűrő\\Updater.exe",
             L"\"C:\\Programok\\Árvíztűrő\\Updater.exe\"\0"s},
        },
        [](const Writing& row) {
            const DWORD number = 7;
            setRaw(REG_DWORD, &number, sizeof number); // replaced whatever it was
            platform::writeStartupEntry(EntryName, row.executable);
            const RawValue value = readRaw();
            CHECK(value.exists);
            CHECK_EQ(value.type, static_cast<DWORD>(REG_SZ));
            CHECK_EQ(value.text, row.data);
            CHECK(platform::startupEntryPresent(EntryName));
            deleteRaw();
        });

    runner.add("a value the registry refuses fails to set data", [] {
        const std::string tooLong(20000, 'n'); // value names end at 16,383 characters
        const auto error = EXPECT_THROW(StartupEntryError, platform::writeStartupEntry(tooLong, "C:\\Updater.exe"));
        CHECK(error.kind() == StartupEntryError::Kind::FailedToSetData);
        CHECK_EQ(std::string(error.what()), "Failed to set data for '" + tooLong + "'");
    });
}

void addRemovalCases(Runner& runner)
{
    runner.add("removing the entry twice: gone, then nothing to do", [] {
        platform::writeStartupEntry(EntryName, "C:\\Updater.exe");
        platform::removeStartupEntry(EntryName);
        CHECK(!readRaw().exists);
        CHECK(!platform::startupEntryPresent(EntryName));
        platform::removeStartupEntry(EntryName);
        CHECK(!readRaw().exists);
    });

    const std::string missingKey = "without a Run key";
    if (!registryIsThrowaway()) {
        runner.skip("start-up entry " + missingKey, "needs a registry made for the test run");
        return;
    }
    runner.add("start-up entry " + missingKey + ": absent, removal is nothing, writing creates the key", [] {
        deleteRunKey();
        CHECK(!platform::startupEntryPresent(EntryName));
        platform::removeStartupEntry(EntryName);
        CHECK(!runKeyExists());
        platform::writeStartupEntry(EntryName, "C:\\Updater.exe");
        CHECK(platform::startupEntryPresent(EntryName));
        deleteRaw();
    });
}

} // namespace

void addStartupEntryCases(Runner& runner)
{
    addPresenceCases(runner);
    addWritingCases(runner);
    addRemovalCases(runner);
}

} // namespace wintest
