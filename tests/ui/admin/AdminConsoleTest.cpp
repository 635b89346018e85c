#include "tests/support/ChildProcess.h"
#include "tests/support/Fixtures.h"
#include "tests/support/RecordLists.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/admin/TForm5.h"
#include "ui/common/SpinButton.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QStringList entryTexts(const TForm5& form)
{
    QStringList texts;
    for (int row = 0; row < form.CheckListBox1->count(); ++row)
        texts << form.CheckListBox1->item(row)->text();
    return texts;
}

QList<bool> entryChecks(const TForm5& form)
{
    QList<bool> checks;
    for (int row = 0; row < form.CheckListBox1->count(); ++row)
        checks << (form.CheckListBox1->item(row)->checkState() == Qt::Checked);
    return checks;
}

void setChecked(TForm5& form, int row, bool checked)
{
    form.CheckListBox1->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

// A state whose update list holds exactly `records` (fixture bytes).
void setUpdates(UpdaterState& state, const QByteArray& records)
{
    state.updates = recordsFrom<upd>(records);
    state.updatesdb = static_cast<std::int32_t>(state.updates.size());
}

// Registered programs, loaded as they would be from "programs.conf": the bytes behind the
// texts hold 'x', which a copied name or path must not carry along.
void setPrograms(UpdaterState& state, const QList<QByteArray>& nameFolderVersion)
{
    QByteArray records;
    for (qsizetype i = 0; i + 2 < nameFolderVersion.size(); i += 3)
        records += recordBytes(static_cast<std::int32_t>(i / 3 + 1), nameFolderVersion[i], nameFolderVersion[i + 1],
                               nameFolderVersion[i + 2], 0, 'x');
    state.programok = recordsFrom<prog>(records);
    state.programokdb = static_cast<std::int32_t>(state.programok.size());
}

const QString ExportQuestion = QStringLiteral("Do you wish to create the update versio file?");

} // namespace

class AdminConsoleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void opensWithEveryRecordAsAnEntry();
    void addNewAppendsTheExecutable_data();
    void addNewAppendsTheExecutable();
    void addNewCancelledChangesNothing();
    void addAppendsRegisteredPrograms_data();
    void addAppendsRegisteredPrograms();
    void addForANameNoProgramHasAddsTheEntryOnly();
    void addStopsAtAVersionThatIsNotAnInteger();
    void selectingAndUpdateFollowTheName();
    void spinButtonCountsWithoutBounds_data();
    void spinButtonCountsWithoutBounds();
    void deleteRemovesTheLastRecordOfTheName_data();
    void deleteRemovesTheLastRecordOfTheName();
    void deleteAllEmptiesTheList_data();
    void deleteAllEmptiesTheList();
    void selectTakesTheChosenFolder_data();
    void selectTakesTheChosenFolder();
    void versionControlsFollowTheSelection();
    void enterAndEscapeDoNotClose();

    void exportWritesSettingsThenTheList();
    void exportDoesNothingUnlessAskedAndConfirmed_data();
    void exportDoesNothingUnlessAskedAndConfirmed();
    void exportToAFolderThatCannotBeWritten_data();
    void exportToAFolderThatCannotBeWritten();
    void exportRefusedKeepsTheOldList();
};

void AdminConsoleTest::initTestCase()
{
    // Record texts in the Western code page, whatever the machine's locale.
    qputenv("LC_ALL", "C");
}

void AdminConsoleTest::opensWithEveryRecordAsAnEntry()
{
    ScriptedPrompts scripted;
    UpdaterState state;
    setUpdates(state, recordBytes(1, "Tool", "/a/", "3") + recordBytes(2, "Editor", "/b/", "4", 1) +
                          recordBytes(3, "Viewer", "/c/", "5"));
    setPrograms(state, {"Tool", "/apps/Tool/", "3", "Viewer", "/apps/V1/", "1", "Viewer", "/apps/V2/", "2"});
    state.update_path = QStringLiteral("/srv/updates/");

    TForm5 form(state);
    form.fillFromState();

    QCOMPARE(form.windowTitle(), QStringLiteral("Admin Console"));
    QCOMPARE(entryTexts(form), (QStringList{"Tool", "Editor", "Viewer"}));
    QCOMPARE(entryChecks(form), (QList<bool>{false, true, false}));
    QCOMPARE(form.Edit1->text(), QStringLiteral("/srv/updates/"));
    QStringList choices;
    for (int i = 0; i < form.ComboBox1->count(); ++i)
        choices << form.ComboBox1->itemText(i);
    QCOMPARE(choices, (QStringList{"None Selected", "Tool", "Viewer", "Viewer"}));
    QCOMPARE(form.ComboBox1->currentIndex(), 0);
    QCOMPARE(form.Label2->text(), QStringLiteral("0"));
    QVERIFY(scripted.log.isEmpty());
}

void AdminConsoleTest::addNewAppendsTheExecutable_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QByteArray>("appended");
    QTest::addColumn<QString>("name");

    QTest::addRow("empty list: id 1, version 1, the full path")
        << QByteArray() << "/apps/Tool/tool.exe" << recordBytes(1, "tool", "/apps/Tool/tool.exe", "1") << "tool";
    QTest::addRow("after id 7: id 8") << recordBytes(7, "Old", "/old/", "2", 1, 'x') << "/apps/Tool/tool.exe"
                                      << recordBytes(8, "tool", "/apps/Tool/tool.exe", "1") << "tool";
    QTest::addRow("blanks in the name") << QByteArray() << "/apps/My Tool/My Tool.exe"
                                        << recordBytes(1, "My Tool", "/apps/My Tool/My Tool.exe", "1") << "My Tool";
    QTest::addRow("non-ASCII name in the code page")
        << QByteArray() << QString::fromUtf8("/apps/T\u00f6\u00f6l.exe")
        << recordBytes(1, "T\xf6\xf6l", "/apps/T\xf6\xf6l.exe", "1") << QString::fromUtf8("T\u00f6\u00f6l");
    QTest::addRow("characters outside the code page become ?")
        << QByteArray() << QString::fromUtf8("/apps/\u5de5\u5177.exe") << recordBytes(1, "??", "/apps/??.exe", "1")
        << "??";
    QTest::addRow("a file name of four characters gives no name")
        << QByteArray() << "/apps/.exe" << recordBytes(1, "", "/apps/.exe", "1") << "";

    const QString longFolder = QLatin1Char('/') + QString(290, u'a') + QLatin1Char('/');
    QTest::addRow("300-character path: its first 255 characters")
        << QByteArray() << longFolder + "tool.exe" << recordBytes(1, "tool", longFolder.left(255).toLatin1(), "1")
        << "tool";
}

void AdminConsoleTest::addNewAppendsTheExecutable()
{
    QFETCH(QByteArray, existing);
    QFETCH(QString, executable);
    QFETCH(QByteArray, appended);
    QFETCH(QString, name);

    ScriptedPrompts scripted;
    scripted.executableAnswers << executable;
    UpdaterState state;
    setUpdates(state, existing);
    setPrograms(state, {"Editor", "/apps/Editor/", "2"});
    TForm5 form(state);
    form.fillFromState();

    form.Button2Click();

    QCOMPARE(bytesOf(state.updates), existing + appended);
    QCOMPARE(state.updatesdb, static_cast<std::int32_t>(state.updates.size()));
    QCOMPARE(form.ComboBox1->itemText(1), name);
    QCOMPARE(form.ComboBox1->itemText(2), QStringLiteral("Editor"));
    QCOMPARE(form.ComboBox1->currentIndex(), 1);
    QCOMPARE(entryTexts(form).constLast(), name);
    QCOMPARE(entryChecks(form).constLast(), false);
    QVERIFY(scripted.messages().isEmpty());
}

void AdminConsoleTest::addNewCancelledChangesNothing()
{
    ScriptedPrompts scripted;
    scripted.executableAnswers << QString();
    UpdaterState state;
    setUpdates(state, recordBytes(1, "Tool", "/a/", "3"));
    TForm5 form(state);
    form.fillFromState();

    form.Button2Click();

    QCOMPARE(bytesOf(state.updates), recordBytes(1, "Tool", "/a/", "3"));
    QCOMPARE(form.ComboBox1->count(), 1);
    QCOMPARE(entryTexts(form), QStringList{"Tool"});
}

void AdminConsoleTest::addAppendsRegisteredPrograms_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QByteArray>("appended");
    QTest::addColumn<QStringList>("newEntries");

    // Choices: 0 "None Selected", 1 Tool, 2 Editor, 3 Editor.
    QTest::addRow("None Selected does nothing") << QByteArray() << 0 << QByteArray() << QStringList();
    QTest::addRow("Tool of version 4: version 5 and the program's folder")
        << QByteArray() << 1 << recordBytes(1, "Tool", "/apps/Tool/", "5") << QStringList{"Tool"};
    QTest::addRow("after id 7 the id stays 7") << recordBytes(7, "Old", "/old/", "2") << 1
                                               << recordBytes(7, "Tool", "/apps/Tool/", "5") << QStringList{"Tool"};
    QTest::addRow("two programs named Editor, versions 2 and 6: two records, one entry")
        << QByteArray() << 2 << recordBytes(1, "Editor", "/apps/Ed1/", "3") + recordBytes(1, "Editor", "/apps/Ed2/", "7")
        << QStringList{"Editor"};
}

void AdminConsoleTest::addAppendsRegisteredPrograms()
{
    QFETCH(QByteArray, existing);
    QFETCH(int, choice);
    QFETCH(QByteArray, appended);
    QFETCH(QStringList, newEntries);

    ScriptedPrompts scripted;
    UpdaterState state;
    setUpdates(state, existing);
    setPrograms(state, {"Tool", "/apps/Tool/", "4", "Editor", "/apps/Ed1/", "2", "Editor", "/apps/Ed2/", "6"});
    TForm5 form(state);
    form.fillFromState();
    const QStringList entriesBefore = entryTexts(form);

    form.ComboBox1->setCurrentIndex(choice);
    form.Button3Click();

    QCOMPARE(bytesOf(state.updates), existing + appended);
    QCOMPARE(state.updatesdb, static_cast<std::int32_t>(state.updates.size()));
    QCOMPARE(entryTexts(form), entriesBefore + newEntries);
    QVERIFY(!entryChecks(form).contains(true));
    QVERIFY(scripted.log.isEmpty());
}

void AdminConsoleTest::addForANameNoProgramHasAddsTheEntryOnly()
{
    ScriptedPrompts scripted;
    scripted.executableAnswers << QStringLiteral("/apps/New/new.exe");
    UpdaterState state;
    setPrograms(state, {"Tool", "/apps/Tool/", "4"});
    TForm5 form(state);
    form.fillFromState();

    form.Button2Click(); // selects "new" in the choices
    form.Button3Click();

    QCOMPARE(bytesOf(state.updates), recordBytes(1, "new", "/apps/New/new.exe", "1"));
    QCOMPARE(entryTexts(form), (QStringList{"new", "new"}));
}

void AdminConsoleTest::addStopsAtAVersionThatIsNotAnInteger()
{
    ScriptedPrompts scripted;
    UpdaterState state;
    setPrograms(state, {"Tool", "/apps/T1/", "abc", "Tool", "/apps/T2/", "4"});
    TForm5 form(state);
    form.fillFromState();

    form.ComboBox1->setCurrentIndex(1);
    form.Button3Click();

    QCOMPARE(scripted.messages(), QStringList{"''abc'' is not a valid integer value"});
    QCOMPARE(entryTexts(form), QStringList{"Tool"});
    // The record being built stays, with an empty version; the second program gets none.
    QCOMPARE(bytesOf(state.updates), recordBytes(1, "Tool", "/apps/T1/", ""));
    QCOMPARE(state.updatesdb, 1);
}

void AdminConsoleTest::selectingAndUpdateFollowTheName()
{
    ScriptedPrompts scripted;
    UpdaterState state;
    setUpdates(state, recordBytes(1, "Tool", "/a/", "3", 0, 'x') + recordBytes(2, "Other", "/b/", "4", 0, 'x') +
                          recordBytes(3, "Tool", "/c/", "9", 1, 'x'));
    TForm5 form(state);
    form.fillFromState();

    form.CheckListBox1->setCurrentRow(1);
    QCOMPARE(form.Label2->text(), QStringLiteral("4"));
    form.CheckListBox1->setCurrentRow(0);
    QCOMPARE(form.Label2->text(), QStringLiteral("9")); // the later record of that name

    form.Label2->setText(QStringLiteral("12"));
    form.Button6Click();

    QCOMPARE(bytesOf(state.updates), recordBytes(1, "Tool", "/a/", "12", 0, 'x') +
                                         recordBytes(2, "Other", "/b/", "4", 0, 'x') +
                                         recordBytes(3, "Tool", "/c/", "12", 1, 'x'));
    QVERIFY(scripted.log.isEmpty());
}

void AdminConsoleTest::spinButtonCountsWithoutBounds_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("messages");

    QTest::addRow("0 up twice: 1, 2") << "0" << "++" << QStringList{"1", "2"} << QStringList();
    QTest::addRow("0 down: -1") << "0" << "-" << QStringList{"-1"} << QStringList();
    QTest::addRow("a hexadecimal version counts on in decimal") << "$10" << "+" << QStringList{"17"} << QStringList();
    QTest::addRow("not an integer: the conversion error, the text stays")
        << "5x" << "+" << QStringList{"5x"} << QStringList{"''5x'' is not a valid integer value"};
    QTest::addRow("above the largest integer: an error, not a wrap to the smallest")
        << "2147483647" << "+" << QStringList{"2147483647"}
        << QStringList{"''2147483648'' is not a valid integer value"};
    QTest::addRow("below the smallest integer: an error")
        << "-2147483648" << "-" << QStringList{"-2147483648"}
        << QStringList{"''-2147483649'' is not a valid integer value"};
}

void AdminConsoleTest::spinButtonCountsWithoutBounds()
{
    QFETCH(QString, start);
    QFETCH(QString, clicks);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, messages);

    ScriptedPrompts scripted;
    UpdaterState state;
    TForm5 form(state);
    form.Label2->setText(start);

    QStringList seen;
    for (const QChar click : clicks) {
        (click == u'+' ? form.SpinButton1->upButton() : form.SpinButton1->downButton())->click();
        seen << form.Label2->text();
    }
    QCOMPARE(seen, shown);
    QCOMPARE(scripted.messages(), messages);
}

void AdminConsoleTest::deleteRemovesTheLastRecordOfTheName_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QByteArray>("remaining");
    QTest::addColumn<QStringList>("entries");

    const QByteArray first = recordBytes(1, "Tool", "/a/", "3");
    const QByteArray second = recordBytes(2, "Tool", "/b/", "5");
    const QByteArray other = recordBytes(3, "Other", "/c/", "1");
    QTest::addRow("Yes on the first Tool: the later Tool record and the entry go")
        << 0 << true << true << first + other << QStringList{"Tool", "Other"};
    QTest::addRow("No keeps everything") << 0 << false << true << first + second + other
                                         << QStringList{"Tool", "Tool", "Other"};
    QTest::addRow("nothing selected: no question") << -1 << true << false << first + second + other
                                                   << QStringList{"Tool", "Tool", "Other"};
}

void AdminConsoleTest::deleteRemovesTheLastRecordOfTheName()
{
    QFETCH(int, selected);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(QByteArray, remaining);
    QFETCH(QStringList, entries);

    ScriptedPrompts scripted;
    scripted.confirmAnswers << answer;
    UpdaterState state;
    setUpdates(state, recordBytes(1, "Tool", "/a/", "3") + recordBytes(2, "Tool", "/b/", "5") +
                          recordBytes(3, "Other", "/c/", "1"));
    TForm5 form(state);
    form.fillFromState();
    form.CheckListBox1->setCurrentRow(selected);

    form.Delete1Click();

    QCOMPARE(scripted.log.contains("confirm: Do you wish to delete the selected item?"), asked);
    QCOMPARE(bytesOf(state.updates), remaining);
    QCOMPARE(state.updatesdb, static_cast<std::int32_t>(state.updates.size()));
    QCOMPARE(entryTexts(form), entries);
    if (answer && asked)
        QVERIFY(form.CheckListBox1->selectedItems().isEmpty());
}

void AdminConsoleTest::deleteAllEmptiesTheList_data()
{
    QTest::addColumn<QByteArray>("records");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("remaining");

    const QByteArray two = recordBytes(1, "Tool", "/a/", "3") + recordBytes(2, "Other", "/b/", "5");
    QTest::addRow("Yes empties list and records") << two << true << true << 0;
    QTest::addRow("No keeps both") << two << false << true << 2;
    QTest::addRow("an empty list: no question") << QByteArray() << true << false << 0;
}

void AdminConsoleTest::deleteAllEmptiesTheList()
{
    QFETCH(QByteArray, records);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(int, remaining);

    ScriptedPrompts scripted;
    scripted.confirmAnswers << answer;
    UpdaterState state;
    setUpdates(state, records);
    TForm5 form(state);
    form.fillFromState();

    form.DeleteAll1Click();

    QCOMPARE(scripted.log.contains("confirm: Do you wish to empty the list?"), asked);
    QCOMPARE(form.CheckListBox1->count(), remaining);
    QCOMPARE(static_cast<int>(state.updates.size()), remaining);
    QCOMPARE(state.updatesdb, remaining);
}

void AdminConsoleTest::selectTakesTheChosenFolder_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::optional<QString>>("chosen");
    QTest::addColumn<QString>("shown");

    QTest::addRow("starts at the typed folder, shows the chosen one as it comes")
        << "/srv/old" << std::optional<QString>("/srv/new") << "/srv/new";
    QTest::addRow("Cancel keeps the text") << "/srv/old" << std::optional<QString>() << "/srv/old";
    QTest::addRow("an empty field gives no start") << "" << std::optional<QString>("/srv/new") << "/srv/new";
}

void AdminConsoleTest::selectTakesTheChosenFolder()
{
    QFETCH(QString, typed);
    QFETCH(std::optional<QString>, chosen);
    QFETCH(QString, shown);

    ScriptedPrompts scripted;
    scripted.folderAnswers << chosen;
    UpdaterState state;
    state.update_path = QStringLiteral("/srv/current/");
    TForm5 form(state);
    form.Edit1->setText(typed);

    form.Button1Click();

    QCOMPARE(scripted.log, QStringList{"select directory: " + typed});
    QCOMPARE(form.Edit1->text(), shown);
    QCOMPARE(state.update_path, QStringLiteral("/srv/current/")); // only an export changes it
}

void AdminConsoleTest::versionControlsFollowTheSelection()
{
    ScriptedPrompts scripted;
    scripted.confirmAnswers << true;
    UpdaterState state;
    setUpdates(state, recordBytes(1, "Tool", "/a/", "3"));
    TForm5 form(state);
    form.fillFromState();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QWidgetList versionControls{form.Label1, form.Label2, form.SpinButton1, form.Button6};
    const auto shown = [&] {
        return std::all_of(versionControls.begin(), versionControls.end(), [](QWidget* w) { return w->isVisible(); });
    };
    const auto hidden = [&] {
        return std::none_of(versionControls.begin(), versionControls.end(), [](QWidget* w) { return w->isVisible(); });
    };
    QVERIFY(hidden());
    const QPoint exportAt = form.Button5->pos();

    form.CheckListBox1->setCurrentRow(0);
    QTRY_VERIFY(shown());
    QCOMPARE(form.Button5->pos(), exportAt);

    form.Delete1Click();
    QTRY_VERIFY(hidden());
    QCOMPARE(form.Button5->pos(), exportAt);
}

void AdminConsoleTest::enterAndEscapeDoNotClose()
{
    ScriptedPrompts scripted;
    UpdaterState state;
    TForm5 form(state);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    form.Button4->setFocus();
    QTest::keyClick(form.Button4, Qt::Key_Return);
    QTest::keyClick(form.Button4, Qt::Key_Escape);
    QVERIFY(form.isVisible());

    form.Button4Click();
    QVERIFY(!form.isVisible());
    QVERIFY(scripted.log.isEmpty());
}

void AdminConsoleTest::exportWritesSettingsThenTheList()
{
    QTemporaryDir application, share;
    const QString folder = share.filePath(QStringLiteral("Updates"));
    QVERIFY(QDir().mkdir(folder));
    ScriptedPrompts scripted;
    scripted.confirmAnswers << true;
    UpdaterState state;
    state.applicationpath = application.path() + QLatin1Char('/');
    // Records as read from an older "update.conf": their bytes behind the texts go back as
    // they came, and a complete byte of 2 counts as set.
    setUpdates(state, recordBytes(1, "Tool", "/a/", "5", 0, 'x') + recordBytes(2, "Tool", "/b/", "6", 1, 'y') +
                          recordBytes(3, "Other", "/c/", "2", 2, 'z') + recordBytes(4, "Viewer", "/d/", "1", 0, 'v'));
    TForm5 form(state);
    form.fillFromState();
    form.show();
    QCOMPARE(entryChecks(form), (QList<bool>{false, true, true, false}));
    setChecked(form, 0, true);  // the later Tool entry decides for both Tool records
    setChecked(form, 1, false);
    setChecked(form, 2, false);
    setChecked(form, 3, true);
    // A record without an entry of its name keeps its flag.
    state.updates.push_back(recordsFrom<upd>(recordBytes(5, "Lone", "/e/", "8", 2, 'w')).front());
    state.updatesdb = 5;
    form.Edit1->setText(folder);

    form.Button5Click();

    QCOMPARE(scripted.log, QStringList{"confirm: " + ExportQuestion});
    QCOMPARE(state.update_path, folder + QLatin1Char('/'));
    QCOMPARE(readFile(application.filePath(QStringLiteral("updater.conf"))), (folder + "/\r\n").toLatin1());
    QCOMPARE(readFile(folder + QStringLiteral("/update.conf")),
             recordBytes(1, "Tool", "/a/", "5", 0, 'x') + recordBytes(2, "Tool", "/b/", "6", 0, 'y') +
                 recordBytes(3, "Other", "/c/", "2", 0, 'z') + recordBytes(4, "Viewer", "/d/", "1", 1, 'v') +
                 recordBytes(5, "Lone", "/e/", "8", 2, 'w'));
    QCOMPARE(entriesOf(folder), QStringList{"update.conf"});
    QVERIFY(form.isVisible()); // the console stays open
}

void AdminConsoleTest::exportDoesNothingUnlessAskedAndConfirmed_data()
{
    QTest::addColumn<bool>("withFolder");
    QTest::addColumn<bool>("withEntries");
    QTest::addColumn<bool>("asked");

    QTest::addRow("empty folder field: no question") << false << true << false;
    QTest::addRow("empty list: no question") << true << false << false;
    QTest::addRow("No to the question") << true << true << true;
}

void AdminConsoleTest::exportDoesNothingUnlessAskedAndConfirmed()
{
    QFETCH(bool, withFolder);
    QFETCH(bool, withEntries);
    QFETCH(bool, asked);

    QTemporaryDir application, share;
    ScriptedPrompts scripted;
    scripted.confirmAnswers << false;
    UpdaterState state;
    state.applicationpath = application.path() + QLatin1Char('/');
    state.update_path = QStringLiteral("/srv/current/");
    if (withEntries)
        setUpdates(state, recordBytes(1, "Tool", "/a/", "5"));
    TForm5 form(state);
    form.fillFromState();
    form.Edit1->setText(withFolder ? share.path() : QString());

    form.Button5Click();

    QCOMPARE(scripted.log, asked ? QStringList{"confirm: " + ExportQuestion} : QStringList());
    QCOMPARE(state.update_path, QStringLiteral("/srv/current/"));
    QVERIFY(entriesOf(application.path()).isEmpty());
    QVERIFY(entriesOf(share.path()).isEmpty());
}

void AdminConsoleTest::exportToAFolderThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("folderBelowShare"); // the share's path and '/' go before it
    QTest::addColumn<int>("code");

    QTest::addRow("a path through a regular file") << "file/Updates" << 20; // ENOTDIR
    QTest::addRow("a folder that does not exist") << "missing/Updates" << 2; // ENOENT
    QTest::addRow("a 300-character folder") << QString(300, u'a') << 3;
}

void AdminConsoleTest::exportToAFolderThatCannotBeWritten()
{
    QFETCH(QString, folderBelowShare);
    QFETCH(int, code);

    QTemporaryDir application, share;
    writeFile(share.filePath(QStringLiteral("file")), "not a folder");
    const QString folder = (share.path() + QLatin1Char('/') + folderBelowShare).left(300);
    ScriptedPrompts scripted;
    scripted.confirmAnswers << true;
    UpdaterState state;
    state.applicationpath = application.path() + QLatin1Char('/');
    setUpdates(state, recordBytes(1, "Tool", "/a/", "5"));
    TForm5 form(state);
    form.fillFromState();
    form.show();
    setChecked(form, 0, true);
    form.Edit1->setText(folder);

    form.Button5Click();

    // "updater.conf" comes first and already names the folder; the check marks are in
    // memory; the list could not be written, and the console stays open.
    QCOMPARE(scripted.messages().size(), 1);
    const QString message = scripted.messages().constFirst();
    QVERIFY2(message.contains(folder + QStringLiteral("/update.conf")), qPrintable(message));
    QVERIFY2(message.endsWith(QStringLiteral("(I/O error %1)").arg(code)), qPrintable(message));
    QCOMPARE(state.update_path, folder + QLatin1Char('/'));
    QCOMPARE(readFile(application.filePath(QStringLiteral("updater.conf"))), (folder + "/\r\n").toLatin1());
    QCOMPARE(state.updates.front().complete, std::uint8_t{1});
    QCOMPARE(entriesOf(share.path()), QStringList{"file"});
    QVERIFY(form.isVisible());
}

void AdminConsoleTest::exportRefusedKeepsTheOldList()
{
    // The update folder belongs to root and may only be read by others; the export runs as
    // nobody, who may write the executable's folder.
    QTemporaryDir application, share;
    QVERIFY(QFile::setPermissions(application.path(), QFile::Permissions(0x7777)));
    QVERIFY(QFile::setPermissions(share.path(), QFile::Permissions(0x7755)));
    const QByteArray oldList = recordBytes(1, "Tool", "/a/", "4", 1, 'x');
    const QString oldFile = share.filePath(QStringLiteral("update.conf"));
    writeFile(oldFile, oldList);
    ScriptedPrompts scripted;
    scripted.confirmAnswers << true;
    UpdaterState state;
    state.applicationpath = application.path() + QLatin1Char('/');
    setUpdates(state, recordBytes(1, "Tool", "/a/", "5") + recordBytes(2, "Other", "/b/", "2"));
    TForm5 form(state);
    form.fillFromState();
    form.Edit1->setText(share.path());

    const QString shownFile = application.filePath(QStringLiteral("shown.txt"));
    ChildLimits asNobody;
    asNobody.asNobody = true;
    const int status = runInChild(
        [&] {
            form.Button5Click();
            QFile shown(shownFile);
            if (!shown.open(QIODevice::WriteOnly) || shown.write(scripted.messages().join('\n').toUtf8()) < 0)
                throw std::runtime_error("cannot record the messages");
        },
        asNobody);

    QCOMPARE(status, 0);
    const QString message = QString::fromUtf8(readFile(shownFile));
    QVERIFY2(message.contains(oldFile) && message.endsWith(QStringLiteral("(I/O error 13)")), qPrintable(message));
    QCOMPARE(readFile(oldFile), oldList);
    QCOMPARE(entriesOf(share.path()), QStringList{"update.conf"});
    QCOMPARE(readFile(application.filePath(QStringLiteral("updater.conf"))), (share.path() + "/\r\n").toLatin1());
}

QTEST_MAIN(AdminConsoleTest)
#include "AdminConsoleTest.moc"
