#include "ui/main/MainMenus.h"

#include <QMenu>
#include <QMenuBar>

namespace {

template <typename Menu>
QAction* item(Menu& menu, const char* name, const QString& caption)
{
    QAction* action = menu.addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction* separator(QMenu& menu, const char* name)
{
    QAction* action = menu.addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction* checkItem(QMenu& menu, const char* name, const QString& caption, bool checked)
{
    QAction* action = item(menu, name, caption);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

} // namespace

MainMenu1Items buildMainMenu1(QMenuBar& bar)
{
    bar.setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1Items items{};
    items.bar = &bar;
    items.CheckForUpdates1 = item(bar, "CheckForUpdates1", QStringLiteral("&Check For Updates"));
    items.UpdateablePrograms1 = item(bar, "UpdateablePrograms1", QStringLiteral("Updateable Programs"));
    items.Options1 = bar.addMenu(QStringLiteral("Options"));
    items.Options1->setObjectName(QStringLiteral("Options1"));
    QMenu& options = *items.Options1;
    items.ChangeUpdateFrequency1 = item(options, "ChangeUpdateFrequency1", QStringLiteral("Change Update Frequency"));
    items.CheckForUpdatesAutomatically1 =
        checkItem(options, "CheckForUpdatesAutomatically1", QStringLiteral("Check For Updates Automatically"), true);
    items.StartProgramWithWindows1 =
        checkItem(options, "StartProgramWithWindows1", QStringLiteral("Start Program With Windows"), false);
    items.N1 = separator(options, "N1");
    items.SetUpdateLocation1 = item(options, "SetUpdateLocation1", QStringLiteral("Set Update Location"));
    items.N2 = separator(options, "N2");
    items.AdminConsole1 = item(options, "AdminConsole1", QStringLiteral("Admin Console"));
    items.ExitApplication1 = item(bar, "ExitApplication1", QStringLiteral("Exit Application"));
    return items;
}

JvPopupMenu1Items buildJvPopupMenu1(QMenu& menu)
{
    menu.setObjectName(QStringLiteral("JvPopupMenu1"));
    JvPopupMenu1Items items{};
    items.menu = &menu;
    items.CheckForUpdatesNow1 = item(menu, "CheckForUpdatesNow1", QStringLiteral("Check For Updates Now!"));
    items.UpdateAll1 = item(menu, "UpdateAll1", QStringLiteral("Update All!"));
    items.UpdateAll1->setEnabled(false);
    items.N3 = separator(menu, "N3");
    items.UpdateAblePrograms2 = item(menu, "UpdateAblePrograms2", QStringLiteral("UpdateAble Programs"));
    items.ChangeUpdateFrequency2 = item(menu, "ChangeUpdateFrequency2", QStringLiteral("Change Update Frequency"));
    items.SetUpdateLocation2 = item(menu, "SetUpdateLocation2", QStringLiteral("Set Update Location"));
    items.N4 = separator(menu, "N4");
    items.ExitApplication2 = item(menu, "ExitApplication2", QStringLiteral("Exit Application"));
    return items;
}
