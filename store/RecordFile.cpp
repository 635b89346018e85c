#include "store/RecordFile.h"

#include "platform/FileAccess.h"
#include "platform/IoError.h"
#include "store/PathRules.h"

namespace {

// Records are read in large blocks straight into the list, not one system call each.
constexpr std::size_t RecordsPerRead = 2048;

} // namespace

template <typename Record>
bool loadRecordFile(const QString& fileName, std::vector<Record>& list, std::int32_t& count)
{
    requireFitsPathLimit(fileName);
    const std::string path = systemPath(fileName);
    if (!platform::fileExists(path))
        return false;

    list.clear();
    count = 0;
    platform::InputFile file(path);
    const auto wholeRecords = static_cast<std::size_t>(file.size() / static_cast<std::int64_t>(RecordSize));
    list.reserve(wholeRecords);
    while (list.size() < wholeRecords) {
        const std::size_t first = list.size();
        const std::size_t wanted = std::min(RecordsPerRead, wholeRecords - first);
        list.resize(first + wanted); // zero-filled entries
        const std::size_t got = file.read(&list[first], wanted * RecordSize);
        if (got < wanted * RecordSize) {
            // The file shrank under us: the entry being read is counted with what it got.
            list.resize(first + got / RecordSize + 1);
            count = static_cast<std::int32_t>(list.size());
            throw platform::IoError(platform::IoError::ShortRead, "read", path);
        }
        count = static_cast<std::int32_t>(list.size());
    }
    return count > 0;
}

template <typename Record>
void saveRecordFile(const QString& fileName, const std::vector<Record>& list)
{
    requireFitsPathLimit(fileName);
    platform::ReplacingFile file(systemPath(fileName));
    if (!list.empty())
        file.write(list.data(), list.size() * RecordSize);
    file.commit();
}

template bool loadRecordFile<prog>(const QString&, std::vector<prog>&, std::int32_t&);
template bool loadRecordFile<upd>(const QString&, std::vector<upd>&, std::int32_t&);
template void saveRecordFile<prog>(const QString&, const std::vector<prog>&);
template void saveRecordFile<upd>(const QString&, const std::vector<upd>&);
