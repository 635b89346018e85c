#include "platform/FileAccess.h"
#include "platform/IoError.h"
#include "platform/linux/FolderSync.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <random>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

using linux_files::folderOf;

int fd(std::intptr_t handle) { return static_cast<int>(handle); }

std::string temporaryNameFor(const std::string& path)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    // Room for the decoration within the 255 bytes a name may have.
    const std::string name = (slash == std::string::npos ? path : path.substr(slash + 1)).substr(0, 200);
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    return folder + "." + name + "." + suffix + ".tmp";
}

// The process's file creation mask, read once (umask() cannot read it without changing
// it); nothing when the system does not tell.
std::optional<mode_t> creationMask()
{
    static const std::optional<mode_t> mask = []() -> std::optional<mode_t> {
        std::FILE* status = std::fopen("/proc/self/status", "re");
        if (status == nullptr)
            return std::nullopt;
        std::optional<mode_t> found;
        char line[256];
        unsigned value = 0;
        while (!found && std::fgets(line, sizeof line, status) != nullptr)
            if (std::sscanf(line, "Umask: %o", &value) == 1)
                found = static_cast<mode_t>(value);
        std::fclose(status);
        return found;
    }();
    return mask;
}

} // namespace

bool fileExists(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno != ENOENT && errno != ENOTDIR; // e.g. EACCES: let the open say why
    return !S_ISDIR(info.st_mode);
}

bool directoryExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

InputFile::InputFile(const std::string& path) : path_(path), handle_(-1)
{
    // Not blocking: a pipe without a writer must not hold the caller until one turns up.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        throw IoError(errno, "open", path);
    struct stat info {};
    const int error = ::fstat(descriptor, &info) != 0 ? errno
                      : S_ISDIR(info.st_mode)          ? EISDIR
                      : !S_ISREG(info.st_mode)         ? EINVAL
                                                       : 0;
    if (error != 0) {
        ::close(descriptor);
        throw IoError(error, "open", path);
    }
    handle_ = descriptor;
    size_ = info.st_size;
    permissions_ = info.st_mode & 0777;
}

InputFile::~InputFile()
{
    if (handle_ >= 0)
        ::close(fd(handle_));
}

std::size_t InputFile::read(void* buffer, std::size_t length)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::read(fd(handle_), bytes + done, length - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(errno, "read", path_);
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

ReplacingFile::ReplacingFile(const std::string& path, std::optional<unsigned> permissions, Temporary temporary)
    : path_(path), handle_(-1)
{
    struct stat info {};
    replacing_ = ::stat(path.c_str(), &info) == 0;
    if (replacing_ && S_ISDIR(info.st_mode))
        throw IoError(EISDIR, "create", path);
    std::optional<mode_t> wanted;
    if (permissions)
        wanted = static_cast<mode_t>(*permissions);
    else if (replacing_)
        wanted = info.st_mode & 07777;
    const mode_t mode = wanted ? *wanted & 0777 : 0666;

    if (temporary == Temporary::Unnamed) {
        const int unnamed = ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (unnamed >= 0)
            handle_ = unnamed;
        else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            throw IoError(errno, "create", path);
        // else: the file system has no unnamed files; name it from the start.
    }
    for (int attempt = 0; attempt < 16 && handle_ < 0; ++attempt) {
        temporaryPath_ = temporaryNameFor(path);
        const int descriptor = ::open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0)
            handle_ = descriptor;
        else if (errno != EEXIST) {
            const int error = errno;
            temporaryPath_.clear();
            throw IoError(error, "create", path);
        }
    }
    if (handle_ < 0) {
        temporaryPath_.clear();
        throw IoError(EEXIST, "create", path);
    }
    // The creation mask may have taken bits away, and special bits are not set on creation.
    const auto mask = creationMask();
    if (wanted && (!mask || (*wanted & *mask) != 0 || (*wanted & ~mode_t{0777}) != 0)) {
        if (::fchmod(fd(handle_), *wanted) != 0) {
            const int error = errno;
            discard();
            throw IoError(error, "set the permissions of", path);
        }
    }
}

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::discard() noexcept
{
    if (handle_ >= 0) {
        ::close(fd(handle_));
        handle_ = -1;
    }
    if (!temporaryPath_.empty()) {
        ::unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}

void ReplacingFile::write(const void* data, std::size_t length)
{
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t put = ::write(fd(handle_), bytes + done, length - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            discard();
            throw IoError(done > 0 ? IoError::ShortWrite : error, "write", path_);
        }
        done += static_cast<std::size_t>(put);
    }
    written_ += length;
    writeBackEarly();
}

void ReplacingFile::writeBackEarly()
{
    // Left to itself the system keeps a large file in memory, and the disk its own cache,
    // until the file is flushed: the flush at the end of a large update then takes a second
    // or more between the last block and the finished message. Each window is handed to
    // the disk as soon as it is complete, the window before is waited for, and every few
    // windows the disk is asked to empty its cache: at most two windows are ever unwritten
    // and the final flush has little left to do.
    constexpr std::uint64_t window = 8u << 20;
    constexpr unsigned windowsPerDataSync = 8;
    if (!writesBackEarly_ || written_ - writeBackStarted_ < window)
        return;
    const int descriptor = fd(handle_);
    const auto start = static_cast<off64_t>(writeBackStarted_);
    const auto length = static_cast<off64_t>(written_ - writeBackStarted_);
    const bool dataSyncDue = written_ / (window * windowsPerDataSync) != writeBackStarted_ / (window * windowsPerDataSync);
    const bool failed =
        ::sync_file_range(descriptor, start, length, SYNC_FILE_RANGE_WRITE) != 0 ||
        (start > 0 && ::sync_file_range(descriptor, 0, start,
                                        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                            SYNC_FILE_RANGE_WAIT_AFTER) != 0) ||
        (dataSyncDue && ::fdatasync(descriptor) != 0);
    if (failed) {
        // A file system that cannot do it is written at the final flush, as without it.
        if (errno == EINVAL || errno == ESPIPE || errno == EOPNOTSUPP || errno == ENOSYS) {
            writesBackEarly_ = false;
            return;
        }
        const int error = errno;
        discard();
        throw IoError(error, "write", path_);
    }
    writeBackStarted_ = written_;
}

// Gives the unnamed file a name beside the target, to rename it over the target.
void ReplacingFile::nameTemporary()
{
    if (!temporaryPath_.empty())
        return;
    const std::string self = "/proc/self/fd/" + std::to_string(fd(handle_));
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = temporaryNameFor(path_);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temporaryPath_ = name;
            return;
        }
        if (errno != EEXIST)
            break;
    }
    const int error = errno;
    discard();
    throw IoError(error, "replace", path_);
}

void ReplacingFile::close()
{
    const int closed = ::close(fd(handle_));
    handle_ = -1;
    if (closed != 0) {
        const int error = errno;
        discard();
        throw IoError(error, "write", path_);
    }
}

void ReplacingFile::commit()
{
    if (::fsync(fd(handle_)) != 0) {
        const int error = errno;
        discard();
        throw IoError(error, "write", path_);
    }
    nameTemporary();
    close();
    if (::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        discard();
        throw IoError(error, "replace", path_);
    }
    temporaryPath_.clear();
    // The rename itself must survive a crash too.
    linux_files::syncFolder(folderOf(path_));
}

StagedFile ReplacingFile::stage()
{
    nameTemporary();
    close();
    return {std::exchange(temporaryPath_, {}), path_, replacing_};
}

} // namespace platform
