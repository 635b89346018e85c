#include "platform/linux/ProcFsProcessTable.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <unistd.h>

namespace platform {

namespace {

constexpr unsigned long KernelThreadFlag = 0x00200000; // PF_KTHREAD
constexpr std::string_view DeletedSuffix = " (deleted)";

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// The file's text up to its first `stop` byte, at most `limit` bytes of it; nothing when it
// cannot be read (the process has ended, or may not be inspected).
std::optional<std::string> readHead(int folder, const std::string& name, std::size_t limit, char stop)
{
    const Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return std::nullopt;
    std::string content;
    char block[4096];
    while (content.size() < limit) {
        const ssize_t got = ::read(file.get(), block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        content.append(block, static_cast<std::size_t>(got));
        if (content.find(stop) != std::string::npos)
            break;
    }
    return content.substr(0, std::min(limit, content.find(stop)));
}

std::string linkTarget(int folder, const std::string& name)
{
    std::string target(4096, '\0');
    const ssize_t length = ::readlinkat(folder, name.c_str(), target.data(), target.size());
    if (length <= 0)
        return {};
    target.resize(static_cast<std::size_t>(length));
    if (target.size() > DeletedSuffix.size() && target.ends_with(DeletedSuffix))
        target.resize(target.size() - DeletedSuffix.size());
    return target;
}

struct ProcessStatus {
    std::string comm;
    char state = '?';
    unsigned long flags = 0;
};

// "PID (comm) S ppid pgrp session tty tpgid flags ...": the short name may hold spaces
// and parentheses itself, so it ends at the last ')'.
std::optional<ProcessStatus> parseStat(const std::string& stat)
{
    const auto open = stat.find('(');
    const auto close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return std::nullopt;
    ProcessStatus status;
    status.comm = stat.substr(open + 1, close - open - 1);
    std::vector<std::string_view> fields;
    std::string_view rest = std::string_view(stat).substr(close + 1);
    while (!rest.empty() && fields.size() < 7) {
        const auto start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos)
            break;
        rest.remove_prefix(start);
        const auto end = rest.find(' ');
        fields.push_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    }
    if (fields.size() < 7 || fields[0].empty())
        return std::nullopt;
    status.state = fields[0][0];
    const auto flags = fields[6];
    if (std::from_chars(flags.data(), flags.data() + flags.size(), status.flags).ec != std::errc())
        return std::nullopt;
    return status;
}

std::optional<std::uint32_t> pidFromName(std::string_view name)
{
    std::uint32_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (name.empty() || error != std::errc() || end != name.data() + name.size() || pid == 0)
        return std::nullopt;
    return pid;
}

} // namespace

ProcFsProcessTable::ProcFsProcessTable(std::string root) : root_(std::move(root)) {}

std::vector<ProcessEntry> ProcFsProcessTable::snapshot()
{
    std::vector<ProcessEntry> entries;
    DIR* const folder = ::opendir(root_.c_str());
    if (folder == nullptr)
        return entries;
    const int root = ::dirfd(folder);
    while (const dirent* item = ::readdir(folder)) {
        const auto pid = pidFromName(item->d_name);
        if (!pid)
            continue;
        const std::string prefix = std::string(item->d_name) + '/';
        const auto stat = readHead(root, prefix + "stat", 4096, '\0');
        const auto status = stat ? parseStat(*stat) : std::nullopt;
        if (!status || status->state == 'Z' || status->state == 'X' || (status->flags & KernelThreadFlag) != 0)
            continue;

        ProcessEntry entry;
        entry.pid = *pid;
        entry.exeFile = linkTarget(root, prefix + "exe");
        for (std::string name : {readHead(root, prefix + "cmdline", 65536, '\0').value_or(""), status->comm})
            if (!name.empty())
                entry.alternateNames.push_back(std::move(name));
        if (!entry.exeFile.empty() || !entry.alternateNames.empty())
            entries.push_back(std::move(entry));
    }
    ::closedir(folder);
    return entries;
}

bool ProcFsProcessTable::terminate(std::uint32_t pid)
{
    return pid <= 0x7fffffffU && ::kill(static_cast<pid_t>(pid), SIGKILL) == 0;
}

ProcessTable& systemProcessTable()
{
    static ProcFsProcessTable table;
    return table;
}

} // namespace platform
