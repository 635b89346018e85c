#include "tests/support/Fixtures.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/ui/main/MainWindowFixture.h"
#include "ui/main/PeriodicTimer.h"
#include "ui/main/TForm1.h"
#include "ui/main/TrayIcon.h"

#include <QAction>
#include <QListWidget>
#include <QtTest>

#include <climits>

class SchedulerAndMenusTest : public QObject, private MainWindowFixture {
    Q_OBJECT

    // A window in the tray with the periodic check running, on an update list holding `updates`.
    TForm1& inTrayWith(const QByteArray& updates)
    {
        TForm1& form = startWith(updates);
        form.FormHide(&form);
        return form;
    }

private slots:
    void cleanup() { stop(); }

    void theCountdownRestartsOnlyOnAChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("restarted");
        QTest::addRow("enabling an enabled timer") << "enable" << false;
        QTest::addRow("setting the same interval") << "same interval" << false;
        QTest::addRow("setting another interval") << "other interval" << true;
        QTest::addRow("disabling and enabling") << "disable, enable" << true;
    }

    void theCountdownRestartsOnlyOnAChange()
    {
        QFETCH(QString, change);
        QFETCH(bool, restarted);
        PeriodicTimer timer(60000);
        timer.setEnabled(true);
        QTest::qWait(200);
        if (change == "enable") {
            timer.setEnabled(true);
        } else if (change == "same interval") {
            timer.setInterval(60000);
        } else if (change == "other interval") {
            timer.setInterval(60100);
        } else {
            timer.setEnabled(false);
            timer.setEnabled(true);
        }
        QCOMPARE(timer.remainingTime() > 59900, restarted);
    }

    void everyIntervalMeansWhatItSays()
    {
        PeriodicTimer timer(0);
        timer.setEnabled(true);
        QVERIFY(timer.enabled());
        QCOMPARE(timer.remainingTime(), -1); // no tick at 0

        timer.setInterval(4294967295u); // beyond what one QTimer waits
        QVERIFY(timer.remainingTime() > std::int64_t{INT_MAX});
        QVERIFY(timer.remainingTime() <= 4294967295);

        QSignalSpy ticks(&timer, &PeriodicTimer::timeout);
        timer.setInterval(20);
        QTRY_VERIFY(ticks.size() >= 3);
        timer.setEnabled(false);
        const auto seen = ticks.size();
        QTest::qWait(100);
        QCOMPARE(ticks.size(), seen);
    }

    void theIntervalBox_data()
    {
        QTest::addColumn<std::uint32_t>("before");
        QTest::addColumn<QString>("entered"); // null: Cancel
        QTest::addColumn<bool>("fromTray");
        QTest::addColumn<std::uint32_t>("after");
        QTest::addColumn<bool>("restarted");
        QTest::addColumn<QStringList>("messages");
        QTest::addRow("5000") << 60000u << "5000" << false << 5000u << true << QStringList{};
        QTest::addRow("0 stops the ticks") << 60000u << "0" << true << 0u << false << QStringList{};
        QTest::addRow("Cancel") << 60000u << QString() << false << 60000u << false << QStringList{};
        QTest::addRow("the current value") << 60000u << "60000" << false << 60000u << false << QStringList{};
        QTest::addRow("10s") << 60000u << "10s" << true << 60000u << false
                             << QStringList{"''10s'' is not a valid integer value"};
        QTest::addRow("a negative value") << 60000u << "-1" << false << 4294967295u << true << QStringList{};
        QTest::addRow("Cancel after a negative value")
            << 4294967295u << QString() << false << 4294967295u << false << QStringList{};
    }

    void theIntervalBox()
    {
        QFETCH(std::uint32_t, before);
        QFETCH(QString, entered);
        QFETCH(bool, fromTray);
        QFETCH(std::uint32_t, after);
        QFETCH(bool, restarted);
        QFETCH(QStringList, messages);
        TForm1& form = inTrayWith(updateRecord(1, "Tool", "1"));
        form.updatechecker->setInterval(before);
        QTest::qWait(150);
        prompts_->inputAnswers.enqueue(entered);
        (fromTray ? form.JvPopupMenu1.ChangeUpdateFrequency2 : form.MainMenu1.ChangeUpdateFrequency1)->trigger();

        QCOMPARE(prompts_->log.value(0), QStringLiteral("input: Change Update Frequency / Enter new interval in ms "
                                                        "(1s = 1000ms): [%1]").arg(before));
        QCOMPARE(prompts_->messages(), messages);
        QCOMPARE(form.updatechecker->interval(), after);
        QVERIFY(form.updatechecker->enabled());
        QVERIFY(form.MainMenu1.CheckForUpdatesAutomatically1->isChecked());
        if (after > 0)
            QCOMPARE(form.updatechecker->remainingTime() > std::int64_t{after} - 100, restarted);
    }

    void theAutomaticCheckSwitch()
    {
        TForm1& form = inTrayWith(updateRecord(1, "Tool", "1"));
        form.show();
        QAction& item = *form.MainMenu1.CheckForUpdatesAutomatically1;
        item.trigger();
        QVERIFY(!item.isChecked());
        QVERIFY(!form.updatechecker->enabled());
        form.close(); // to the tray: the check runs again, the item stays unchecked
        QVERIFY(form.updatechecker->enabled());
        QVERIFY(!item.isChecked());
        item.trigger();
        QVERIFY(item.isChecked());
        QVERIFY(form.updatechecker->enabled());
    }

    void theManualCheck_data()
    {
        QTest::addColumn<QByteArray>("updates");
        QTest::addColumn<bool>("fromTray");
        QTest::addColumn<int>("balloons");
        QTest::addRow("nothing new, menu bar") << updateRecord(1, "Tool", "1") << false << 0;
        QTest::addRow("an update, tray menu") << updateRecord(1, "Tool", "2") << true << 1;
    }

    void theManualCheck()
    {
        QFETCH(QByteArray, updates);
        QFETCH(bool, fromTray);
        QFETCH(int, balloons);
        TForm1& form = inTrayWith(updateRecord(1, "Tool", "1"));
        install_->writeUpdates(updates);
        QSignalSpy shown(form.JvTrayIcon1, &TrayIcon::balloonShown);
        QTest::qWait(150);
        (fromTray ? form.JvPopupMenu1.CheckForUpdatesNow1 : form.MainMenu1.CheckForUpdates1)->trigger();
        QCOMPARE(shown.size(), balloons);
        QCOMPARE(form.CheckListBox1->count(), balloons);
        QCOMPARE(form.JvPopupMenu1.UpdateAll1->isEnabled(), balloons > 0);
        QVERIFY(form.updatechecker->remainingTime() < 59900); // the countdown runs on
        QVERIFY(prompts_->log.isEmpty());
    }

    void aFailingCheckOpensOneMessageAtATime()
    {
        TForm1& form = inTrayWith(updateRecord(1, "Tool", "1"));
        install_->writeUpdates(updateRecord(1, "Tool", "v2"));
        int open = 0;
        int mostOpen = 0;
        prompts_->whileShown = [&] {
            mostOpen = std::max(mostOpen, ++open);
            QTest::qWait(200); // the user reads it while the timer ticks on
            --open;
        };
        form.updatechecker->setInterval(20);
        form.MainMenu1.CheckForUpdates1->trigger(); // its message stays open while the timer ticks
        QCOMPARE(prompts_->messages().size(), 1);
        QTRY_VERIFY(prompts_->messages().size() >= 3); // each failure after the last is closed
        QCOMPARE(mostOpen, 1);
        QCOMPARE(prompts_->messages().value(0), QStringLiteral("''v2'' is not a valid integer value"));
        QVERIFY(form.updatechecker->enabled());
    }

    void periodicChecksWaitWhileHeld_data()
    {
        QTest::addColumn<bool>("run"); // else the admin console's hold
        QTest::addRow("an update run") << true;
        QTest::addRow("the admin console") << false;
    }

    void periodicChecksWaitWhileHeld()
    {
        QFETCH(bool, run);
        TForm1& form = inTrayWith(updateRecord(1, "Tool", "2"));
        QSignalSpy shown(form.JvTrayIcon1, &TrayIcon::balloonShown);
        run ? form.setRunInProgress(true) : form.holdPeriodicCheck(true);
        form.updatechecker->setInterval(20);
        QTest::qWait(200);
        QCOMPARE(shown.size(), 0);
        run ? form.setRunInProgress(false) : form.holdPeriodicCheck(false);
        QTRY_VERIFY(shown.size() > 0);
    }

    void aPeriodicCheckKeepsTheUsersCheckMarks_data()
    {
        QTest::addColumn<QByteArray>("publishedMeanwhile");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("checked");
        QTest::addRow("the same update found again") << QByteArray() << "1 - Tool | 2" << true;
        QTest::addRow("a newer version published meanwhile") << updateRecord(1, "Tool", "3") << "1 - Tool | 3" << false;
    }

    void aPeriodicCheckKeepsTheUsersCheckMarks()
    {
        QFETCH(QByteArray, publishedMeanwhile);
        QFETCH(QString, entry);
        QFETCH(bool, checked);
        TForm1& form = inTrayWith(updateRecord(1, "Tool", "2"));
        QCOMPARE(form.CheckListBox1->count(), 1);
        form.CheckListBox1->item(0)->setCheckState(Qt::Checked);
        if (!publishedMeanwhile.isEmpty())
            install_->writeUpdates(publishedMeanwhile);
        QSignalSpy shown(form.JvTrayIcon1, &TrayIcon::balloonShown);
        form.updatechecker->setInterval(20);
        QTRY_VERIFY(shown.size() > 0);
        QCOMPARE(form.CheckListBox1->count(), 1);
        QCOMPARE(form.CheckListBox1->item(0)->text(), entry);
        QCOMPARE(form.CheckListBox1->item(0)->checkState() == Qt::Checked, checked);
        // A check the user asks for starts the choice afresh.
        form.updatechecker->setEnabled(false);
        form.MainMenu1.CheckForUpdates1->trigger();
        QCOMPARE(form.CheckListBox1->item(0)->checkState(), Qt::Unchecked);
    }

    void startingWithTheSession()
    {
        TForm1& form = inTrayWith(updateRecord(1, "Tool", "1"));
        QAction& item = *form.MainMenu1.StartProgramWithWindows1;
        QVERIFY(!item.isChecked());
        item.trigger();
        QVERIFY(readFile(environment_.autostartEntry()).contains("\nExec=\"" + install_->executable().toUtf8() + "\"\n"));
        QVERIFY(form.CheckForStartupEntry("Updater"));
        item.trigger();
        QVERIFY(!QFile::exists(environment_.autostartEntry()));
        form.RemoveFromRunKey("Updater"); // already gone: nothing happens
        QVERIFY(prompts_->log.isEmpty());
    }

    void aFailedSwitchLeavesTheCheckMarkAsTheEntryIs()
    {
        TForm1& form = inTrayWith(updateRecord(1, "Tool", "1"));
        const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
        writeFile(install_->appFile("file"), "x");
        qputenv("XDG_CONFIG_HOME", (install_->appFile("file") + "/config").toUtf8());
        form.MainMenu1.StartProgramWithWindows1->trigger();
        qputenv("XDG_CONFIG_HOME", configHome);
        QCOMPARE(prompts_->messages(), QStringList{"Failed to set data for 'Updater'"});
        QVERIFY(!form.MainMenu1.StartProgramWithWindows1->isChecked());
    }
};

QTEST_MAIN(SchedulerAndMenusTest)
#include "SchedulerAndMenusTest.moc"
