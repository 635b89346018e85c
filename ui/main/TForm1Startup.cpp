// The start-up: finding the settings and the program list, the first check, and the
// trip to the tray about a second after start.
#include "ui/main/TForm1.h"

#include "platform/FileAccess.h"
#include "store/PathRules.h"
#include "ui/common/ErrorGuard.h"
#include "ui/common/Prompts.h"
#include "ui/main/PeriodicTimer.h"
#include "ui/main/StatusPanels.h"

#include <QAction>
#include <QCoreApplication>
#include <QTimer>

void TForm1::FormCreate(QObject*)
{
    // A failure ends these steps where it happens; the window is made all the same, and
    // the flags keep what was decided before it.
    guarded([&] {
        state_.bezarhato = false;
        StatusBar1->setPanelText(0, QStringLiteral("Standby"));
        state_.applicationpath = applicationPathFrom(executablePath_);

        if (!LoadConfig()) {
            if (prompts().confirm(QStringLiteral("There is no update path specified. Do you wish to specify one?"))) {
                SetUpdateLocation1Click(this);
                state_.update_path_ok = !state_.update_path.isEmpty();
            } else {
                state_.update_path_ok = false;
            }
        } else if (platform::directoryExists(systemPath(state_.update_path))) {
            state_.update_path_ok = true;
        } else if (prompts().confirm(QStringLiteral(
                       "The update path specified is no longer available. Do you wish to specify a new one?"))) {
            SetUpdateLocation1Click(this);
            // An unchanged, unreachable folder counts too: it was the user's answer.
            state_.update_path_ok = !state_.update_path.isEmpty();
        } else {
            state_.update_path_ok = false;
        }

        if (LoadAvailabelPrograms()) {
            state_.programok_ok = true;
        } else if (prompts().confirm(
                       QStringLiteral("There is no available programs listed. Do you wish to add some?"))) {
            UpdateablePrograms1Click(this);
            state_.programok_ok = state_.programokdb > 0;
        } else {
            state_.programok_ok = false;
        }

        if (state_.update_path_ok && state_.programok_ok) {
            if (CheckForUpdates())
                NotifyUpdatesFound();
            else
                updatechecker->setEnabled(true);
        }
    });
    // The progress bars exist and the start-up entry shows also after a failure above: the
    // update run relies on the bars.
    guarded([&] { SetupStatusBar(); });
    guarded([&] {
        MainMenu1.StartProgramWithWindows1->setChecked(CheckForStartupEntry(QCoreApplication::applicationName()));
    });
}

void TForm1::Timer1Timer(QObject*)
{
    HideApplication();
    Timer1->stop();
}
