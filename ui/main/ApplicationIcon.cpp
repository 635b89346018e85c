#include "ui/main/ApplicationIcon.h"

// The resource lives in a static library: it has to be registered by name.
static void registerIconResource() { Q_INIT_RESOURCE(icons); }

QIcon applicationIcon()
{
    // One instance for the whole program: each QIcon keeps the images it has decoded. The
    // 256-pixel image is left to the .ico: decoded it would weigh more than the rest.
    static const QIcon icon = [] {
        registerIconResource();
        QIcon sizes;
        for (const int size : {16, 20, 24, 32, 40, 48, 64, 128})
            sizes.addFile(QStringLiteral(":/icons/updater-%1.png").arg(size), QSize(size, size));
        return sizes;
    }();
    return icon;
}
