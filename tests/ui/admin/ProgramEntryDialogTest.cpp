#include "store/Records.h"
#include "tests/support/Fixtures.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/ui/admin/ProgramListFixture.h"
#include "ui/admin/TForm3.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <optional>

using VersionFile = std::optional<QByteArray>; // nothing: no "version.info" in the folder

class ProgramEntryDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void getIndex_data();
    void getIndex();
    void pickingAnExecutable_data();
    void pickingAnExecutable();
    void versionFileStaysWhenCancelled();
    void versionFileThatCannotBeMade_data();
    void versionFileThatCannotBeMade();
    void addAppendsWithoutLookingAtIds_data();
    void addAppendsWithoutLookingAtIds();
    void editReplacesInPlace();
    void editReplacesTheRecordPickedAmongEqualIds();
    void editOfAnIdNoLongerInTheList();
    void failedSaveLeavesTheListAsItWas_data();
    void failedSaveLeavesTheListAsItWas();
    void idThatIsNotAnInteger();
};

void ProgramEntryDialogTest::initTestCase()
{
    // Record bytes below are those of the Western code page.
    qputenv("LC_ALL", "C");
}

void ProgramEntryDialogTest::getIndex_data()
{
    QTest::addColumn<QList<std::int32_t>>("ids");
    QTest::addColumn<std::int32_t>("id");
    QTest::addColumn<int>("index");

    QTest::addRow("empty list") << QList<std::int32_t>{} << 1 << -1;
    QTest::addRow("only entry") << QList<std::int32_t>{1} << 1 << 0;
    QTest::addRow("ids 3, 5, 3: the last 3 wins") << QList<std::int32_t>{3, 5, 3} << 3 << 2;
    QTest::addRow("ids 3, 5, 3: 5 in the middle") << QList<std::int32_t>{3, 5, 3} << 5 << 1;
    QTest::addRow("id not in the list") << QList<std::int32_t>{3, 5, 3} << 4 << -1;
    QTest::addRow("negative id") << QList<std::int32_t>{-1, 0} << -1 << 0;
}

void ProgramEntryDialogTest::getIndex()
{
    QFETCH(QList<std::int32_t>, ids);
    QFETCH(std::int32_t, id);
    QFETCH(int, index);

    std::vector<prog> programok;
    for (const std::int32_t each : ids) {
        programok.push_back(zeroRecord<prog>());
        programok.back().id = each;
    }
    QCOMPARE(GetIndex(programok, id), index);
}

// Select, then Add: what the dialog shows and what the stored record holds.
void ProgramEntryDialogTest::pickingAnExecutable_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<VersionFile>("versionFile");
    QTest::addColumn<QString>("shownName");
    QTest::addColumn<QString>("shownVersion");
    QTest::addColumn<QByteArray>("storedName");
    QTest::addColumn<QByteArray>("storedVersion");

    const VersionFile none;
    const QString longName(296, u'a');
    QTest::addRow("no version file: one holding 1 is created")
        << "tool.exe" << none << "tool" << "1" << QByteArray("tool") << QByteArray("1");
    QTest::addRow("version 12 CR LF, a second line ignored")
        << "tool.exe" << VersionFile("12\r\n13\r\n") << "tool" << "12" << QByteArray("tool") << QByteArray("12");
    QTest::addRow("first line of 14 characters: shown whole, stored cut to 10")
        << "tool.exe" << VersionFile("12345678901234\r\n") << "tool" << "12345678901234" << QByteArray("tool")
        << QByteArray("1234567890");
    QTest::addRow("first line of 100,000 characters")
        << "tool.exe" << VersionFile(QByteArray(100000, '9')) << "tool" << QString(100000, u'9') << QByteArray("tool")
        << QByteArray(10, '9');
    QTest::addRow("no line end") << "tool.exe" << VersionFile("7") << "tool" << "7" << QByteArray("tool")
                                 << QByteArray("7");
    QTest::addRow("Ctrl-Z ends the text")
        << "tool.exe" << VersionFile("7\x1a" "8\r\n") << "tool" << "7" << QByteArray("tool") << QByteArray("7");
    QTest::addRow("byte-order mark read as characters of the line")
        << "tool.exe" << VersionFile("\xEF\xBB\xBF" "5\r\n") << "tool" << QString::fromUtf8("\u00EF\u00BB\u00BF5")
        << QByteArray("tool") << QByteArray("\xEF\xBB\xBF" "5");
    QTest::addRow("empty version file") << "tool.exe" << VersionFile("") << "tool" << "" << QByteArray("tool")
                                        << QByteArray();
    QTest::addRow("upper-case extension") << "TOOL.EXE" << none << "TOOL" << "1" << QByteArray("TOOL")
                                          << QByteArray("1");
    QTest::addRow("a.exe gives a") << "a.exe" << none << "a" << "1" << QByteArray("a") << QByteArray("1");
    QTest::addRow("a name of four characters gives an empty name")
        << ".exe" << none << "" << "1" << QByteArray() << QByteArray("1");
    QTest::addRow("a name of three characters gives an empty name")
        << "abc" << none << "" << "1" << QByteArray() << QByteArray("1");
    QTest::addRow("a name of 296 characters is stored cut to 255")
        << longName + ".exe" << none << longName << "1" << QByteArray(255, 'a') << QByteArray("1");
    QTest::addRow("non-ASCII name the code page holds")
        << QString::fromUtf8("T\u00EBst.exe") << none << QString::fromUtf8("T\u00EBst") << "1"
        << QByteArray("T\xEBst") << QByteArray("1");
    QTest::addRow("non-ASCII name the code page cannot hold")
        << QString::fromUtf8("\u5DE5\u5177.exe") << none << QString::fromUtf8("\u5DE5\u5177") << "1"
        << QByteArray("??") << QByteArray("1");
}

void ProgramEntryDialogTest::pickingAnExecutable()
{
    QFETCH(QString, fileName);
    QFETCH(VersionFile, versionFile);
    QFETCH(QString, shownName);
    QFETCH(QString, shownVersion);
    QFETCH(QByteArray, storedName);
    QFETCH(QByteArray, storedVersion);

    ProgramListFixture fixture;
    QTemporaryDir programFolder;
    const QString folder = programFolder.path() + QLatin1Char('/');
    if (versionFile)
        writeFile(folder + "version.info", *versionFile);

    ScriptedPrompts prompts;
    prompts.executableAnswers << folder + fileName;
    TForm3 dialog(fixture.state);
    dialog.Label1->setText(QStringLiteral("4"));
    dialog.Button1Click();

    QCOMPARE(prompts.log, QStringList{"open executable"});
    QCOMPARE(dialog.LabeledEdit1->text(), shownName);
    QCOMPARE(dialog.LabeledEdit2->text(), folder);
    QCOMPARE(dialog.LabeledEdit3->text(), shownVersion);
    QCOMPARE(readFile(folder + "version.info"), versionFile.value_or("1\r\n"));

    dialog.Button3Click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(fixture.programsFileBytes(), recordBytes(4, storedName, folder.toUtf8(), storedVersion));
    QCOMPARE(fixture.state.programokdb, 1);
}

void ProgramEntryDialogTest::versionFileStaysWhenCancelled()
{
    ProgramListFixture fixture;
    fixture.loadPrograms({programRecord(1, "Old")});
    QTemporaryDir programFolder;

    ScriptedPrompts prompts;
    prompts.executableAnswers << programFolder.filePath("tool.exe") << QString(); // the second Select is cancelled
    TForm3 dialog(fixture.state);
    dialog.Label1->setText(QStringLiteral("2"));
    dialog.show();
    dialog.Button1Click();
    dialog.Button1Click();
    QCOMPARE(dialog.LabeledEdit1->text(), QStringLiteral("tool"));
    dialog.Button2Click();

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(readFile(programFolder.filePath("version.info")), QByteArray("1\r\n"));
    QCOMPARE(fixture.ids(), QList<std::int32_t>{1});
    QCOMPARE(fixture.programsFileBytes(), programRecord(1, "Old"));
}

// The error is shown; the name is already derived, the path still shows the executable and
// the version keeps its text; the list is untouched and another executable can be picked.
void ProgramEntryDialogTest::versionFileThatCannotBeMade_data()
{
    QTest::addColumn<QString>("subfolder"); // under a temporary folder, created unless it passes a file
    QTest::addColumn<QString>("errorPart");

    QTest::addRow("folder reached through a regular file") << "file.txt/Tool" << "Not a directory";
    QTest::addRow("version.info is a folder") << "Tool" << "Is a directory";
    QTest::addRow("version file name over 259 characters") << QString(250, u'f') << "(I/O error 3)";
}

void ProgramEntryDialogTest::versionFileThatCannotBeMade()
{
    QFETCH(QString, subfolder);
    QFETCH(QString, errorPart);

    ProgramListFixture fixture;
    QTemporaryDir root;
    writeFile(root.filePath("file.txt"), "not a folder");
    QDir(root.path()).mkpath("Tool/version.info");
    const QString executable = root.path() + '/' + subfolder + "/tool.exe";

    ScriptedPrompts prompts;
    prompts.executableAnswers << executable << root.filePath("good/other.exe");
    TForm3 dialog(fixture.state);
    dialog.Label1->setText(QStringLiteral("1"));
    dialog.LabeledEdit3->setText(QStringLiteral("previous"));
    dialog.show();
    dialog.Button1Click();

    QCOMPARE(prompts.messages().size(), 1);
    QVERIFY2(prompts.messages().constFirst().contains("version.info"), qPrintable(prompts.messages().constFirst()));
    QVERIFY2(prompts.messages().constFirst().contains(errorPart), qPrintable(prompts.messages().constFirst()));
    QCOMPARE(dialog.LabeledEdit1->text(), QStringLiteral("tool"));
    QCOMPARE(dialog.LabeledEdit2->text(), executable);
    QCOMPARE(dialog.LabeledEdit3->text(), QStringLiteral("previous"));
    QVERIFY(dialog.isVisible());
    QVERIFY(fixture.state.programok.empty());

    QDir(root.path()).mkpath("good");
    dialog.Button1Click();
    QCOMPARE(dialog.LabeledEdit1->text(), QStringLiteral("other"));
    QCOMPARE(dialog.LabeledEdit3->text(), QStringLiteral("1"));
    QCOMPARE(prompts.messages().size(), 1);
}

void ProgramEntryDialogTest::addAppendsWithoutLookingAtIds_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QList<std::int32_t>>("idsAfter");

    QTest::addRow("a new id") << "3" << QList<std::int32_t>{1, 2, 3};
    QTest::addRow("an id already in the list: a second record") << "2" << QList<std::int32_t>{1, 2, 2};
}

// Nothing picked: the record is built from what the dialog shows, every other byte zero.
void ProgramEntryDialogTest::addAppendsWithoutLookingAtIds()
{
    QFETCH(QString, id);
    QFETCH(QList<std::int32_t>, idsAfter);

    ProgramListFixture fixture;
    fixture.loadPrograms({programRecord(1, "One"), programRecord(2, "Two")});
    ScriptedPrompts prompts;
    TForm3 dialog(fixture.state);
    dialog.Label1->setText(id);
    dialog.Button3Click();

    QCOMPARE(fixture.ids(), idsAfter);
    QCOMPARE(fixture.state.programokdb, 3);
    QCOMPARE(fixture.programsFileBytes(),
             programRecord(1, "One") + programRecord(2, "Two") + recordBytes(id.toInt(), "", "", ""));
    QVERIFY(prompts.log.isEmpty());
}

void ProgramEntryDialogTest::editReplacesInPlace()
{
    ProgramListFixture fixture;
    // Meaningless bytes behind the texts: the replaced record is built from zero bytes.
    fixture.loadPrograms({programRecord(1, "One"), recordBytes(2, "Two", "/apps/Two/", "1", 9, 'x'),
                          programRecord(3, "Three")});
    ScriptedPrompts prompts;
    TForm3 dialog(fixture.state);
    dialog.Label1->setText(QStringLiteral("2"));
    dialog.LabeledEdit1->setText(QStringLiteral("Second"));
    dialog.LabeledEdit2->setText(QStringLiteral("/opt/Second/"));
    dialog.LabeledEdit3->setText(QStringLiteral("8"));
    dialog.Button3->setText(QStringLiteral("Edit"));
    dialog.Button3Click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(fixture.state.programokdb, 3);
    QCOMPARE(fixture.programsFileBytes(),
             programRecord(1, "One") + recordBytes(2, "Second", "/opt/Second/", "8") + programRecord(3, "Three"));
}

void ProgramEntryDialogTest::editReplacesTheRecordPickedAmongEqualIds()
{
    ProgramListFixture fixture;
    fixture.loadPrograms({programRecord(3, "First"), programRecord(3, "Second")});
    ScriptedPrompts prompts;
    TForm3 dialog(fixture.state);
    dialog.Label1->setText(QStringLiteral("3"));
    dialog.LabeledEdit1->setText(QStringLiteral("Renamed"));
    dialog.Button3->setText(QStringLiteral("Edit"));
    dialog.setEditedPosition(0);
    dialog.Button3Click();

    QCOMPARE(fixture.names(), (QStringList{"Renamed", "Second"}));
}

// The list changed under the dialog: the user is told, nothing is written, the dialog stays.
void ProgramEntryDialogTest::editOfAnIdNoLongerInTheList()
{
    ProgramListFixture fixture;
    fixture.loadPrograms({programRecord(1, "One"), programRecord(2, "Two")});
    ScriptedPrompts prompts;
    for (const bool pinned : {false, true}) {
        TForm3 dialog(fixture.state);
        dialog.Label1->setText(QStringLiteral("5"));
        dialog.Button3->setText(QStringLiteral("Edit"));
        if (pinned)
            dialog.setEditedPosition(1);
        dialog.show();
        dialog.Button3Click();
        QVERIFY(dialog.isVisible());
    }
    QCOMPARE(prompts.messages(),
             QStringList(2, QStringLiteral("Cant find this entry in the database")));
    QCOMPARE(fixture.ids(), (QList<std::int32_t>{1, 2}));
    QCOMPARE(fixture.programsFileBytes(), programRecord(1, "One") + programRecord(2, "Two"));
}

void ProgramEntryDialogTest::failedSaveLeavesTheListAsItWas_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addRow("Add") << "Add";
    QTest::addRow("Edit") << "Edit";
}

// A failed write of "programs.conf" is shown, the dialog stays open and the list is as it
// was, so that pressing the button again after the cause is gone enters the program once.
void ProgramEntryDialogTest::failedSaveLeavesTheListAsItWas()
{
    QFETCH(QString, mode);

    ProgramListFixture fixture;
    fixture.loadPrograms({programRecord(1, "One")});
    const QString applicationpath = fixture.state.applicationpath;
    writeFile(fixture.folder.filePath("file.txt"), "not a folder");
    fixture.state.applicationpath = fixture.folder.filePath("file.txt") + '/';

    ScriptedPrompts prompts;
    TForm3 dialog(fixture.state);
    dialog.Label1->setText(QStringLiteral("1"));
    dialog.LabeledEdit1->setText(QStringLiteral("Entered"));
    dialog.Button3->setText(mode);
    dialog.show();
    dialog.Button3Click();

    QCOMPARE(prompts.messages().size(), 1);
    QVERIFY2(prompts.messages().constFirst().contains("programs.conf"), qPrintable(prompts.messages().constFirst()));
    QVERIFY(dialog.isVisible());
    QCOMPARE(fixture.names(), QStringList{"One"});
    QCOMPARE(fixture.state.programokdb, 1);

    fixture.state.applicationpath = applicationpath;
    dialog.Button3Click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(fixture.names(), mode == "Add" ? (QStringList{"One", "Entered"}) : QStringList{"Entered"});
    QCOMPARE(fixture.programsFileBytes().size(), 528 * fixture.state.programokdb);
}

void ProgramEntryDialogTest::idThatIsNotAnInteger()
{
    ProgramListFixture fixture;
    ScriptedPrompts prompts;
    TForm3 dialog(fixture.state);
    dialog.Label1->setText(QStringLiteral("abc"));
    dialog.Button3Click();

    QCOMPARE(prompts.messages(), QStringList{"''abc'' is not a valid integer value"});
    QVERIFY(fixture.state.programok.empty());
    QVERIFY(!QFile::exists(fixture.programsFile()));
}

QTEST_MAIN(ProgramEntryDialogTest)
#include "ProgramEntryDialogTest.moc"
