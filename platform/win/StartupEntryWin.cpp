#include "platform/StartupEntry.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

namespace platform {

namespace {

// The current user's Run key, below HKEY_CURRENT_USER; nothing is written for other users
// or for the whole machine.
constexpr const wchar_t* RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The standard rights, spelled out: reading and deleting never create the key.
constexpr REGSAM ReadAccess = 0x20019;  // KEY_READ
constexpr REGSAM WriteAccess = 0x20006; // KEY_WRITE
static_assert(ReadAccess == KEY_READ && WriteAccess == KEY_WRITE);

struct OpenKey {
    HKEY handle = nullptr;
    ~OpenKey()
    {
        if (handle)
            ::RegCloseKey(handle);
    }
};

bool isString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// The value's data as text, cut at its first NUL; empty when the value is missing or
// cannot be read.
std::wstring readText(HKEY key, const std::wstring& name, const std::string& utf8Name)
{
    DWORD type = 0;
    DWORD size = 0;
    LONG status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS || size == 0)
        return {};
    if (!isString(type))
        throw StartupEntryError(StartupEntryError::Kind::InvalidDataType, utf8Name);
    std::wstring data;
    do { // the value may grow between the two calls
        data.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    } while (status == ERROR_MORE_DATA);
    if (status != ERROR_SUCCESS)
        return {};
    if (!isString(type))
        throw StartupEntryError(StartupEntryError::Kind::InvalidDataType, utf8Name);
    data.resize(size / sizeof(wchar_t));
    const auto nul = data.find(L'\0');
    if (nul != std::wstring::npos)
        data.resize(nul);
    return data;
}

// Whether a value of that name is there, whatever its type and data.
bool valueExists(const std::wstring& name)
{
    OpenKey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, RunKey, 0, ReadAccess, &key.handle) == ERROR_SUCCESS
        && ::RegQueryValueExW(key.handle, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

} // namespace

bool startupEntryPresent(const std::string& name)
{
    OpenKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, RunKey, 0, ReadAccess, &key.handle) != ERROR_SUCCESS)
        return false;
    return !readText(key.handle, win::wideFromUtf8(name), name).empty();
}

void writeStartupEntry(const std::string& name, const std::string& executable)
{
    OpenKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, RunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, WriteAccess, nullptr,
                          &key.handle, nullptr) != ERROR_SUCCESS)
        throw StartupEntryError(StartupEntryError::Kind::FailedToSetData, name);
    // Quoted: the logon starts the first word of an unquoted path that has blanks in it.
    const std::wstring command = L"\"" + win::wideFromUtf8(executable) + L"\"";
    const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    if (::RegSetValueExW(key.handle, win::wideFromUtf8(name).c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(command.c_str()), bytes) != ERROR_SUCCESS)
        throw StartupEntryError(StartupEntryError::Kind::FailedToSetData, name);
}

void removeStartupEntry(const std::string& name)
{
    const std::wstring value = win::wideFromUtf8(name);
    OpenKey key;
    const bool deleted = ::RegOpenKeyExW(HKEY_CURRENT_USER, RunKey, 0, WriteAccess, &key.handle) == ERROR_SUCCESS
        && ::RegDeleteValueW(key.handle, value.c_str()) == ERROR_SUCCESS;
    // A key or value that is not there is nothing to remove; one that stays is a failure.
    if (!deleted && valueExists(value))
        throw StartupEntryError(StartupEntryError::Kind::FailedToDelete, name);
}

} // namespace platform
