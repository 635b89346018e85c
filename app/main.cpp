#include "ui/common/UpdaterApplication.h"
#include "ui/main/ApplicationIcon.h"
#include "ui/main/SingleInstance.h"
#include "ui/main/TForm1.h"

int main(int argc, char* argv[])
{
    UpdaterApplication application(argc, argv);
    UpdaterApplication::setApplicationName(QStringLiteral("Updater"));
    UpdaterApplication::setWindowIcon(applicationIcon());
    // The window lives on hidden in the tray, and the dialogs close while it is hidden: the
    // program ends only when the main window closes for good.
    UpdaterApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance(SingleInstance::keyFor(TForm1::runningExecutablePath()));
    if (instance.askRunningInstanceToShow())
        return 0;
    if (!instance.listen())
        qWarning("Updater: a second start of the program will not find this one.");

    // The windows in their order; creating the main window runs the whole start-up.
    TForm1 Form1;
    QObject::connect(&instance, &SingleInstance::showRequested, &Form1, [&Form1] { Form1.ShowApplication(); });
    QObject::connect(&Form1, &TForm1::ended, &application, [] { QCoreApplication::exit(0); });
    // The dialogs are created afresh each time they open; hidden instances made here would
    // never be shown and would only cost memory while the program waits in the tray.

    if (Form1.hasEnded()) // "Exit Application" was chosen during the start-up questions
        return 0;
    Form1.show();
    return application.exec();
}
