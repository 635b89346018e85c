#include "store/RecordStores.h"

#include "store/RecordFile.h"

bool LoadAvailabelPrograms(std::vector<prog>& programok, std::int32_t& programokdb, const QString& applicationpath)
{
    return loadRecordFile(applicationpath + QStringLiteral("programs.conf"), programok, programokdb);
}

void SaveAvailablePrograms(const std::vector<prog>& programok, const QString& applicationpath)
{
    saveRecordFile(applicationpath + QStringLiteral("programs.conf"), programok);
}

bool LoadUpdateList(std::vector<upd>& updates, std::int32_t& updatesdb, const QString& update_path)
{
    return loadRecordFile(update_path + QStringLiteral("update.conf"), updates, updatesdb);
}

void SaveUpdateList(const std::vector<upd>& updates, const QString& update_path)
{
    saveRecordFile(update_path + QStringLiteral("update.conf"), updates);
}
