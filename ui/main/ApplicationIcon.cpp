#include "ui/main/ApplicationIcon.h"

// The resource lives in a static library: it has to be registered by name.
static void registerIconResource() { Q_INIT_RESOURCE(icons); }

QIcon applicationIcon()
{
    registerIconResource();
    QIcon icon;
    for (const int size : {16, 20, 24, 32, 40, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/updater-%1.png").arg(size), QSize(size, size));
    return icon;
}
