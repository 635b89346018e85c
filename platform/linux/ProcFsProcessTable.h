#pragma once

#include "platform/ProcessTable.h"

namespace platform {

// The process table read from a proc file system (normally "/proc"). A process's executable
// name is the target of its "exe" link without the " (deleted)" that the kernel appends
// once the file has been replaced or removed; argv[0] and the kernel's short name ("comm",
// at most 15 bytes) are its alternate names. Zombies and kernel threads are left out.
class ProcFsProcessTable final : public ProcessTable {
public:
    explicit ProcFsProcessTable(std::string root = "/proc");

    std::vector<ProcessEntry> snapshot() override;
    bool terminate(std::uint32_t pid) override; // SIGKILL

private:
    std::string root_;
};

} // namespace platform
