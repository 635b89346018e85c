#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One running process as a snapshot lists it. Names are UTF-8 and never empty.
struct ProcessEntry {
    std::uint32_t pid = 0;
    // The executable the system reports for the process (a file name or a full path; empty
    // when it cannot be read).
    std::string exeFile;
    // Further names the process is known by, for programs started through a loader, whose
    // own executable is the loader's (on Linux: argv[0] and the kernel's short name).
    std::vector<std::string> alternateNames;
};

// The system's list of running processes and its forced termination.
class ProcessTable {
public:
    virtual ~ProcessTable() = default;

    // Every process running now; empty when no snapshot can be taken. Processes that end
    // while the list is taken, or cannot be read, are left out.
    virtual std::vector<ProcessEntry> snapshot() = 0;

    // Asks the system to end the process at once; true when it accepted the request. Does
    // not wait for the process to end.
    virtual bool terminate(std::uint32_t pid) = 0;
};

// The table of this machine.
ProcessTable& systemProcessTable();

} // namespace platform
