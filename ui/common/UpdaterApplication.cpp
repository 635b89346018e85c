#include "ui/common/UpdaterApplication.h"

#include "ui/common/ErrorGuard.h"

UpdaterApplication::UpdaterApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool UpdaterApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
