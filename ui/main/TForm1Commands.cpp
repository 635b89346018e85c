// The periodic check and the menu commands.
#include "ui/main/TForm1.h"

#include "engine/IntegerConversion.h"
#include "ui/admin/AdminConsoleOpener.h"
#include "ui/admin/ProgramsDialogOpener.h"
#include "ui/admin/TForm4.h"
#include "ui/common/ErrorGuard.h"
#include "ui/common/Prompts.h"
#include "ui/main/FoundUpdatesListBox.h"
#include "ui/main/PeriodicTimer.h"

#include <QAction>
#include <QScopeGuard>
#include <QLineEdit>

void TForm1::runCheck(const std::function<void()>& check)
{
    checkRunning_ = true;
    guarded(check);
    checkRunning_ = false;
}

void TForm1::periodicTick()
{
    // A tick while a check or its error message is still open, during an update run or
    // while the admin console holds the checks is let go; the timer runs on.
    if (checkRunning_ || runInProgress_ || periodicCheckHeld_)
        return;
    // The user may be choosing entries in the window when the timer fires. A check rebuilds
    // the list unchecked, and "Update Selected" would then apply nothing and still report
    // success: an entry the check finds again keeps the check mark the user gave it.
    FoundUpdatesListBox found(*CheckListBox1);
    const QStringList chosen = found.checkedTexts();
    runCheck([&] { updatecheckerTimer(updatechecker); });
    found.check(chosen);
}

void TForm1::updatecheckerTimer(QObject*)
{
    if (CheckForUpdates())
        NotifyUpdatesFound();
}

void TForm1::CheckForUpdates1Click(QObject* Sender) { updatecheckerTimer(Sender); }

void TForm1::CheckForUpdatesNow1Click(QObject* Sender) { CheckForUpdates1Click(Sender); }

void TForm1::CheckForUpdatesAutomatically1Click(QObject*)
{
    updatechecker->setEnabled(MainMenu1.CheckForUpdatesAutomatically1->isChecked());
}

void TForm1::ChangeUpdateFrequency1Click(QObject*)
{
    const QString current = QString::number(updatechecker->interval());
    const QString entered = prompts().inputBox(QStringLiteral("Change Update Frequency"),
                                               QStringLiteral("Enter new interval in ms (1s = 1000ms):"), current);
    // Cancel gives back the text shown, which for an interval above 2^31 - 1 ms is no
    // signed integer: unchanged text is no change.
    if (entered == current)
        return;
    updatechecker->setInterval(static_cast<std::uint32_t>(StrToInt(entered)));
}

void TForm1::ChangeUpdateFrequency2Click(QObject* Sender) { ChangeUpdateFrequency1Click(Sender); }

void TForm1::UpdateablePrograms1Click(QObject*) { openProgramsDialog(state_, this); }

void TForm1::UpdateAblePrograms2Click(QObject* Sender) { UpdateablePrograms1Click(Sender); }

void TForm1::SetUpdateLocation1Click(QObject*)
{
    TForm4 Form4(state_);
    Form4.Edit1->setText(state_.update_path);
    Form4.move(pos() + QPoint(10, 10));
    Form4.exec();
}

void TForm1::SetUpdateLocation2Click(QObject* Sender) { SetUpdateLocation1Click(Sender); }

void TForm1::AdminConsole1Click(QObject* Sender)
{
    if (!adminConsoleLogin())
        return;
    {
        // A periodic reload of "update.conf" would replace the administrator's unexported edits.
        holdPeriodicCheck(true);
        const auto release = qScopeGuard([this] { holdPeriodicCheck(false); });
        openAdminConsole(state_, this);
    }
    CheckForUpdates1Click(Sender);
}
