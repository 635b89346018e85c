#include "tests/support/Fixtures.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/ui/main/MainWindowFixture.h"
#include "ui/admin/TForm4.h"
#include "ui/main/TForm1.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TForm4Test : public QObject, private MainWindowFixture {
    Q_OBJECT

    QString config() const { return QString::fromUtf8(readFile(install_->appFile("updater.conf"))); }

    // Opens the dialog from the menu, presses `buttons` in it ("select", "close" or
    // "close box") and returns what its folder field showed before it closed.
    QString runDialog(const QStringList& buttons)
    {
        QString shown;
        QPoint offset;
        onNextModal([&](QWidget& modal) {
            auto& Form4 = dynamic_cast<TForm4&>(modal);
            offset = Form4.pos() - form_->pos();
            for (const QString& button : buttons) {
                if (button == "select")
                    Form4.Button1->click();
                else if (button == "close")
                    Form4.Button2->click();
                else
                    Form4.close();
                shown = Form4.Edit1->text();
            }
            if (Form4.isVisible()) // still open after a failure: close it for the test
                Form4.reject();
        });
        form_->MainMenu1.SetUpdateLocation1->trigger();
        [&] { QCOMPARE(offset, QPoint(10, 10)); }();
        return shown;
    }

private slots:
    void init()
    {
        startWith(updateRecord(1, "Tool", "1"));
    }

    void cleanup() { stop(); }

    void choosingAFolder_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("chosen"); // null: Cancel
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("updatePath");
        QTest::addColumn<QString>("written"); // null: "updater.conf" as it was
        QTest::addRow("Close without Select writes the folder again")
            << "/srv/updates/" << QStringList{"close"} << QString() << "/srv/updates/" << "/srv/updates/"
            << "/srv/updates/\r\n";
        QTest::addRow("an empty folder is not written")
            << "" << QStringList{"close"} << QString() << "" << "" << QString();
        QTest::addRow("a chosen folder gets its separator")
            << "/srv/updates/" << QStringList{"select", "close"} << "/mnt/share/Updates" << "/mnt/share/Updates"
            << "/mnt/share/Updates/" << "/mnt/share/Updates/\r\n";
        QTest::addRow("the root folder") << "" << QStringList{"select", "close"} << "/" << "/" << "/" << "/\r\n";
        QTest::addRow("Cancel changes nothing")
            << "/srv/updates/" << QStringList{"select", "close"} << QString() << "/srv/updates/" << "/srv/updates/"
            << "/srv/updates/\r\n";
        QTest::addRow("an item that is no folder empties both")
            << "/srv/updates/" << QStringList{"select", "close"} << "" << "" << "" << QString();
        QTest::addRow("the close box keeps the choice for this run only")
            << "/srv/updates/" << QStringList{"select", "close box"} << "/mnt/share/Updates"
            << "/mnt/share/Updates" << "/mnt/share/Updates/" << QString();
    }

    void choosingAFolder()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, buttons);
        QFETCH(QString, chosen);
        QFETCH(QString, shown);
        QFETCH(QString, updatePath);
        QFETCH(QString, written);
        const QString configBefore = config();
        form_->state().update_path = before;
        prompts_->folderAnswers.enqueue(chosen.isNull() ? std::nullopt : std::optional<QString>(chosen));
        QCOMPARE(runDialog(buttons), shown);
        QCOMPARE(form_->state().update_path, updatePath);
        QCOMPARE(config(), written.isNull() ? configBefore : written);
        if (buttons.contains("select"))
            QCOMPARE(prompts_->log.value(0), "browse for folder: " + before); // starts at the current folder
        QVERIFY(prompts_->messages().isEmpty());
    }

    void aFolderChosenLaterDoesNotStartTheChecks()
    {
        form_.reset();
        QFile::remove(install_->appFile("updater.conf"));
        prompts_->confirmAnswers.enqueue(false);
        form_ = std::make_unique<TForm1>(install_->executable());
        QVERIFY(!form_->state().update_path_ok);
        prompts_->folderAnswers.enqueue(install_->updateFolder());
        runDialog({"select", "close"});
        QVERIFY(!form_->state().update_path_ok);
        QVERIFY(!form_->CheckForUpdates());
    }

    void aFailedWriteKeepsTheDialogOpen()
    {
        QFile::remove(install_->appFile("updater.conf"));
        QVERIFY(QDir().mkdir(install_->appFile("updater.conf")));
        form_->state().update_path = "/srv/updates/";
        bool openAfterClose = false;
        onNextModal([&](QWidget& modal) {
            dynamic_cast<TForm4&>(modal).Button2->click();
            openAfterClose = modal.isVisible();
            modal.close();
        });
        form_->MainMenu1.SetUpdateLocation1->trigger();
        QVERIFY(openAfterClose);
        QCOMPARE(prompts_->messages().size(), 1);
        QVERIFY(prompts_->messages()[0].contains("updater.conf"));
    }

    void enterAndEscapeDoNotCloseIt()
    {
        bool open = false;
        onNextModal([&](QWidget& modal) {
            auto& Form4 = dynamic_cast<TForm4&>(modal);
            for (QWidget* focus : {static_cast<QWidget*>(Form4.Edit1), static_cast<QWidget*>(Form4.Button2)}) {
                focus->setFocus();
                QTest::keyClick(focus, Qt::Key_Return);
                QTest::keyClick(focus, Qt::Key_Enter);
                QTest::keyClick(focus, Qt::Key_Escape);
            }
            open = Form4.isVisible();
            Form4.close();
        });
        form_->MainMenu1.SetUpdateLocation1->trigger();
        QVERIFY(open);
        QVERIFY(prompts_->log.isEmpty());
    }

    void theDialogHasItsDesignedShape()
    {
        UpdaterState state;
        TForm4 Form4(state);
        QCOMPARE(Form4.windowTitle(), QStringLiteral("Set Update Location"));
        QCOMPARE(Form4.size(), QSize(447, 85));
        QVERIFY(Form4.Edit1->isReadOnly());
        QVERIFY(Form4.Edit1->text().isEmpty());
        QCOMPARE(Form4.Edit1->geometry(), QRect(8, 8, 353, 24));
        QCOMPARE(Form4.Button1->geometry(), QRect(364, 8, 75, 25));
        QCOMPARE(Form4.Button2->geometry(), QRect(80, 48, 265, 25));
        Form4.show();
        Form4.resize(547, 105); // anchored edges keep their distances
        QCOMPARE(Form4.Edit1->geometry(), QRect(8, 8, 453, 24));
        QCOMPARE(Form4.Button1->geometry(), QRect(464, 8, 75, 25));
        QCOMPARE(Form4.Button2->geometry(), QRect(80, 68, 365, 25));
    }
};

QTEST_MAIN(TForm4Test)
#include "TForm4Test.moc"
