#pragma once

#include "platform/ProcessTable.h"

#include <QList>

#include <algorithm>
#include <vector>

// A process table whose snapshot and answers the test sets.
class FakeProcessTable final : public platform::ProcessTable {
public:
    std::vector<platform::ProcessEntry> entries;
    QList<bool> answers;              // one per termination request, in order; refused when none is left
    QList<std::uint32_t> requested;
    bool acceptedRequestsEnd = false; // an accepted request takes the process off the table

    std::vector<platform::ProcessEntry> snapshot() override { return entries; }
    bool terminate(std::uint32_t pid) override
    {
        requested << pid;
        const bool accepted = !answers.isEmpty() && answers.takeFirst();
        if (accepted && acceptedRequestsEnd)
            std::erase_if(entries, [pid](const platform::ProcessEntry& entry) { return entry.pid == pid; });
        return accepted;
    }
};
