#include "tests/support/Fixtures.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/ui/main/MainWindowFixture.h"
#include "ui/admin/TForm2.h"
#include "ui/admin/TForm4.h"
#include "ui/main/PeriodicTimer.h"
#include "ui/main/StatusPanels.h"
#include "ui/main/TForm1.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

const QString NoUpdatePath = QStringLiteral("confirm: There is no update path specified. Do you wish to specify one?");
const QString UpdatePathGone =
    QStringLiteral("confirm: The update path specified is no longer available. Do you wish to specify a new one?");
const QString NoPrograms = QStringLiteral("confirm: There is no available programs listed. Do you wish to add some?");

} // namespace

class StartupSequenceTest : public QObject {
    Q_OBJECT

    TestEnvironment environment_;

private slots:
    void startupFollowsTheFiles_data()
    {
        QTest::addColumn<QString>("config"); // none, reachable, unreachable, empty, unreadable
        QTest::addColumn<QByteArray>("programs"); // null: no "programs.conf"
        QTest::addColumn<QByteArray>("updates");  // null: no "update.conf"
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("dialog"); // what to press in the update location dialog
        QTest::addColumn<QStringList>("shown"); // each entry starts as this
        QTest::addColumn<bool>("pathOk");
        QTest::addColumn<bool>("programsOk");
        QTest::addColumn<bool>("checking");
        QTest::addColumn<int>("found");

        const QByteArray tool = programRecord(1, "Tool", "1");
        const QByteArray two = programRecord(1, "Tool", "1") + programRecord(2, "Other", "3");
        QTest::addRow("empty folder, both questions answered no")
            << "none" << QByteArray() << QByteArray() << QList<bool>{false, false} << ""
            << QStringList{NoUpdatePath, NoPrograms} << false << false << false << 0;
        QTest::addRow("empty folder, a folder chosen, no programs")
            << "none" << QByteArray() << QByteArray() << QList<bool>{true, false} << "select,close"
            << QStringList{NoUpdatePath, "browse for folder: ", NoPrograms} << true << false << false << 0;
        QTest::addRow("reachable folder, nothing newer")
            << "reachable" << tool << updateRecord(1, "Tool", "1") << QList<bool>{} << "" << QStringList{} << true
            << true << true << 0;
        QTest::addRow("reachable folder, two newer versions")
            << "reachable" << two << updateRecord(1, "Tool", "2") + updateRecord(2, "Other", "4") << QList<bool>{}
            << "" << QStringList{} << true << true << false << 2;
        QTest::addRow("unreachable folder answered no")
            << "unreachable" << tool << QByteArray() << QList<bool>{false} << "" << QStringList{UpdatePathGone}
            << false << true << false << 0;
        QTest::addRow("unreachable folder answered yes, dialog closed without a choice")
            << "unreachable" << tool << QByteArray() << QList<bool>{true} << "close" << QStringList{UpdatePathGone}
            << true << true << true << 0;
        QTest::addRow("empty updater.conf")
            << "empty" << tool << QByteArray() << QList<bool>{false} << "" << QStringList{UpdatePathGone} << false
            << true << false << 0;
        QTest::addRow("programs.conf of 0 bytes, answered yes, no program entered")
            << "reachable" << QByteArray("") << updateRecord(1, "Tool", "2") << QList<bool>{true} << "programs"
            << QStringList{NoPrograms} << true << false << false << 0;
        QTest::addRow("unreadable updater.conf")
            << "unreadable" << tool << QByteArray() << QList<bool>{} << ""
            << QStringList{"message: Cannot read \"" } << false << false << false << 0;
    }

    void startupFollowsTheFiles()
    {
        QFETCH(QString, config);
        QFETCH(QByteArray, programs);
        QFETCH(QByteArray, updates);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, dialog);
        QFETCH(QStringList, shown);
        QFETCH(bool, pathOk);
        QFETCH(bool, programsOk);
        QFETCH(bool, checking);
        QFETCH(int, found);

        InstallFolder install;
        if (config == "reachable")
            install.writeConfig(install.updateFolder().toUtf8() + '/');
        else if (config == "unreachable")
            install.writeConfig(install.updateFolder().toUtf8() + "/gone/");
        else if (config == "empty")
            writeFile(install.appFile("updater.conf"), "");
        else if (config == "unreadable") // exists, yet every read fails with EIO
            QVERIFY(QFile::link("/proc/self/mem", install.appFile("updater.conf")));
        if (!programs.isNull())
            install.writePrograms(programs);
        if (!updates.isNull())
            install.writeUpdates(updates);

        ScriptedPrompts prompts;
        prompts.confirmAnswers.append(answers);
        prompts.folderAnswers.enqueue(install.updateFolder());
        if (dialog == "programs")
            onNextModal([](QWidget& modal) { dynamic_cast<TForm2&>(modal).Button3->click(); });
        else if (!dialog.isEmpty())
            onNextModal([dialog](QWidget& modal) {
                auto& Form4 = dynamic_cast<TForm4&>(modal);
                if (dialog.startsWith("select"))
                    Form4.Button1->click();
                Form4.Button2->click();
            });

        TForm1 form(install.executable());

        QCOMPARE(prompts.log.size(), shown.size());
        for (int i = 0; i < shown.size(); ++i)
            QVERIFY2(prompts.log[i].startsWith(shown[i]), qPrintable(prompts.log[i]));
        QCOMPARE(form.state().update_path_ok, pathOk);
        QCOMPARE(form.state().programok_ok, programsOk);
        QCOMPARE(form.updatechecker->enabled(), checking);
        QCOMPARE(form.updatechecker->interval(), 60000u);
        QCOMPARE(form.CheckListBox1->count(), found);
        QCOMPARE(form.JvPopupMenu1.UpdateAll1->isEnabled(), found > 0);
        QCOMPARE(form.StatusBar1->panelText(0), QStringLiteral("Standby"));
        QCOMPARE(form.state().applicationpath, install.appFile(""));
        // Set up even after a failure: the update run relies on the bars.
        QVERIFY(form.ProgressBar && form.ProgressBar2);
        QVERIFY(!form.isVisible());
    }

    void aChosenFolderIsUsedAndKept()
    {
        InstallFolder install;
        install.writePrograms(programRecord(1, "Tool", "1"));
        install.writeUpdates(updateRecord(1, "Tool", "2"));
        ScriptedPrompts prompts;
        prompts.confirmAnswers.enqueue(true);
        prompts.folderAnswers.enqueue(install.updateFolder());
        onNextModal([](QWidget& modal) {
            auto& Form4 = dynamic_cast<TForm4&>(modal);
            Form4.Button1->click();
            Form4.Button2->click();
        });
        TForm1 form(install.executable());
        QCOMPARE(form.state().update_path, install.updateFolder() + '/');
        QCOMPARE(readFile(install.appFile("updater.conf")), install.updateFolder().toUtf8() + "/\r\n");
        QCOMPARE(form.CheckListBox1->count(), 1); // the first check ran on the new folder
    }

    void theWindowGoesToTheTrayAboutASecondAfterStart()
    {
        InstallFolder install;
        install.prepareReady(updateRecord(1, "Tool", "1"));
        ScriptedPrompts prompts;
        TForm1 form(install.executable());
        form.show();
        QVERIFY(form.Timer1->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 5000);
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(form.updatechecker->enabled());
        QVERIFY(prompts.log.isEmpty());
    }

    void aQuestionLeftOpenKeepsTheWindowOnScreen()
    {
        InstallFolder install;
        ScriptedPrompts prompts;
        prompts.confirmAnswers << false << false;
        bool waited = false;
        prompts.whileShown = [&waited] {
            if (!std::exchange(waited, true))
                QTest::qWait(1500); // the user thinks it over; the tray timer ticks meanwhile
        };
        TForm1 form(install.executable());
        QVERIFY(!form.Timer1->isActive());
        form.show();
        QTest::qWait(1500);
        QVERIFY(form.isVisible());
    }

    void theStartupEntrySetsTheCheckMark_data()
    {
        QTest::addColumn<QByteArray>("entry"); // null: none
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QStringList>("shown");
        QTest::addRow("no entry") << QByteArray() << false << QStringList{};
        QTest::addRow("empty entry") << QByteArray("") << false << QStringList{};
        QTest::addRow("entry naming another program")
            << QByteArray("[Desktop Entry]\nExec=/usr/bin/other\n") << true << QStringList{};
        QTest::addRow("not a desktop entry")
            << QByteArray("garbage\n") << false << QStringList{"message: Invalid data type for 'Updater'"};
    }

    void theStartupEntrySetsTheCheckMark()
    {
        QFETCH(QByteArray, entry);
        QFETCH(bool, checked);
        QFETCH(QStringList, shown);
        QFile::remove(environment_.autostartEntry());
        if (!entry.isNull()) {
            QDir().mkpath(QFileInfo(environment_.autostartEntry()).path());
            writeFile(environment_.autostartEntry(), entry);
        }
        InstallFolder install;
        install.prepareReady(updateRecord(1, "Tool", "1"));
        ScriptedPrompts prompts;
        TForm1 form(install.executable());
        QCOMPARE(form.MainMenu1.StartProgramWithWindows1->isChecked(), checked);
        QCOMPARE(prompts.log, shown);
        QFile::remove(environment_.autostartEntry());
    }
};

QTEST_MAIN(StartupSequenceTest)
#include "StartupSequenceTest.moc"
