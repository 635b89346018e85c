// The window's life beside the tray: hiding and showing, the close rules, the updates-found
// balloon, the status bar, and the end of the session.
#include "ui/main/TForm1.h"

#include "ui/common/ErrorGuard.h"
#include "ui/common/Prompts.h"
#include "ui/main/PeriodicTimer.h"
#include "ui/main/StatusPanels.h"
#include "ui/main/TrayIcon.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>

namespace {

QString updatesFoundText(int count)
{
    if (count == 1)
        return QStringLiteral("There is 1 update available. Click here to update!");
    return QStringLiteral("There is ") + QString::number(count) + QStringLiteral(" updates available. Click here to update!");
}

QProgressBar* statusProgressBar(QWidget* statusBar, int left, int width)
{
    auto* bar = new QProgressBar(statusBar);
    bar->setGeometry(left, 0, width, statusBar->height());
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->hide();
    return bar;
}

} // namespace

void TForm1::HideApplication() { JvTrayIcon1->HideApplication(); }

void TForm1::ShowApplication() { JvTrayIcon1->ShowApplication(); }

void TForm1::NotifyUpdatesFound()
{
    JvPopupMenu1.UpdateAll1->setEnabled(true);
    JvTrayIcon1->showBalloon(QStringLiteral("Update Available"), updatesFoundText(CheckListBox1->count()), 5000);
}

void TForm1::SetupStatusBar()
{
    const int W = StatusBar1->width();
    const int P0 = StatusBar1->panelWidth(0);
    StatusBar1->setPanelWidth(1, (W - P0) / 2);
    StatusBar1->setPanelWidth(2, (W - P0) / 2);
    delete ProgressBar;
    delete ProgressBar2;
    ProgressBar = statusProgressBar(StatusBar1, P0, StatusBar1->panelWidth(1));
    ProgressBar2 = statusProgressBar(StatusBar1, P0 + StatusBar1->panelWidth(1), StatusBar1->panelWidth(2));
}

void TForm1::FormCloseQuery(QObject*, bool& CanClose)
{
    if (!state_.bezarhato) {
        CanClose = false;
        HideApplication();
    } else if (runInProgress_) {
        // The files being copied and the list being stamped are finished first.
        CanClose = false;
        exitAfterRun_ = true;
    }
}

void TForm1::FormClose(QObject*) { SaveAvailablePrograms(); }

void TForm1::closeEvent(QCloseEvent* event)
{
    // At the end of the session the application closes its windows itself; endSession has
    // written the list already, or said why it could not. The close box of a user whose
    // log-off was cancelled meanwhile comes from the window system and is answered as ever.
    if (sessionEnding_ && !event->spontaneous()) {
        event->accept();
        ended_ = true;
        emit ended();
        return;
    }
    bool CanClose = true;
    FormCloseQuery(this, CanClose);
    // A failed write keeps the program running, hidden or shown as it was.
    if (!CanClose || !guarded([&] { FormClose(this); })) {
        event->ignore();
        return;
    }
    event->accept();
    ended_ = true;
    emit ended();
}

void TForm1::FormHide(QObject*)
{
    if (!updatechecker->enabled())
        updatechecker->setEnabled(true);
}

void TForm1::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    // A spontaneous hide is the window system unmapping a minimised window; minimising is
    // handled with the change of state.
    if (!event->spontaneous() && !ended_) {
        guarded([&] { FormHide(this); });
        QTimer::singleShot(0, this, &TForm1::releaseNativeWindowInTray);
    }
}

void TForm1::releaseNativeWindowInTray()
{
    // Hidden in the tray, which is most of the program's life, the window needs neither its
    // native window nor the image of its contents; showing it makes them again.
    if (!isVisible() && !ended_)
        destroy();
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized() || ended_)
        return;
    if (TrayIcon::available()) {
        // Minimising sends the window to the tray, once the state change is through.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                guarded([&] { HideApplication(); });
        });
    } else {
        // Without a notification area the minimised window is the one in the tray.
        guarded([&] { FormHide(this); });
    }
}

void TForm1::CheckListBox1Click(QObject*)
{
    if (CheckListBox1->count() > 0)
        Panel1->setVisible(true);
}

void TForm1::ExitApplication1Click(QObject*)
{
    state_.bezarhato = true;
    close();
}

void TForm1::ExitApplication2Click(QObject* Sender) { ExitApplication1Click(Sender); }

void TForm1::JvTrayIcon1BalloonClick(QObject*)
{
    ShowApplication();
    updatechecker->setEnabled(false);
}

std::optional<QString> TForm1::endSession()
{
    sessionEnding_ = true;
    // A worker may be stamping the list right now: writing it could catch a record half
    // changed, so the list on disk stays as the last run left it.
    if (!state_.imdone.load(std::memory_order_acquire))
        return QStringLiteral("The session ended during an update: \"programs.conf\" keeps the versions it had "
                              "before the update.");
    try {
        SaveAvailablePrograms();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return std::nullopt;
}
