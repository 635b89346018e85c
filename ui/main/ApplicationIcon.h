#pragma once

#include <QIcon>

// The program's icon in every size it is drawn at: the tray icon and the window icon.
QIcon applicationIcon();
