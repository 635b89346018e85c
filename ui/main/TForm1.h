#pragma once

#include "ui/main/MainMenus.h"
#include "ui/main/UpdaterState.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QActionGroup;
class QFrame;
class DoubleBorderGroupBox;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class PeriodicTimer;
class StatusPanels;
class TrayIcon;

// The main window, "Program Updater". It owns the process-wide state and passes it down to
// the stores, the engine and the dialogs. Creating it runs the whole start-up (FormCreate),
// questions and dialogs included; afterwards it lives in the notification area and is
// driven by the tray icon, the periodic check and the menus. Every handler that an event
// runs is wrapped in the error guard; the methods themselves let failures through.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // `executablePath` is the running program's full path: the settings and the program
    // list live beside it, and starting with the session starts it.
    explicit TForm1(const QString& executablePath = runningExecutablePath());
    ~TForm1() override;

    static QString runningExecutablePath();

    UpdaterState& state() { return state_; }

    // Controls.
    DoubleBorderGroupBox* AdvGroupBox1;
    QListWidget* CheckListBox1; // the found-updates list; see FoundUpdatesListBox.h
    QFrame* Panel1;
    QPushButton* Button1;
    StatusPanels* StatusBar1;
    QProgressBar* ProgressBar = nullptr;  // per file; made by SetupStatusBar
    QProgressBar* ProgressBar2 = nullptr; // per entry; made by SetupStatusBar
    QTimer* Timer1;                       // sends the window to the tray once, after start
    PeriodicTimer* updatechecker;         // the periodic check
    MainMenu1Items MainMenu1;
    JvPopupMenu1Items JvPopupMenu1;
    TrayIcon* JvTrayIcon1;

    // The stores and the update check on this window's state.
    bool LoadAvailabelPrograms();
    void SaveAvailablePrograms();
    bool LoadUpdateList();
    void SaveUpdateList();
    bool CheckForUpdates(); // fills CheckListBox1
    bool LoadConfig();
    void SaveConfig();

    // Start-up.
    void FormCreate(QObject* Sender);
    void Timer1Timer(QObject* Sender);

    // Window and tray icon.
    void HideApplication();
    void ShowApplication();
    void NotifyUpdatesFound();
    void SetupStatusBar();
    void FormCloseQuery(QObject* Sender, bool& CanClose);
    void FormClose(QObject* Sender);
    void FormHide(QObject* Sender);
    void CheckListBox1Click(QObject* Sender);
    void ExitApplication1Click(QObject* Sender);
    void ExitApplication2Click(QObject* Sender);
    void JvTrayIcon1BalloonClick(QObject* Sender);

    // Scheduler and menu commands.
    void updatecheckerTimer(QObject* Sender);
    void CheckForUpdates1Click(QObject* Sender);
    void CheckForUpdatesNow1Click(QObject* Sender);
    void CheckForUpdatesAutomatically1Click(QObject* Sender);
    void ChangeUpdateFrequency1Click(QObject* Sender);
    void ChangeUpdateFrequency2Click(QObject* Sender);
    void UpdateablePrograms1Click(QObject* Sender);
    void UpdateAblePrograms2Click(QObject* Sender);
    void SetUpdateLocation1Click(QObject* Sender);
    void SetUpdateLocation2Click(QObject* Sender);
    void AdminConsole1Click(QObject* Sender);
    void Button1Click(QObject* Sender);
    void UpdateAll1Click(QObject* Sender);

    // Starting with the session.
    bool CheckForStartupEntry(const QString& ApTitle);
    void RemoveFromRunKey(const QString& ApTitle);
    void RunOnStartup(const QString& sProgTitle, const QString& sCmdLine);
    void StartProgramWithWindows1Click(QObject* Sender);

    // While an update run copies files: the commands that would change the program list,
    // the update folder or the found-updates list, or start another run, are disabled (their
    // own enabled states come back afterwards), periodic checks are skipped, and an exit
    // asked for meanwhile is carried out when the run ends.
    void setRunInProgress(bool running);
    bool runInProgress() const { return runInProgress_; }

    // While held (the admin console is open), periodic checks are skipped, so that a reload
    // of the update list cannot replace edits that are not exported yet. Manual checks run.
    void holdPeriodicCheck(bool held) { periodicCheckHeld_ = held; }

    // The session is ending: the program list is written now and the next close is let
    // through. Returns why the list was not written, when it was not.
    std::optional<QString> endSession();

    // The window has closed for good: the program is to end.
    bool hasEnded() const { return ended_; }

signals:
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildForm();
    void wireEvents();
    void onTriggered(QAction* action, void (TForm1::*handler)(QObject*));
    void runCheck(const std::function<void()>& check);
    void periodicTick();
    void releaseNativeWindowInTray();

    QString executablePath_;
    std::unique_ptr<QMenu> trayMenu_; // no parent: untouched when the window lets go of its native window
    UpdaterState state_;
    QActionGroup* commandsHeldDuringRun_;

    bool runInProgress_ = false;
    bool exitAfterRun_ = false;
    bool periodicCheckHeld_ = false;
    bool checkRunning_ = false; // a check, or the message of its failure, is in progress
    bool sessionEnding_ = false;
    bool ended_ = false;
};
