#include "tests/support/Fixtures.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/ui/main/MainWindowFixture.h"
#include "ui/common/DoubleBorderGroupBox.h"
#include "ui/main/ApplicationIcon.h"
#include "ui/main/FoundUpdatesListBox.h"
#include "ui/main/StatusPanels.h"
#include "ui/main/TForm1.h"
#include "ui/main/TrayIcon.h"

#include <QAction>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

namespace {

// "caption" for an item, "-" for a separator, "[x] caption" for a checked check item,
// "(off) caption" for a disabled one.
QStringList describe(const QList<QAction*>& actions)
{
    QStringList items;
    for (const QAction* action : actions) {
        QString text = action->isSeparator() ? QStringLiteral("-") : action->text();
        if (action->isCheckable())
            text.prepend(action->isChecked() ? QStringLiteral("[x] ") : QStringLiteral("[ ] "));
        if (!action->isEnabled())
            text.prepend(QStringLiteral("(off) "));
        items << text;
    }
    return items;
}

} // namespace

class MainWindowTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init()
    {
        startWith(updateRecord(7, "Tool", "1")); // nothing newer
    }

    void cleanup() { stop(); }

    void theFormHasItsDesignedShape()
    {
        TForm1& form = *form_;
        QCOMPARE(form.windowTitle(), QStringLiteral("Program Updater"));
        QCOMPARE(form.centralWidget()->size(), QSize(441, 316));
        form.show();
        QCOMPARE(form.minimumSize(), form.maximumSize()); // fixed size
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(form.AdvGroupBox1->title(), QStringLiteral(" Found Updates "));
        QCOMPARE(form.AdvGroupBox1->geometry(), QRect(3, 0, 435, 247));
        QCOMPARE(form.CheckListBox1->geometry(), QRect(6, 16, 423, 225));
        form.CheckListBox1->addItem(QStringLiteral("1 - Tool | 2"));
        QCOMPARE(form.CheckListBox1->visualItemRect(form.CheckListBox1->item(0)).height(), 18);
        QCOMPARE(form.Panel1->geometry(), QRect(25, 253, 391, 41));
        QCOMPARE(form.Button1->geometry(), QRect(1, 1, 389, 39));
        QCOMPARE(form.Button1->text(), QStringLiteral("Update Selected"));
        QVERIFY(form.Button1->font().bold());
        QVERIFY(!form.windowIcon().isNull());
        QCOMPARE(form.JvTrayIcon1->icon().icon().availableSizes().size(), 8);
        QVERIFY(form.JvTrayIcon1->icon().toolTip().isEmpty());
    }

    void theStatusBarIsLaidOutForTheProgressBars()
    {
        TForm1& form = *form_;
        QCOMPARE(form.StatusBar1->geometry(), QRect(0, 297, 441, 19));
        QCOMPARE(form.StatusBar1->panelWidth(0), 70);
        QCOMPARE(form.StatusBar1->panelWidth(1), 185);
        QCOMPARE(form.StatusBar1->panelWidth(2), 185);
        QCOMPARE(form.StatusBar1->panelText(0), QStringLiteral("Standby"));
        QCOMPARE(form.ProgressBar->parentWidget(), form.StatusBar1);
        QCOMPARE(form.ProgressBar->geometry(), QRect(70, 0, 185, 19));
        QCOMPARE(form.ProgressBar2->geometry(), QRect(255, 0, 185, 19));
        for (const QProgressBar* bar : {form.ProgressBar, form.ProgressBar2}) {
            QVERIFY(bar->isHidden());
            QCOMPARE(bar->minimum(), 0);
            QCOMPARE(bar->maximum(), 100);
            QCOMPARE(bar->value(), 0);
        }
    }

    void theMenusHoldEveryItem()
    {
        TForm1& form = *form_;
        QCOMPARE(describe(form.MainMenu1.bar->actions()),
                 (QStringList{"&Check For Updates", "Updateable Programs", "Options", "Exit Application"}));
        QCOMPARE(describe(form.MainMenu1.Options1->actions()),
                 (QStringList{"Change Update Frequency", "[x] Check For Updates Automatically",
                              "[ ] Start Program With Windows", "-", "Set Update Location", "-", "Admin Console"}));
        QCOMPARE(describe(form.JvPopupMenu1.menu->actions()),
                 (QStringList{"Check For Updates Now!", "(off) Update All!", "-", "UpdateAble Programs",
                              "Change Update Frequency", "Set Update Location", "-", "Exit Application"}));
        QCOMPARE(form.JvTrayIcon1->icon().contextMenu(), form.JvPopupMenu1.menu);
        for (const QAction* action : form.findChildren<QAction*>())
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
    }

    void theListKeepsEachUpdatesNameBytes()
    {
        install_->writeUpdates(updateRecord(7, "Tool", "2"));
        QVERIFY(form_->CheckForUpdates());
        QListWidget& list = *form_->CheckListBox1;
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.item(0)->text(), QStringLiteral("7 - Tool | 2"));
        QCOMPARE(updateNameOf(*list.item(0)), QByteArray("Tool"));
        QVERIFY(list.item(0)->flags() & Qt::ItemIsUserCheckable);
        QCOMPARE(list.item(0)->checkState(), Qt::Unchecked);
        QCOMPARE(list.selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!list.isSortingEnabled());
    }

    void aRunHoldsBackCommandsAndRestoresThem()
    {
        TForm1& form = *form_;
        form.JvPopupMenu1.UpdateAll1->setEnabled(false);
        form.Button1->setEnabled(false); // as a run might leave it
        const QList<QAction*> held{form.MainMenu1.CheckForUpdates1,   form.JvPopupMenu1.CheckForUpdatesNow1,
                                   form.MainMenu1.UpdateablePrograms1, form.JvPopupMenu1.UpdateAblePrograms2,
                                   form.MainMenu1.SetUpdateLocation1,  form.JvPopupMenu1.SetUpdateLocation2,
                                   form.MainMenu1.AdminConsole1};
        form.setRunInProgress(true);
        for (const QAction* action : held)
            QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
        QVERIFY(!form.JvPopupMenu1.UpdateAll1->isEnabled());
        QVERIFY(!form.CheckListBox1->isEnabled());
        QVERIFY(form.MainMenu1.ExitApplication1->isEnabled());
        QVERIFY(form.MainMenu1.ChangeUpdateFrequency1->isEnabled());
        form.JvPopupMenu1.UpdateAll1->setEnabled(true); // wanted on, shown off until the run ends
        QVERIFY(!form.JvPopupMenu1.UpdateAll1->isEnabled());

        form.setRunInProgress(false);
        for (const QAction* action : held)
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
        QVERIFY(form.JvPopupMenu1.UpdateAll1->isEnabled());
        QVERIFY(form.CheckListBox1->isEnabled());
        QVERIFY(!form.Button1->isEnabled());
    }

    void anExitDuringARunWaitsForItsEnd()
    {
        TForm1& form = *form_;
        form.setRunInProgress(true);
        form.state().programok.front().version.length = 1;
        form.state().programok.front().version.text[0] = '2'; // stamped by the run
        form.JvPopupMenu1.ExitApplication2->trigger();
        QVERIFY(!form.hasEnded());
        form.close(); // the close box during the run: still waiting
        QVERIFY(!form.hasEnded());
        QCOMPARE(readFile(install_->appFile("programs.conf")), programRecord(1, "Tool", "1"));

        form.setRunInProgress(false);
        QTRY_VERIFY(form.hasEnded());
        QCOMPARE(readFile(install_->appFile("programs.conf")), programRecord(1, "Tool", "2"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
