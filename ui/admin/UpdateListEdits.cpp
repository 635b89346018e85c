#include "ui/admin/UpdateListEdits.h"

#include "engine/IntegerConversion.h"
#include "store/RecordText.h"

#include <limits>

namespace {

bool isNamed(const upd& record, const QString& name) { return readText(record.name) == name; }

} // namespace

upd& appendUpdateRecord(std::vector<upd>& updates, std::int32_t& updatesdb)
{
    updates.push_back(zeroRecord<upd>());
    updatesdb = static_cast<std::int32_t>(updates.size());
    return updates.back();
}

void appendRegisteredPrograms(std::vector<upd>& updates, std::int32_t& updatesdb, const std::vector<prog>& programok,
                              const QString& name)
{
    for (const prog& program : programok) {
        if (readText(program.name) != name)
            continue;
        upd& record = appendUpdateRecord(updates, updatesdb);
        record.id = updates.size() == 1 ? 1 : updates[updates.size() - 2].id;
        copyText(record.name, program.name);
        copyText(record.path, program.path);
        storeText(record.version, steppedVersion(readText(program.version), 1));
    }
}

void ChangeComplete(std::vector<upd>& updates, const QString& s, bool b)
{
    for (upd& record : updates)
        if (isNamed(record, s))
            record.complete = b ? 1 : 0;
}

void setVersionOfName(std::vector<upd>& updates, const QString& name, const QString& version)
{
    for (upd& record : updates)
        if (isNamed(record, name))
            storeText(record.version, version);
}

std::optional<QString> lastVersionOfName(const std::vector<upd>& updates, const QString& name)
{
    for (auto record = updates.rbegin(); record != updates.rend(); ++record)
        if (isNamed(*record, name))
            return readText(record->version);
    return std::nullopt;
}

bool removeLastOfName(std::vector<upd>& updates, std::int32_t& updatesdb, const QString& name)
{
    for (auto record = updates.rbegin(); record != updates.rend(); ++record) {
        if (isNamed(*record, name)) {
            updates.erase(std::next(record).base());
            updatesdb = static_cast<std::int32_t>(updates.size());
            return true;
        }
    }
    return false;
}

QString steppedVersion(const QString& version, int step)
{
    const std::int64_t stepped = std::int64_t{StrToInt(version)} + step;
    const QString text = QString::number(stepped);
    if (stepped < std::numeric_limits<std::int32_t>::min() || stepped > std::numeric_limits<std::int32_t>::max())
        throw ConversionError(text);
    return text;
}
