#include "engine/ProcessGuard.h"
#include "store/RecordText.h"
#include "tests/support/Fixtures.h"
#include "tests/support/RecordLists.h"
#include "tests/support/RunningProgram.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/ui/main/MainWindowFixture.h"
#include "ui/main/PeriodicTimer.h"
#include "ui/main/StatusPanels.h"
#include "ui/main/TForm1.h"
#include "ui/main/TrayIcon.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>
#include <functional>

namespace {

const QString Succesfully = QStringLiteral("Update Process Finished Succesfully");

// An installation whose programs are installed in folders of their own ("app/NAME/NAME.exe",
// holding "old NAME") and published in the update folder ("updates/NAME/NAME.exe", holding
// "new NAME").
class Installation {
public:
    Installation() : owned_(std::make_unique<InstallFolder>()), folder_(owned_.get())
    {
        folder_->writeConfig(folder_->updateFolder().toUtf8() + '/');
    }

    QString programFolder(const QByteArray& name) const { return folder_->appFile(QString::fromUtf8(name)) + '/'; }
    QString installedExecutable(const QByteArray& name) const { return programFolder(name) + name + ".exe"; }
    QString publishedExecutable(const QByteArray& name) const
    {
        return folder_->updateFolder() + '/' + name + '/' + name + ".exe";
    }

    // Registers `name` at version 1, installed and published.
    void install(const QByteArray& name, const QByteArray& publishedContent = {})
    {
        QDir().mkpath(programFolder(name));
        writeFile(installedExecutable(name), "old " + name);
        QDir().mkpath(folder_->updateFolder() + '/' + name);
        writeFile(publishedExecutable(name), publishedContent.isNull() ? "new " + name : publishedContent);
        register_(name, programFolder(name));
    }

    // Registers `name` at version 1 in a folder that does not exist.
    void installMissing(const QByteArray& name)
    {
        QDir().mkpath(folder_->updateFolder() + '/' + name);
        writeFile(publishedExecutable(name), "new " + name);
        register_(name, folder_->appFile("gone/"));
    }

    bool updated(const QByteArray& name) const { return readFile(installedExecutable(name)) == "new " + name; }

    std::unique_ptr<InstallFolder> ready(const QByteArray& updates)
    {
        folder_->writePrograms(programs_);
        folder_->writeUpdates(updates);
        return std::move(owned_); // the test's fixture keeps it from now on
    }

private:
    void register_(const QByteArray& name, const QString& folder)
    {
        programs_ += recordBytes(++lastId_, name, folder.toUtf8(), "1");
    }

    std::unique_ptr<InstallFolder> owned_;
    InstallFolder* folder_;
    QByteArray programs_;
    int lastId_ = 0;
};

QStringList entriesIn(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

void check(QListWidget& list, const QList<int>& indexes)
{
    for (int i : indexes)
        list.item(i)->setCheckState(Qt::Checked);
}

// "NAME=VERSION" of every registered program, in list order.
QStringList versionsOf(const std::vector<prog>& programok)
{
    QStringList versions;
    for (const prog& program : programok)
        versions << readText(program.name) + '=' + readText(program.version);
    return versions;
}

// Runs `action` first thing once the event loop runs again: inside the update run's wait,
// when the run is started right after. Posted events keep their order, so it comes before
// the worker's completion is handled.
void duringTheWait(TForm1& form, const std::function<void()>& action)
{
    QMetaObject::invokeMethod(&form, action, Qt::QueuedConnection);
}

} // namespace

class UpdateRunTest : public QObject, private MainWindowFixture {
    Q_OBJECT

    // The run is over and the window at rest; "programs.conf" holds the list in memory.
    void verifyAtRest(TForm1& form)
    {
        QCOMPARE(form.StatusBar1->panelText(0), QStringLiteral("Standby"));
        QVERIFY(form.ProgressBar->isHidden());
        QVERIFY(form.ProgressBar2->isHidden());
        QVERIFY(form.updatechecker->enabled());
        QVERIFY(!form.runInProgress());
        QVERIFY(form.CheckListBox1->isEnabled());
        QVERIFY(form.Button1->isEnabled());
        QCOMPARE(readFile(install_->appFile("programs.conf")), bytesOf(form.state().programok));
    }

private slots:
    void cleanup() { stop(); }

    void updateSelected_data()
    {
        QTest::addColumn<QByteArray>("updates");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("versions");  // Foo, Bar, My Tool, My
        QTest::addColumn<QStringList>("updated");   // whose executable was replaced
        QTest::addRow("an empty list")
            << updateRecord(1, "Foo", "1") << QStringList{} << QList<int>{} << QStringList{}
            << QStringList{"Foo=1", "Bar=1", "My Tool=1", "My=1"} << QStringList{};
        QTest::addRow("nothing checked")
            << updateRecord(1, "Foo", "2") + updateRecord(2, "Bar", "3") << QStringList{"1 - Foo | 2", "2 - Bar | 3"}
            << QList<int>{} << QStringList{"1 - Foo | 2", "2 - Bar | 3"}
            << QStringList{"Foo=1", "Bar=1", "My Tool=1", "My=1"} << QStringList{};
        QTest::addRow("the second of two checked")
            << updateRecord(1, "Foo", "2") + updateRecord(2, "Bar", "3") << QStringList{"1 - Foo | 2", "2 - Bar | 3"}
            << QList<int>{1} << QStringList{"1 - Foo | 2"} << QStringList{"Foo=1", "Bar=3", "My Tool=1", "My=1"}
            << QStringList{"Bar"};
        QTest::addRow("a name with a blank is applied whole, not as the program cut at the blank")
            << updateRecord(3, "My Tool", "7") + updateRecord(4, "My", "1") << QStringList{"3 - My Tool | 7"}
            << QList<int>{0} << QStringList{} << QStringList{"Foo=1", "Bar=1", "My Tool=7", "My=1"}
            << QStringList{"My Tool"};
        QTest::addRow("a negative id")
            << updateRecord(-5, "Foo", "2") << QStringList{"-5 - Foo | 2"} << QList<int>{0} << QStringList{}
            << QStringList{"Foo=2", "Bar=1", "My Tool=1", "My=1"} << QStringList{"Foo"};
        QTest::addRow("two checked entries of one program, both from its last record")
            << updateRecord(1, "Foo", "2") + updateRecord(2, "Foo", "3") << QStringList{"1 - Foo | 2", "2 - Foo | 3"}
            << QList<int>{0, 1} << QStringList{} << QStringList{"Foo=3", "Bar=1", "My Tool=1", "My=1"}
            << QStringList{"Foo"};
    }

    void updateSelected()
    {
        QFETCH(QByteArray, updates);
        QFETCH(QStringList, entries);
        QFETCH(QList<int>, checked);
        QFETCH(QStringList, left);
        QFETCH(QStringList, versions);
        QFETCH(QStringList, updated);
        Installation installation;
        for (const char* name : {"Foo", "Bar", "My Tool", "My"})
            installation.install(name);
        TForm1& form = startOn(installation.ready(updates));
        QCOMPARE(entriesIn(*form.CheckListBox1), entries);
        const bool updateAllBefore = form.JvPopupMenu1.UpdateAll1->isEnabled();
        check(*form.CheckListBox1, checked);

        form.Button1->click();

        QCOMPARE(prompts_->log, QStringList{"message: " + Succesfully});
        QCOMPARE(entriesIn(*form.CheckListBox1), left);
        QCOMPARE(versionsOf(form.state().programok), versions);
        for (const char* name : {"Foo", "Bar", "My Tool", "My"})
            QCOMPARE(installation.updated(name), updated.contains(QString::fromUtf8(name)));
        QCOMPARE(form.JvPopupMenu1.UpdateAll1->isEnabled(), updateAllBefore);
        verifyAtRest(form);
    }

    void theEntriesBarCountsEveryEntry()
    {
        Installation installation;
        QByteArray updates;
        for (const QByteArray name : {"A", "B", "C", "D"}) {
            installation.install(name);
            updates += updateRecord(1, name, "2");
        }
        TForm1& form = startOn(installation.ready(updates));
        check(*form.CheckListBox1, {1, 2});
        QSignalSpy entriesBar(form.ProgressBar2, &QProgressBar::valueChanged);
        bool barsShownDuringTheWait = false;
        duringTheWait(form, [&] {
            barsShownDuringTheWait = form.ProgressBar->isVisible() && form.ProgressBar2->isVisible() &&
                                     form.StatusBar1->panelText(0) == QStringLiteral("Updating...") &&
                                     !form.updatechecker->enabled();
        });
        form.show();
        form.Button1->click();

        QList<int> values;
        for (const QList<QVariant>& change : entriesBar)
            values << change.at(0).toInt();
        QCOMPARE(values, (QList<int>{1, 2, 3, 4}));
        QCOMPARE(form.ProgressBar2->maximum(), 4);
        QVERIFY(barsShownDuringTheWait);
        QCOMPARE(entriesIn(*form.CheckListBox1), (QStringList{"1 - A | 2", "1 - D | 2"}));
        QCOMPARE(versionsOf(form.state().programok), (QStringList{"A=1", "B=2", "C=2", "D=1"}));
    }

    void updateAll_data()
    {
        QTest::addColumn<QByteArray>("updates");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("versions");
        QTest::addColumn<bool>("updateAllAfter");
        QTest::addRow("answered No") << updateRecord(1, "Foo", "2") + updateRecord(2, "Bar", "3") << false
                                     << QStringList{"1 - Foo | 2", "2 - Bar | 3"} << QStringList{"Foo=1", "Bar=1"}
                                     << true;
        QTest::addRow("answered Yes") << updateRecord(1, "Foo", "2") + updateRecord(2, "Bar", "3") << true
                                      << QStringList{} << QStringList{"Foo=2", "Bar=3"} << false;
        QTest::addRow("answered Yes on an empty list")
            << updateRecord(1, "Foo", "1") << true << QStringList{} << QStringList{"Foo=1", "Bar=1"} << false;
    }

    void updateAll()
    {
        QFETCH(QByteArray, updates);
        QFETCH(bool, answer);
        QFETCH(QStringList, left);
        QFETCH(QStringList, versions);
        QFETCH(bool, updateAllAfter);
        Installation installation;
        installation.install("Foo");
        installation.install("Bar");
        TForm1& form = startOn(installation.ready(updates));
        form.JvPopupMenu1.UpdateAll1->setEnabled(true);
        form.HideApplication();
        prompts_->confirmAnswers.enqueue(answer);

        form.JvPopupMenu1.UpdateAll1->trigger();

        QStringList shown{"confirm: Do you wish to update all in the list?"};
        if (answer)
            shown << "message: " + Succesfully;
        QCOMPARE(prompts_->log, shown);
        QCOMPARE(form.JvTrayIcon1->windowShown(), answer);
        QCOMPARE(entriesIn(*form.CheckListBox1), left);
        QCOMPARE(versionsOf(form.state().programok), versions);
        for (int i = 0; i < form.CheckListBox1->count(); ++i)
            QCOMPARE(form.CheckListBox1->item(i)->checkState(), Qt::Unchecked);
        QCOMPARE(form.JvPopupMenu1.UpdateAll1->isEnabled(), updateAllAfter);
        QCOMPARE(form.StatusBar1->panelText(0), QStringLiteral("Standby"));
    }

    void aRunningInstanceIsClosedBeforeTheCopy_data()
    {
        QTest::addColumn<bool>("userClosesIt");
        QTest::addRow("the user closes it") << true;
        QTest::addRow("left running, it is ended") << false;
    }

    void aRunningInstanceIsClosedBeforeTheCopy()
    {
        QFETCH(bool, userClosesIt);
        // A name of this run only: the guard ends every process of the name on the machine.
        const QByteArray name = "Foo" + QByteArray::number(QRandomGenerator::global()->bounded(100000, 999999));
        Installation installation;
        installation.install(name);
        const QString executable = installation.installedExecutable(name);
        QFile::remove(executable);
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), executable));
        RunningProgram program(executable, {});
        QVERIFY(program.pid() > 0);
        QTRY_VERIFY(processExists(QString::fromUtf8(name) + ".exe"));

        TForm1& form = startOn(installation.ready(updateRecord(1, name, "2")));
        check(*form.CheckListBox1, {0});
        bool runningWhileAsked = false;
        int endedBy = -1;
        prompts_->whileShown = [&] {
            if (prompts_->log.size() != 1)
                return;
            runningWhileAsked = processExists(QString::fromUtf8(name) + ".exe");
            if (userClosesIt)
                program.end();
        };
        form.Button1->click();
        if (!userClosesIt)
            endedBy = program.reap();

        QCOMPARE(prompts_->log, (QStringList{"message: The update software found a running instance of the program: " +
                                                 QString::fromUtf8(name) +
                                                 "\r\rPlease close the program before you Click OK!",
                                             "message: " + Succesfully}));
        QVERIFY(runningWhileAsked);
        if (!userClosesIt)
            QCOMPARE(endedBy, SIGKILL);
        QVERIFY(installation.updated(name));
        QCOMPARE(versionsOf(form.state().programok), QStringList{QString::fromUtf8(name) + "=2"});
    }

    void aFailedUpdateIsNamedWithItsReason()
    {
        Installation installation;
        installation.installMissing("Foo");
        installation.install("Bar");
        TForm1& form = startOn(installation.ready(updateRecord(1, "Foo", "2") + updateRecord(2, "Bar", "3")));
        check(*form.CheckListBox1, {0, 1});

        form.Button1->click();

        const QStringList messages = prompts_->messages();
        QCOMPARE(messages.size(), 1);
        const QString& message = messages.front();
        QVERIFY2(!message.contains(Succesfully), qPrintable(message));
        QVERIFY2(message.contains(QRegularExpression("Not updated.*\nFoo: Cannot .*/gone/Foo\\.exe.*No such file or "
                                                     "directory.*\n\nUpdated:\nBar$",
                                                     QRegularExpression::DotMatchesEverythingOption)),
                 qPrintable(message));
        QCOMPARE(versionsOf(form.state().programok), (QStringList{"Foo=1", "Bar=3"}));
        QVERIFY(installation.updated("Bar"));
        QCOMPARE(entriesIn(*form.CheckListBox1), QStringList{});
        verifyAtRest(form);
    }

    void commandsAreHeldBackDuringTheWait()
    {
        Installation installation;
        installation.install("Foo", QByteArray(8 * 1024 * 1024, 'x'));
        installation.install("Bar");
        TForm1& form = startOn(installation.ready(updateRecord(1, "Foo", "2") + updateRecord(2, "Bar", "2")));
        form.show();
        check(*form.CheckListBox1, {0});
        QList<QAction*> heldBack{form.MainMenu1.CheckForUpdates1,    form.JvPopupMenu1.CheckForUpdatesNow1,
                                 form.MainMenu1.UpdateablePrograms1, form.JvPopupMenu1.UpdateAblePrograms2,
                                 form.MainMenu1.SetUpdateLocation1,  form.JvPopupMenu1.SetUpdateLocation2,
                                 form.MainMenu1.AdminConsole1,       form.JvPopupMenu1.UpdateAll1};
        QStringList enabledDuringTheWait;
        bool trayAnswered = false;
        duringTheWait(form, [&] {
            for (QAction* command : heldBack) {
                if (command->isEnabled())
                    enabledDuringTheWait << command->text();
                else
                    command->trigger();
            }
            if (form.Button1->isEnabled() || form.CheckListBox1->isEnabled())
                enabledDuringTheWait << "the button or the list";
            form.Button1->click();
            form.Button1Click(form.Button1); // a second run straight from code: refused too
            QTest::mouseClick(form.CheckListBox1->viewport(), Qt::LeftButton, {},
                              form.CheckListBox1->visualItemRect(form.CheckListBox1->item(1)).center());
            form.updatechecker->timeout();
            // The window answers the tray icon.
            emit form.JvTrayIcon1->icon().activated(QSystemTrayIcon::Trigger);
            trayAnswered = !form.JvTrayIcon1->windowShown();
        });

        form.Button1->click();

        QCOMPARE(enabledDuringTheWait, QStringList{});
        QVERIFY(trayAnswered);
        QCOMPARE(prompts_->log, QStringList{"message: " + Succesfully});
        QCOMPARE(entriesIn(*form.CheckListBox1), QStringList{"2 - Bar | 2"});
        QCOMPARE(form.CheckListBox1->item(0)->checkState(), Qt::Unchecked);
        QCOMPARE(versionsOf(form.state().programok), (QStringList{"Foo=2", "Bar=1"}));
        for (QAction* command : heldBack)
            QVERIFY2(command->isEnabled(), qPrintable(command->text()));
        verifyAtRest(form);
    }

    void anExitDuringTheRunComesAfterIt()
    {
        Installation installation;
        installation.install("Foo", QByteArray(8 * 1024 * 1024, 'x'));
        TForm1& form = startOn(installation.ready(updateRecord(1, "Foo", "2")));
        check(*form.CheckListBox1, {0});
        bool endedDuringTheWait = true;
        duringTheWait(form, [&] {
            form.MainMenu1.ExitApplication1->trigger();
            endedDuringTheWait = form.hasEnded();
        });

        form.Button1->click();

        QVERIFY(!endedDuringTheWait);
        QCOMPARE(prompts_->log, QStringList{"message: " + Succesfully});
        QTRY_VERIFY(form.hasEnded());
        QCOMPARE(versionsOf(recordsFrom<prog>(readFile(install_->appFile("programs.conf")))),
                 QStringList{"Foo=2"});
    }
};

QTEST_MAIN(UpdateRunTest)
#include "UpdateRunTest.moc"
