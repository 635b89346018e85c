#include "store/Settings.h"

#include "platform/FileAccess.h"
#include "store/PathRules.h"
#include "store/TextFile.h"

namespace {

QString configFile(const QString& applicationpath) { return applicationpath + QStringLiteral("updater.conf"); }

} // namespace

bool LoadConfig(const QString& applicationpath, QString& update_path)
{
    const QString fileName = configFile(applicationpath);
    requireFitsPathLimit(fileName);
    if (!platform::fileExists(systemPath(fileName)))
        return false;
    update_path = readFirstLine(fileName);
    return true;
}

void SaveConfig(const QString& applicationpath, const QString& update_path)
{
    writeLine(configFile(applicationpath), update_path);
}

QString versionFileName(const QString& pathText) { return folderPart(pathText) + QStringLiteral("version.info"); }

QString VersionInfo(const QString& pathText) { return readFirstLine(versionFileName(pathText)); }

void SaveVersionInfo(const QString& pathText) { writeLine(versionFileName(pathText), QStringLiteral("1")); }
