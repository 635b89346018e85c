#include "engine/ProcessGuard.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

namespace {

QString asciiUpper(QString text)
{
    for (QChar& character : text)
        if (character >= u'a' && character <= u'z')
            character = QChar(character.unicode() - u'a' + u'A');
    return text;
}

QString fileNamePartOfProcessName(const QString& name)
{
    // Windows paths turn up on Linux too (argv[0] of a program run through Wine).
    qsizetype start = 0;
    for (qsizetype i = name.size(); i > 0; --i) {
        const QChar character = name[i - 1];
        if (character == u'\\' || character == u'/' || character == u':') {
            start = i;
            break;
        }
    }
    return name.mid(start);
}

bool entryMatches(const platform::ProcessEntry& entry, const QString& exeFileName)
{
    if (!entry.exeFile.empty() && processNameMatches(QString::fromStdString(entry.exeFile), exeFileName))
        return true;
    for (const std::string& name : entry.alternateNames)
        if (processNameMatches(QString::fromStdString(name), exeFileName))
            return true;
    return false;
}

} // namespace

bool processNameMatches(const QString& processName, const QString& exeFileName)
{
    const QString wanted = asciiUpper(exeFileName);
    return asciiUpper(fileNamePartOfProcessName(processName)) == wanted || asciiUpper(processName) == wanted;
}

bool processExists(const QString& exeFileName, platform::ProcessTable& table)
{
    const auto entries = table.snapshot();
    return std::any_of(entries.begin(), entries.end(),
                       [&](const platform::ProcessEntry& entry) { return entryMatches(entry, exeFileName); });
}

std::int32_t KillTask(const QString& ExeFileName, platform::ProcessTable& table)
{
    std::int32_t result = 0;
    for (const platform::ProcessEntry& entry : table.snapshot())
        if (entryMatches(entry, ExeFileName))
            result = table.terminate(entry.pid) ? 1 : 0;
    return result;
}

bool processesGoneWithin(const QString& exeFileName, std::chrono::milliseconds limit, platform::ProcessTable& table)
{
    const QDeadlineTimer deadline(limit);
    while (processExists(exeFileName, table)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}
