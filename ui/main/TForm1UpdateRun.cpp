// The update run: applies the checked entries of the found-updates list one after the other.
#include "ui/main/TForm1.h"

#include "engine/CopyProgress.h"
#include "engine/RunningInstanceGuard.h"
#include "engine/UpdateRunReport.h"
#include "engine/UpdateRunSteps.h"
#include "engine/WorkerWait.h"
#include "store/RecordText.h"
#include "ui/common/Prompts.h"
#include "ui/main/FoundUpdatesListBox.h"
#include "ui/main/PeriodicTimer.h"
#include "ui/main/StatusPanels.h"

#include <QAction>
#include <QListWidget>
#include <QProgressBar>
#include <QScopeGuard>

#include <algorithm>

namespace {

void showFileProgress(QProgressBar& bar, const CopyProgress& progress)
{
    const ProgressBarValues values = barValues(progress);
    // A range of 0 to 0 is drawn as a busy indicator; an empty file shows an empty bar.
    bar.setRange(0, std::max(values.maximum, 1));
    bar.setValue(values.value);
}

// Applies the update published under `name`, if there is one, and notes how it went. An
// entry without an update record of its name is passed over without a word.
void applyEntry(const QByteArray& name, const std::vector<upd>& updates, WorkerContext& worker, QProgressBar& fileBar,
                UpdateRunReport& report)
{
    const std::optional<std::size_t> found = lastUpdateNamed(updates, name);
    if (!found)
        return;
    const upd update = updates[*found];
    const QString programName = readText(update.name);
    const RunningInstanceQuestions questions{
        [&] { prompts().message(runningInstanceText(programName)); },
        [&] { return prompts().confirm(cannotCloseText(programName)); }};
    if (!waitUntilNotRunning(programName, questions)) {
        report.failed(programName, QStringLiteral("it was still running and could not be closed"));
        return;
    }
    if (runWorkerAndWait(update, worker, [&](const CopyProgress& progress) { showFileProgress(fileBar, progress); }))
        report.applied(programName);
    else
        report.failed(programName, worker.failure);
}

void removeCheckedEntries(QListWidget& list)
{
    for (int i = 0; i < list.count();) {
        if (list.item(i)->checkState() == Qt::Checked)
            delete list.takeItem(i);
        else
            ++i;
    }
}

} // namespace

void TForm1::Button1Click(QObject*)
{
    // A run started from inside another run's wait would walk the list the first one holds.
    if (runInProgress_)
        return;
    setRunInProgress(true);
    // Also when a failure abandons the run: the window comes back to rest and the held-back
    // commands come back.
    const auto backToRest = qScopeGuard([this] {
        updatechecker->setEnabled(true);
        StatusBar1->setPanelText(0, QStringLiteral("Standby"));
        ProgressBar->hide();
        ProgressBar2->hide();
        setRunInProgress(false);
    });

    StatusBar1->setPanelText(0, QStringLiteral("Updating..."));
    ProgressBar->show();
    ProgressBar2->show();
    updatechecker->setEnabled(false);

    const int entries = CheckListBox1->count();
    ProgressBar2->setRange(0, entries);
    ProgressBar2->setValue(0);
    WorkerContext worker(state_.programok, state_.update_path, state_.imdone);
    UpdateRunReport report;
    for (int i = 0; i < entries; ++i) {
        ProgressBar->setValue(0);
        const QListWidgetItem& entry = *CheckListBox1->item(i);
        if (entry.checkState() == Qt::Checked)
            applyEntry(updateNameOf(entry), state_.updates, worker, *ProgressBar, report);
        ProgressBar2->setValue(i + 1);
    }

    prompts().message(report.finishedMessage());
    SaveAvailablePrograms();
    // Failed entries go too: their version was not stamped, so the next check brings them back.
    removeCheckedEntries(*CheckListBox1);
}

void TForm1::UpdateAll1Click(QObject* Sender)
{
    if (runInProgress_)
        return;
    if (!prompts().confirm(QStringLiteral("Do you wish to update all in the list?")))
        return;
    ShowApplication();
    for (int i = 0; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(Qt::Checked);
    Button1Click(Sender);
    JvPopupMenu1.UpdateAll1->setEnabled(false);
}
