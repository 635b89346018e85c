#include "store/PathRules.h"

#include "platform/IoError.h"

namespace {

bool endsFolder(QChar character)
{
#ifdef Q_OS_WIN
    return character == u'\\' || character == u'/' || character == u':';
#else
    return character == u'/';
#endif
}

qsizetype folderLength(const QString& path)
{
    for (qsizetype i = path.size(); i > 0; --i)
        if (endsFolder(path[i - 1]))
            return i;
    return 0;
}

} // namespace

QChar pathSeparator()
{
#ifdef Q_OS_WIN
    return u'\\';
#else
    return u'/';
#endif
}

QString folderPart(const QString& path) { return path.left(folderLength(path)); }

QString fileNamePart(const QString& path) { return path.mid(folderLength(path)); }

QString withTrailingSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(pathSeparator()))
        return folder;
    return folder + pathSeparator();
}

QString applicationPathFrom(const QString& executablePath)
{
    return withTrailingSeparator(folderPart(executablePath));
}

void requireFitsPathLimit(const QString& fileName)
{
    if (fileName.size() > 259)
        throw platform::IoError(platform::IoError::PathTooLong, "open", fileName.toStdString());
}

std::string systemPath(const QString& fileName) { return fileName.toStdString(); }
