// Starting the program with the user's session.
#include "ui/main/TForm1.h"

#include "platform/StartupEntry.h"

#include <QAction>
#include <QCoreApplication>

bool TForm1::CheckForStartupEntry(const QString& ApTitle)
{
    return platform::startupEntryPresent(ApTitle.toStdString());
}

void TForm1::RemoveFromRunKey(const QString& ApTitle) { platform::removeStartupEntry(ApTitle.toStdString()); }

void TForm1::RunOnStartup(const QString& sProgTitle, const QString& sCmdLine)
{
    platform::writeStartupEntry(sProgTitle.toStdString(), sCmdLine.toStdString());
}

void TForm1::StartProgramWithWindows1Click(QObject*)
{
    QAction* item = MainMenu1.StartProgramWithWindows1;
    const QString title = QCoreApplication::applicationName();
    try {
        if (item->isChecked())
            RunOnStartup(title, executablePath_);
        else
            RemoveFromRunKey(title);
    } catch (...) {
        // The entry is as it was before the click, and so is the check mark.
        item->setChecked(!item->isChecked());
        throw;
    }
}
