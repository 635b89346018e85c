#include "ui/common/UpdaterApplication.h"
#include "ui/main/TForm1.h"

int main(int argc, char* argv[])
{
    UpdaterApplication application(argc, argv);
    UpdaterApplication::setApplicationName(QStringLiteral("Updater"));
    TForm1 Form1;
    Form1.show();
    return application.exec();
}
