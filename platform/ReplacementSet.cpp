#include "platform/ReplacementSet.h"

#include <algorithm>

namespace platform {

ReplacementSet::~ReplacementSet() { removeStaged(); }

void ReplacementSet::add(ReplacingFile& file)
{
    // Room first, so that nothing can fail once the file is staged.
    if (entries_.size() == entries_.capacity())
        entries_.reserve(std::max<std::size_t>(16, 2 * entries_.capacity()));
    entries_.push_back({file.stage()});
}

} // namespace platform
