#include "tests/win/Scratch.h"

#include "platform/win/LongPath.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

#include <stdexcept>

namespace wintest {

namespace {

using platform::win::fileCallPath;
using platform::win::utf8FromWide;
using platform::win::wideFromUtf8;

[[noreturn]] void fixtureFailed(const std::string& what, const std::string& path)
{
    throw std::runtime_error("fixture: cannot " + what + " " + path + " (error " + std::to_string(::GetLastError()) + ")");
}

void removeTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(fileCallPath(folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = folder + L"\\" + name;
            ::SetFileAttributesW(fileCallPath(full).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else
                ::DeleteFileW(fileCallPath(full).c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(fileCallPath(folder).c_str());
}

} // namespace

ScratchFolder::ScratchFolder()
{
    wchar_t temporary[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temporary);
    if (length == 0 || length > MAX_PATH)
        fixtureFailed("find", "the temporary folder");
    static int serial = 0;
    path_ = utf8FromWide(temporary) + "updater-wintest-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    makeFolder(path_);
}

ScratchFolder::~ScratchFolder() { removeTree(wideFromUtf8(path_)); }

std::string ScratchFolder::path(const std::string& name) const { return name.empty() ? path_ : path_ + "\\" + name; }

void makeFolder(const std::string& path)
{
    if (!::CreateDirectoryW(fileCallPath(path).c_str(), nullptr))
        fixtureFailed("create the folder", path);
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    const HANDLE file = ::CreateFileW(fileCallPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        fixtureFailed("create", path);
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!ok || written != bytes.size())
        fixtureFailed("write", path);
}

std::string readBytes(const std::string& path)
{
    const HANDLE file = ::CreateFileW(fileCallPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        fixtureFailed("open", path);
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

void setReadOnly(const std::string& path, bool readOnly)
{
    setAttributes(path, readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

void setAttributes(const std::string& path, unsigned long attributes)
{
    if (!::SetFileAttributesW(fileCallPath(path).c_str(), attributes))
        fixtureFailed("change the attributes of", path);
}

ForeignReader::ForeignReader(const std::string& path)
    : handle_(::CreateFileW(fileCallPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr))
{
    if (handle_ == INVALID_HANDLE_VALUE)
        fixtureFailed("open", path);
}

ForeignReader::~ForeignReader() { ::CloseHandle(handle_); }

std::vector<std::wstring> namesIn(const std::string& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(fileCallPath(wideFromUtf8(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        fixtureFailed("list", folder);
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

} // namespace wintest
