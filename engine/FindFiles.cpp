#include "engine/FindFiles.h"

#include "engine/FileMask.h"
#include "platform/FolderListing.h"
#include "store/PathRules.h"

#include <algorithm>

void FindFiles(const QString& StartDir, const QString& FileMask, QStringList& filelist)
{
    const QString folder = withTrailingSeparator(StartDir);
    QStringList names;
    for (const std::string& entry : platform::filesIn(systemPath(folder))) {
        QString name = QString::fromStdString(entry);
        if (fileMaskMatches(FileMask, name))
            names.append(std::move(name));
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    for (const QString& name : names)
        filelist.append(folder + name);
}
