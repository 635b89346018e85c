#include "engine/CopyProgress.h"

#include <algorithm>
#include <limits>

ProgressBarValues barValues(const CopyProgress& progress)
{
    // Read apart from each other, the two may come from different files for a moment.
    const std::int64_t length = std::max<std::int64_t>(progress.length.load(std::memory_order_relaxed), 0);
    const std::int64_t position = std::clamp<std::int64_t>(progress.position.load(std::memory_order_relaxed), 0, length);
    int shift = 0;
    while ((length >> shift) > std::numeric_limits<int>::max())
        ++shift;
    return {static_cast<int>(length >> shift), static_cast<int>(position >> shift)};
}
