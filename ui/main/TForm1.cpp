// The form: its controls, their wiring, and the store and engine calls on its state.
#include "ui/main/TForm1.h"

#include "engine/UpdateCheck.h"
#include "platform/ExecutablePath.h"
#include "store/RecordStores.h"
#include "store/Settings.h"
#include "ui/common/DoubleBorderGroupBox.h"
#include "ui/common/ErrorGuard.h"
#include "ui/common/Prompts.h"
#include "ui/common/FixedRowHeightDelegate.h"
#include "ui/common/FormFont.h"
#include "ui/main/ApplicationIcon.h"
#include "ui/main/FoundUpdatesListBox.h"
#include "ui/main/PeriodicTimer.h"
#include "ui/main/StatusPanels.h"
#include "ui/main/TrayIcon.h"

#include <QActionGroup>
#include <QGuiApplication>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSessionManager>
#include <QTimer>

TForm1::TForm1(const QString& executablePath) : executablePath_(executablePath)
{
    buildForm();
    wireEvents();
    // Armed before the start-up runs, so that its one tick comes about a second after start.
    Timer1->start();
    FormCreate(this);
}

TForm1::~TForm1() = default;

QString TForm1::runningExecutablePath() { return QString::fromStdString(platform::executablePath()); }

void TForm1::buildForm()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Program Updater"));
    setWindowIcon(applicationIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(tahoma(11));

    auto* client = new QWidget(this);
    client->setFixedSize(441, 316);
    setCentralWidget(client);

    AdvGroupBox1 = new DoubleBorderGroupBox(QStringLiteral(" Found Updates "), client);
    AdvGroupBox1->setObjectName(QStringLiteral("AdvGroupBox1"));
    AdvGroupBox1->setGeometry(3, 0, 435, 247);

    CheckListBox1 = new QListWidget(AdvGroupBox1);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setGeometry(6, 16, 423, 225);
    CheckListBox1->setFont(tahoma(15));
    CheckListBox1->setItemDelegate(new FixedRowHeightDelegate(18, CheckListBox1));
    CheckListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    Panel1 = new QFrame(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(25, 253, 391, 41);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Button1 = new QPushButton(QStringLiteral("Update Selected"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(1, 1, 389, 39);
    Button1->setFont(tahoma(13, true));

    StatusBar1 = new StatusPanels({70, 50, 50}, client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(0, 297, 441, 19);
    StatusBar1->setPanelText(0, QStringLiteral("Updating..."));

    MainMenu1 = buildMainMenu1(*menuBar());
    trayMenu_ = std::make_unique<QMenu>();
    JvPopupMenu1 = buildJvPopupMenu1(*trayMenu_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    commandsHeldDuringRun_ = new QActionGroup(this);
    commandsHeldDuringRun_->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (QAction* command : {MainMenu1.CheckForUpdates1, JvPopupMenu1.CheckForUpdatesNow1,
                             MainMenu1.UpdateablePrograms1, JvPopupMenu1.UpdateAblePrograms2,
                             MainMenu1.SetUpdateLocation1, JvPopupMenu1.SetUpdateLocation2, MainMenu1.AdminConsole1,
                             JvPopupMenu1.UpdateAll1})
        commandsHeldDuringRun_->addAction(command);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    updatechecker = new PeriodicTimer(60000, this);
    updatechecker->setObjectName(QStringLiteral("updatechecker"));
    JvTrayIcon1 = new TrayIcon(*this, *JvPopupMenu1.menu, windowIcon());
    JvTrayIcon1->setObjectName(QStringLiteral("JvTrayIcon1"));
}

void TForm1::onTriggered(QAction* action, void (TForm1::*handler)(QObject*))
{
    connect(action, &QAction::triggered, this, [this, action, handler] { guarded([&] { (this->*handler)(action); }); });
}

void TForm1::wireEvents()
{
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([&] { Timer1Timer(Timer1); }); });
    connect(updatechecker, &PeriodicTimer::timeout, this, &TForm1::periodicTick);
    connect(JvTrayIcon1, &TrayIcon::balloonClicked, this,
            [this] { guarded([&] { JvTrayIcon1BalloonClick(JvTrayIcon1); }); });
    connect(CheckListBox1, &QListWidget::clicked, this, [this] { guarded([&] { CheckListBox1Click(CheckListBox1); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { guarded([&] { Button1Click(Button1); }); });

    connect(MainMenu1.CheckForUpdates1, &QAction::triggered, this,
            [this] { runCheck([&] { CheckForUpdates1Click(MainMenu1.CheckForUpdates1); }); });
    onTriggered(MainMenu1.UpdateablePrograms1, &TForm1::UpdateablePrograms1Click);
    onTriggered(MainMenu1.ChangeUpdateFrequency1, &TForm1::ChangeUpdateFrequency1Click);
    onTriggered(MainMenu1.CheckForUpdatesAutomatically1, &TForm1::CheckForUpdatesAutomatically1Click);
    onTriggered(MainMenu1.StartProgramWithWindows1, &TForm1::StartProgramWithWindows1Click);
    onTriggered(MainMenu1.SetUpdateLocation1, &TForm1::SetUpdateLocation1Click);
    onTriggered(MainMenu1.AdminConsole1, &TForm1::AdminConsole1Click);
    onTriggered(MainMenu1.ExitApplication1, &TForm1::ExitApplication1Click);

    connect(JvPopupMenu1.CheckForUpdatesNow1, &QAction::triggered, this,
            [this] { runCheck([&] { CheckForUpdatesNow1Click(JvPopupMenu1.CheckForUpdatesNow1); }); });
    onTriggered(JvPopupMenu1.UpdateAll1, &TForm1::UpdateAll1Click);
    onTriggered(JvPopupMenu1.UpdateAblePrograms2, &TForm1::UpdateAblePrograms2Click);
    onTriggered(JvPopupMenu1.ChangeUpdateFrequency2, &TForm1::ChangeUpdateFrequency2Click);
    onTriggered(JvPopupMenu1.SetUpdateLocation2, &TForm1::SetUpdateLocation2Click);
    onTriggered(JvPopupMenu1.ExitApplication2, &TForm1::ExitApplication2Click);

    // The end of the session is never refused: the program list is written and the
    // program goes with the session.
#if QT_CONFIG(sessionmanager)
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (const std::optional<QString> failure = endSession()) {
            if (manager.allowsInteraction()) {
                prompts().message(*failure);
                manager.release();
            } else {
                qWarning("Updater: %s", qPrintable(*failure));
            }
        }
    });
#endif
    // Ended by the system without a word before (the window was hidden, so nothing asked it
    // to close): the list is written all the same.
    connect(qGuiApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (ended_ || sessionEnding_)
            return;
        if (const std::optional<QString> failure = endSession())
            qWarning("Updater: %s", qPrintable(*failure));
    });
}

bool TForm1::LoadAvailabelPrograms()
{
    return ::LoadAvailabelPrograms(state_.programok, state_.programokdb, state_.applicationpath);
}

void TForm1::SaveAvailablePrograms() { ::SaveAvailablePrograms(state_.programok, state_.applicationpath); }

bool TForm1::LoadUpdateList() { return ::LoadUpdateList(state_.updates, state_.updatesdb, state_.update_path); }

void TForm1::SaveUpdateList() { ::SaveUpdateList(state_.updates, state_.update_path); }

bool TForm1::CheckForUpdates()
{
    FoundUpdatesListBox found(*CheckListBox1);
    return ::CheckForUpdates(state_.programok_ok, state_.update_path_ok, state_.programok, state_.updates,
                             state_.updatesdb, state_.update_path, found);
}

bool TForm1::LoadConfig() { return ::LoadConfig(state_.applicationpath, state_.update_path); }

void TForm1::SaveConfig() { ::SaveConfig(state_.applicationpath, state_.update_path); }

void TForm1::setRunInProgress(bool running)
{
    if (running == runInProgress_)
        return;
    runInProgress_ = running;
    // Disabling the containers keeps the list's and the button's own states for afterwards,
    // as the action group does for the menu items.
    commandsHeldDuringRun_->setEnabled(!running);
    AdvGroupBox1->setEnabled(!running);
    Panel1->setEnabled(!running);
    if (!running && exitAfterRun_) {
        exitAfterRun_ = false;
        // After the run's own last steps, which follow this call.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}
