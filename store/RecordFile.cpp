#include "store/RecordFile.h"

#include "platform/FileAccess.h"
#include "platform/IoError.h"
#include "store/PathRules.h"

#include <cstring>

template <typename Record>
bool loadRecordFile(const QString& fileName, std::vector<Record>& list, std::int32_t& count)
{
    requireFitsPathLimit(fileName);
    const std::string path = systemPath(fileName);
    if (!platform::fileExists(path))
        return false;

    // Until the read is done, the list holds nothing that counts as read.
    count = 0;
    struct EmptyOnFailure {
        std::vector<Record>& list;
        bool armed = true;
        ~EmptyOnFailure()
        {
            if (armed)
                list.clear();
        }
    } guard{list};

    platform::InputFile file(path);
    const auto wholeRecords = static_cast<std::size_t>(file.size() / static_cast<std::int64_t>(RecordSize));
    // The bytes go straight into the list, in one read; entries the list already had are
    // overwritten rather than emptied and zero-filled first, so a reload of a list of the
    // same size costs no more than the read itself.
    list.resize(wholeRecords);
    const std::size_t got = file.read(list.data(), wholeRecords * RecordSize);
    if (got < wholeRecords * RecordSize) {
        // The file shrank under us: the entry being read is counted with what it got.
        const std::size_t partial = got / RecordSize;
        list.resize(partial + 1);
        auto* bytes = reinterpret_cast<unsigned char*>(&list[partial]);
        std::memset(bytes + got % RecordSize, 0, RecordSize - got % RecordSize);
        count = static_cast<std::int32_t>(list.size());
        guard.armed = false;
        throw platform::IoError(platform::IoError::ShortRead, "read", path);
    }
    count = static_cast<std::int32_t>(list.size());
    guard.armed = false;
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
