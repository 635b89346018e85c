#pragma once

#include <functional>
#include <optional>
#include <sys/types.h>

// Runs `body` in a forked child, for faults that root does not meet otherwise. The child
// exits with 0 when `body` returns, with the I/O error's code when it throws one, and with
// 255 for anything else.
struct ChildLimits {
    std::optional<off_t> fileSizeLimit; // RLIMIT_FSIZE, with SIGXFSZ ignored
    bool asNobody = false;              // uid and gid 65534, no groups
};

inline ChildLimits asNobody()
{
    ChildLimits limits;
    limits.asNobody = true;
    return limits;
}

int runInChild(const std::function<void()>& body, const ChildLimits& limits = {});

// Starts `body` in a forked child and returns its pid without waiting.
pid_t startChild(const std::function<void()>& body);
