#include "engine/UpdateCheck.h"

#include "engine/IntegerConversion.h"
#include "store/RecordStores.h"
#include "store/RecordText.h"

#include <string_view>
#include <unordered_map>

namespace {

// Registered programs by name, with their positions in list order: pairing costs one
// look-up per update instead of a walk of the whole program list.
std::unordered_map<std::string_view, std::vector<std::size_t>> indexByName(const std::vector<prog>& programok)
{
    std::unordered_map<std::string_view, std::vector<std::size_t>> index;
    index.reserve(programok.size());
    for (std::size_t j = 0; j < programok.size(); ++j)
        index[programok[j].name.bytes()].push_back(j);
    return index;
}

} // namespace

QString foundUpdateText(const upd& update)
{
    return QString::number(update.id) + QStringLiteral(" - ") + readText(update.name) + QStringLiteral(" | ") +
           readText(update.version);
}

bool CheckForUpdates(bool programok_ok, bool update_path_ok, const std::vector<prog>& programok,
                     std::vector<upd>& updates, std::int32_t& updatesdb, const QString& update_path,
                     FoundUpdatesList& found)
{
    if (!programok_ok || !update_path_ok || !LoadUpdateList(updates, updatesdb, update_path))
        return false;

    found.clear();
    const auto index = indexByName(programok);
    for (const upd& update : updates) {
        const auto matches = index.find(update.name.bytes());
        if (matches == index.end())
            continue;
        for (const std::size_t j : matches->second) {
            const std::int32_t published = StrToInt(readText(update.version));
            const std::int32_t installed = StrToInt(readText(programok[j].version));
            if (published > installed)
                found.append(foundUpdateText(update),
                             QByteArray(update.name.bytes().data(), static_cast<qsizetype>(update.name.bytes().size())));
        }
    }
    found.uncheckAll();
    return found.count() > 0;
}
