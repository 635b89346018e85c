#include "tests/support/Fixtures.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/ui/main/MainWindowFixture.h"
#include "ui/main/PeriodicTimer.h"
#include "ui/main/TForm1.h"
#include "ui/main/TrayIcon.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QtTest>

namespace {

// The program list in memory after an update stamped version 2.
void stampVersion2(TForm1& form)
{
    prog& tool = form.state().programok.front();
    tool.version.length = 1;
    tool.version.text[0] = '2';
}

} // namespace

class TrayAndCloseTest : public QObject, private MainWindowFixture {
    Q_OBJECT

    QByteArray savedList() const { return readFile(install_->appFile("programs.conf")); }

private slots:
    void init()
    {
        TrayIcon::assumeAvailable(true);
        startWith(updateRecord(1, "Tool", "1"));
    }

    void cleanup() { stop(); }

    void closingAndMinimisingSendTheWindowToTheTray_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("minimise"); // else close
        QTest::addRow("close box") << true << false;
        QTest::addRow("minimise button") << true << true;
        QTest::addRow("close box without a notification area") << false << false;
        QTest::addRow("minimise button without a notification area") << false << true;
    }

    void closingAndMinimisingSendTheWindowToTheTray()
    {
        QFETCH(bool, tray);
        QFETCH(bool, minimise);
        TrayIcon::assumeAvailable(tray);
        TForm1& form = *form_;
        form.show();
        form.updatechecker->setEnabled(false);
        if (minimise)
            form.showMinimized();
        else
            form.close();
        if (tray) {
            QTRY_VERIFY(!form.isVisible());
            QTRY_VERIFY(!form.testAttribute(Qt::WA_WState_Created)); // its native window is let go
        } else { // it stays reachable
            QVERIFY(form.isVisible());
            QVERIFY(form.isMinimized());
        }
        QVERIFY(!form.hasEnded());
        QVERIFY(form.updatechecker->enabled());
        QCOMPARE(savedList(), programRecord(1, "Tool", "1"));
        QVERIFY(prompts_->log.isEmpty());
        form.ShowApplication();
        QVERIFY(form.isVisible() && !form.isMinimized());
    }

    void exitWritesTheListAndEnds_data()
    {
        QTest::addColumn<bool>("fromTray");
        QTest::addColumn<bool>("shown");
        QTest::addRow("menu bar, window shown") << false << true;
        QTest::addRow("tray menu, window hidden") << true << false;
    }

    void exitWritesTheListAndEnds()
    {
        QFETCH(bool, fromTray);
        QFETCH(bool, shown);
        TForm1& form = *form_;
        if (shown)
            form.show();
        QSignalSpy ended(&form, &TForm1::ended);
        int showings = 0;
        form.winId(); // a window handle to watch, shown or not
        connect(form.windowHandle(), &QWindow::visibleChanged, this, [&](bool visible) { showings += visible; });
        stampVersion2(form);
        (fromTray ? form.JvPopupMenu1.ExitApplication2 : form.MainMenu1.ExitApplication1)->trigger();
        QCOMPARE(ended.size(), 1);
        QVERIFY(form.hasEnded());
        QVERIFY(!form.isVisible());
        QCOMPARE(showings, 0);
        QCOMPARE(savedList(), programRecord(1, "Tool", "2"));
    }

    void aFailedWriteAtExitKeepsTheProgramRunning()
    {
        TForm1& form = *form_;
        form.show();
        QFile::remove(install_->appFile("programs.conf"));
        QVERIFY(QDir().mkdir(install_->appFile("programs.conf"))); // cannot be replaced
        form.MainMenu1.ExitApplication1->trigger();
        QCOMPARE(prompts_->messages().size(), 1);
        QVERIFY2(prompts_->messages()[0].contains("programs.conf"), qPrintable(prompts_->messages()[0]));
        QVERIFY(!form.hasEnded());
        QVERIFY(form.isVisible());
        QVERIFY(form.state().bezarhato);

        // The next close request tries again and ends the program without hiding it first.
        QVERIFY(QDir().rmdir(install_->appFile("programs.conf")));
        form.close();
        QVERIFY(form.hasEnded());
        QCOMPARE(savedList(), programRecord(1, "Tool", "1"));
    }

    void theFailureAtExitInARealMessageBox()
    {
        prompts_.reset(); // the real dialogs
        TForm1& form = *form_;
        QFile::remove(install_->appFile("programs.conf"));
        QVERIFY(QDir().mkdir(install_->appFile("programs.conf")));
        QString title;
        QString text;
        onNextModal([&](QWidget& modal) {
            auto& box = dynamic_cast<QMessageBox&>(modal);
            title = box.windowTitle();
            text = box.text();
            box.button(QMessageBox::Ok)->click();
        });
        form.JvPopupMenu1.ExitApplication2->trigger();
        QCOMPARE(title, QStringLiteral("Updater"));
        QVERIFY2(text.startsWith("Cannot ") && text.contains("programs.conf"), qPrintable(text));
        QVERIFY(!form.hasEnded());
    }

    void theEndOfTheSessionIsNotRefused_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("copying");
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<QString>("failure"); // empty: none
        QTest::addRow("list written") << true << false << programRecord(1, "Tool", "2") << "";
        QTest::addRow("list cannot be written") << false << false << QByteArray() << "Cannot ";
        QTest::addRow("a copy in progress") << true << true << programRecord(1, "Tool", "1") << "The session ended";
    }

    void theEndOfTheSessionIsNotRefused()
    {
        QFETCH(bool, writable);
        QFETCH(bool, copying);
        QFETCH(QByteArray, saved);
        QFETCH(QString, failure);
        TForm1& form = *form_;
        form.show();
        stampVersion2(form);
        if (!writable) {
            QFile::remove(install_->appFile("programs.conf"));
            QDir().mkdir(install_->appFile("programs.conf"));
        }
        form.state().imdone = !copying;
        const std::optional<QString> reported = form.endSession();
        QCOMPARE(reported.has_value(), !failure.isEmpty());
        if (reported)
            QVERIFY2(reported->startsWith(failure), qPrintable(*reported));
        form.close(); // what the application does to its windows when the session ends
        QVERIFY(form.hasEnded());
        QVERIFY(prompts_->log.isEmpty());
        QVERIFY(!form.isVisible());
        QCOMPARE(savedList(), saved);
        form.state().imdone = true;
    }

    void aCancelledLogOffLeavesTheCloseBoxAsItWas()
    {
        TForm1& form = *form_;
        form.show();
        QVERIFY(!form.endSession());
        QCloseEvent closeBox; // delivered to the native window, as the window system does
        QCoreApplication::sendEvent(form.windowHandle(), &closeBox);
        QVERIFY(!form.hasEnded());
        QTRY_VERIFY(!form.isVisible()); // to the tray
    }

    void theBalloonCountsTheUpdates_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("text"); // empty: no balloon
        QTest::addRow("one update") << true << 1 << "There is 1 update available. Click here to update!";
        QTest::addRow("two updates") << true << 2 << "There is 2 updates available. Click here to update!";
        QTest::addRow("no notification area") << false << 2 << "";
    }

    void theBalloonCountsTheUpdates()
    {
        QFETCH(bool, tray);
        QFETCH(int, entries);
        QFETCH(QString, text);
        TrayIcon::assumeAvailable(tray);
        TForm1& form = *form_;
        for (int i = 0; i < entries; ++i)
            form.CheckListBox1->addItem(QStringLiteral("entry"));
        QSignalSpy balloons(form.JvTrayIcon1, &TrayIcon::balloonShown);
        form.NotifyUpdatesFound();
        QVERIFY(form.JvPopupMenu1.UpdateAll1->isEnabled());
        if (text.isEmpty()) {
            QCOMPARE(balloons.size(), 0);
        } else {
            QCOMPARE(balloons.size(), 1);
            QCOMPARE(balloons[0][0].toString(), QStringLiteral("Update Available"));
            QCOMPARE(balloons[0][1].toString(), text);
        }
    }

    void aClickOnTheBalloonShowsTheWindowAndStopsTheCheck()
    {
        TForm1& form = *form_;
        QVERIFY(form.updatechecker->enabled());
        emit form.JvTrayIcon1->balloonClicked();
        QVERIFY(form.isVisible());
        QVERIFY(!form.updatechecker->enabled());
        form.close();
        QVERIFY(!form.isVisible());
        QVERIFY(form.updatechecker->enabled());
        QVERIFY(form.updatechecker->remainingTime() > 59000); // a full interval
    }

    void aClickOnTheIconTogglesTheWindow()
    {
        TForm1& form = *form_;
        QSystemTrayIcon& icon = form.JvTrayIcon1->icon();
        emit icon.activated(QSystemTrayIcon::Trigger);
        QVERIFY(form.isVisible());
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        emit icon.activated(QSystemTrayIcon::Trigger);
        QVERIFY(!form.isVisible());
        QTest::qWait(QApplication::doubleClickInterval() + 50);

        // A double click, reported either way, toggles once.
        emit icon.activated(QSystemTrayIcon::Trigger);
        emit icon.activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(form.isVisible());
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        emit icon.activated(QSystemTrayIcon::Trigger);
        emit icon.activated(QSystemTrayIcon::Trigger);
        QVERIFY(!form.isVisible());
        emit icon.activated(QSystemTrayIcon::Context);
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(TrayAndCloseTest)
#include "TrayAndCloseTest.moc"
