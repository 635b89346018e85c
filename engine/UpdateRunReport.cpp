#include "engine/UpdateRunReport.h"

void UpdateRunReport::applied(const QString& program) { applied_.append(program); }

void UpdateRunReport::failed(const QString& program, const QString& reason)
{
    failures_.append(program + QStringLiteral(": ") + reason);
}

QString UpdateRunReport::finishedMessage() const
{
    if (!anyFailed())
        return QStringLiteral("Update Process Finished Succesfully");
    QString text = QStringLiteral("The update process finished, but not every update was applied.\n\nNot updated "
                                  "(the program keeps its old version):\n") +
                   failures_.join(QLatin1Char('\n')) + QStringLiteral("\n\nUpdated:\n");
    text += applied_.isEmpty() ? QStringLiteral("none") : applied_.join(QLatin1Char('\n'));
    return text;
}
