#pragma once

#include "store/CountedString.h"

#include <bit>
#include <cstring>
#include <cstddef>
#include <cstdint>
#include <type_traits>

static_assert(std::endian::native == std::endian::little, "the record files are little-endian");

// One program registered on this machine: a record of "programs.conf".
struct prog {
    std::int32_t id;
    CountedString<255> name;
    CountedString<255> path;    // the program's folder, ending with a separator
    CountedString<10> version;
    std::uint8_t fill;          // no meaning; kept as read
};

// One update published in the update folder: a record of "update.conf".
struct upd {
    std::int32_t id;
    CountedString<255> name;
    CountedString<255> path;    // where the program lay on the administrator's machine
    CountedString<10> version;
    std::uint8_t complete;      // nonzero: copy the whole folder, not only the executable
};

constexpr std::size_t RecordSize = 528;

template <typename Record>
constexpr bool isRecordLayout = sizeof(Record) == RecordSize && std::is_standard_layout_v<Record> &&
                                std::is_trivially_copyable_v<Record> && offsetof(Record, name) == 4 &&
                                offsetof(Record, path) == 260 && offsetof(Record, version) == 516;

static_assert(isRecordLayout<prog> && offsetof(prog, fill) == 527);
static_assert(isRecordLayout<upd> && offsetof(upd, complete) == 527);

// Records the system creates start with every byte zero.
template <typename Record>
Record zeroRecord()
{
    Record record;
    std::memset(&record, 0, sizeof record);
    return record;
}
