#pragma once

class QAction;
class QMenu;
class QMenuBar;

// The main window's menu bar, left to right, with the items of "Options" top to bottom.
// Each item carries its name as its object name.
struct MainMenu1Items {
    QMenuBar* bar;
    QAction* CheckForUpdates1;
    QAction* UpdateablePrograms1;
    QMenu* Options1;
    QAction* ChangeUpdateFrequency1;
    QAction* CheckForUpdatesAutomatically1; // checkable, checked
    QAction* StartProgramWithWindows1;      // checkable
    QAction* N1;
    QAction* SetUpdateLocation1;
    QAction* N2;
    QAction* AdminConsole1;
    QAction* ExitApplication1;
};

// The tray icon's popup menu, top to bottom.
struct JvPopupMenu1Items {
    QMenu* menu;
    QAction* CheckForUpdatesNow1;
    QAction* UpdateAll1; // disabled until updates are found
    QAction* N3;
    QAction* UpdateAblePrograms2;
    QAction* ChangeUpdateFrequency2;
    QAction* SetUpdateLocation2;
    QAction* N4;
    QAction* ExitApplication2;
};

MainMenu1Items buildMainMenu1(QMenuBar& bar);
JvPopupMenu1Items buildJvPopupMenu1(QMenu& menu);
