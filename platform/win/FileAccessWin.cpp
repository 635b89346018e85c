#include "platform/FileAccess.h"
#include "platform/IoError.h"
#include "platform/win/LongPath.h"
#include "platform/win/MoveOver.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace platform {

namespace {

using win::fileCallPath;

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t valueOf(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }
const std::intptr_t NoHandle = valueOf(INVALID_HANDLE_VALUE);

int lastError() { return static_cast<int>(::GetLastError()); }

// Errors that say nothing is there: a missing file or folder, a name the system cannot
// have, a drive or share that is not reachable.
bool meansAbsent(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: // a file where a folder should be
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return true;
    default:
        return false;
    }
}

// The rename with POSIX semantics (Windows 10 1607 and later, on NTFS): it replaces a
// target that readers hold open, if they let it be deleted. False where it is not to be had.
bool renameOverOpenTarget(HANDLE file, const std::wstring& target)
{
    constexpr auto RenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22); // FileRenameInfoEx
    constexpr DWORD ReplaceIfExists = 0x1;
    constexpr DWORD PosixSemantics = 0x2;
    struct RenameInfo { // FILE_RENAME_INFO with its flags
        DWORD flags;
        HANDLE rootDirectory;
        DWORD fileNameLength;
        wchar_t fileName[1];
    };
    const std::wstring name = win::verbatimPath(target);
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(offsetof(RenameInfo, fileName) + nameBytes + sizeof(wchar_t), 0);
    auto* info = reinterpret_cast<RenameInfo*>(buffer.data());
    info->flags = ReplaceIfExists | PosixSemantics;
    info->rootDirectory = nullptr;
    info->fileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->fileName, name.c_str(), nameBytes);
    return ::SetFileInformationByHandle(file, RenameInfoEx, info, static_cast<DWORD>(buffer.size())) != FALSE;
}

// Attributes of the old file that the new one keeps (read-only refuses the save instead).
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::wstring temporaryNameFor(const std::wstring& path)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    const auto separator = path.find_last_of(L"\\/:");
    const std::wstring folder = separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
    // Room for the decoration within the 255 characters a name may have.
    const std::wstring name = (separator == std::wstring::npos ? path : path.substr(separator + 1)).substr(0, 200);
    wchar_t suffix[17];
    std::swprintf(suffix, 17, L"%016llx", static_cast<unsigned long long>(random()));
    return folder + L"." + name + L"." + suffix + L".tmp";
}

} // namespace

bool fileExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(fileCallPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return !meansAbsent(::GetLastError()); // e.g. access denied: let the open say why
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool directoryExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(fileCallPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

InputFile::InputFile(const std::string& path) : path_(path), handle_(NoHandle)
{
    // Others may go on reading and writing the file, and may replace it, while it is read.
    const HANDLE file = ::CreateFileW(fileCallPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw IoError(lastError(), "open", path); // a folder gives access denied
    // A device or pipe reached through a name ("CON", "\\.\pipe\...") is no file to read.
    LARGE_INTEGER size{};
    const int error = ::GetFileType(file) != FILE_TYPE_DISK ? ERROR_NOT_SUPPORTED
                      : !::GetFileSizeEx(file, &size)      ? lastError()
                                                           : 0;
    if (error != 0) {
        ::CloseHandle(file);
        throw IoError(error, "open", path);
    }
    handle_ = valueOf(file);
    size_ = size.QuadPart;
    // Windows files carry no permission bits; permissions_ stays 0.
}

InputFile::~InputFile()
{
    if (handle_ != NoHandle)
        ::CloseHandle(handleOf(handle_));
}

std::size_t InputFile::read(void* buffer, std::size_t length)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < length) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(handleOf(handle_), bytes + done, chunk, &got, nullptr))
            throw IoError(lastError(), "read", path_);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

// Windows files carry no permission bits to give the new file; it keeps the hidden and
// system attributes of the old one instead. There are no unnamed files either: the
// temporary file has its name from the start.
ReplacingFile::ReplacingFile(const std::string& path, std::optional<unsigned>, Temporary)
    : path_(path), handle_(NoHandle)
{
    const std::wstring target = win::wideFromUtf8(path);
    DWORD attributes = ::GetFileAttributesW(fileCallPath(target).c_str());
    replacing_ = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing_) {
        // What opening the old file for writing would refuse, the replace refuses too.
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
            throw IoError(ERROR_ACCESS_DENIED, "create", path);
    } else {
        attributes = 0;
    }
    for (int attempt = 0; attempt < 16 && handle_ == NoHandle; ++attempt) {
        const std::wstring temporary = temporaryNameFor(target);
        const HANDLE file =
            ::CreateFileW(fileCallPath(temporary).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL | (attributes & KeptAttributes), nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle_ = valueOf(file);
            temporaryPath_ = win::utf8FromWide(temporary);
        } else if (::GetLastError() != ERROR_FILE_EXISTS) {
            throw IoError(lastError(), "create", path);
        }
    }
    if (handle_ == NoHandle)
        throw IoError(ERROR_FILE_EXISTS, "create", path);
}

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::discard() noexcept
{
    if (handle_ != NoHandle) {
        ::CloseHandle(handleOf(handle_));
        handle_ = NoHandle;
    }
    if (!temporaryPath_.empty()) {
        ::DeleteFileW(fileCallPath(temporaryPath_).c_str());
        temporaryPath_.clear();
    }
}

void ReplacingFile::write(const void* data, std::size_t length)
{
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < length) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 30));
        DWORD put = 0;
        const bool written = ::WriteFile(handleOf(handle_), bytes + done, chunk, &put, nullptr) != FALSE;
        if (!written || put == 0) {
            const int error = written ? IoError::ShortWrite : lastError();
            discard();
            throw IoError(done > 0 ? IoError::ShortWrite : error, "write", path_);
        }
        done += put;
    }
}

void ReplacingFile::close()
{
    const bool closed = ::CloseHandle(handleOf(handle_)) != FALSE;
    handle_ = NoHandle;
    if (!closed) {
        const int error = lastError();
        discard();
        throw IoError(error, "write", path_);
    }
}

void ReplacingFile::commit()
{
    if (!::FlushFileBuffers(handleOf(handle_))) {
        const int error = lastError();
        discard();
        throw IoError(error, "write", path_);
    }
    const bool renamed = renameOverOpenTarget(handleOf(handle_), win::wideFromUtf8(path_));
    close();
    if (!renamed) {
        const DWORD error = win::moveOver(temporaryPath_, path_);
        if (error != ERROR_SUCCESS) {
            discard();
            throw IoError(static_cast<int>(error), "replace", path_);
        }
    }
    temporaryPath_.clear();
}

StagedFile ReplacingFile::stage()
{
    close();
    return {std::exchange(temporaryPath_, {}), path_, replacing_};
}

} // namespace platform
