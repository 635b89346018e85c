#include "engine/UpdateRunSteps.h"

#include <string_view>

std::optional<std::size_t> lastUpdateNamed(const std::vector<upd>& updates, const QByteArray& name)
{
    const std::string_view wanted(name.constData(), static_cast<std::size_t>(name.size()));
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < updates.size(); ++i)
        if (updates[i].name.bytes() == wanted)
            found = i;
    return found;
}

QString runningInstanceText(const QString& programName)
{
    return QStringLiteral("The update software found a running instance of the program: ") + programName +
           QStringLiteral("\r\rPlease close the program before you Click OK!");
}

QString cannotCloseText(const QString& programName)
{
    return QStringLiteral("The update software could not close the program: ") + programName +
           QStringLiteral("\n\nIt may belong to another user. Do you wish to skip its update? Choose No to try "
                          "again once it is closed.");
}
