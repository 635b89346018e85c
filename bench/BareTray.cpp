// The reference for the tray measurements: a Qt widgets program with one tray icon and
// nothing else.
#include <QApplication>
#include <QStyle>
#include <QSystemTrayIcon>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QSystemTrayIcon icon(application.style()->standardIcon(QStyle::SP_ComputerIcon));
    icon.show();
    return application.exec();
}
