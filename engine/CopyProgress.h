#pragma once

#include <atomic>
#include <cstdint>

// The progress of the file being copied, published by the update worker after every block
// and read by the UI thread at its own pace: no queued signal per block, no waiting.
struct CopyProgress {
    std::atomic<std::int64_t> length{0};   // the current file's length: the bar runs 0 to this
    std::atomic<std::int64_t> position{0}; // its bytes copied so far
};

// What a progress bar with int range shows for it: the maximum and the value, both scaled
// down alike for a file longer than an int can count, the value never beyond the maximum.
struct ProgressBarValues {
    int maximum = 0;
    int value = 0;
};
ProgressBarValues barValues(const CopyProgress& progress);
