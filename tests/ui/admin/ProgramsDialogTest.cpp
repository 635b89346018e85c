#include "tests/support/Fixtures.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/ui/admin/ProgramListFixture.h"
#include "ui/admin/ProgramsDialogOpener.h"
#include "ui/admin/TForm2.h"
#include "ui/admin/TForm3.h"

#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using Rows = QList<QStringList>;
using Ids = QList<std::int32_t>;

namespace {

// What the grid shows, row by row.
Rows rowsOf(const TForm2& dialog)
{
    Rows rows;
    const QTableWidget& grid = *dialog.AdvStringGrid1;
    for (int row = 0; row < grid.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid.columnCount(); ++column)
            cells << (grid.item(row, column) ? grid.item(row, column)->text() : QString());
        rows << cells;
    }
    return rows;
}

QStringList programRow(std::int32_t id, const QString& name, const QString& version = "1")
{
    return {QString::number(id), name, "/apps/" + name + "/", version};
}

const QStringList BlankRow(4, QString());

void fill(TForm2& dialog)
{
    dialog.LoadPrograms();
    dialog.ChangeLabel1();
}

} // namespace

class ProgramsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void fillAndTotals_data();
    void fillAndTotals();
    void newProposesTheIdAfterTheLast_data();
    void newProposesTheIdAfterTheLast();
    void newConfirmedAddsTheRowAtTheBottom();
    void editReplacesTheRowInPlace_data();
    void editReplacesTheRowInPlace();
    void editOnTheEmptyGridDoesNothing();
    void deleteRemovesTheSelectedProgram_data();
    void deleteRemovesTheSelectedProgram();
    void deleteOfAProgramNoLongerInTheList();
    void emptyRemovesEveryProgram_data();
    void emptyRemovesEveryProgram();
    void closingAfterDelete_data();
    void closingAfterDelete();
    void saveAndCloseThatCannotWrite();
    void hoverEffect_data();
    void hoverEffect();
    void openerShowsTheDialogBesideTheMainWindow();
};

void ProgramsDialogTest::fillAndTotals_data()
{
    QTest::addColumn<QList<QByteArray>>("records");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("totals");

    QTest::addRow("no program: one blank row") << QList<QByteArray>{} << Rows{BlankRow} << "Totally 0 programs";
    QTest::addRow("one program") << QList<QByteArray>{programRecord(1, "Tool")} << Rows{programRow(1, "Tool")}
                                 << "Totally 1 program";
    QTest::addRow("three programs in list order")
        << QList<QByteArray>{programRecord(5, "Beta", "12"), programRecord(2, "Alpha"), programRecord(9, "Gamma", "3")}
        << Rows{programRow(5, "Beta", "12"), programRow(2, "Alpha"), programRow(9, "Gamma", "3")}
        << "Totally 3 programs";
}

void ProgramsDialogTest::fillAndTotals()
{
    QFETCH(QList<QByteArray>, records);
    QFETCH(Rows, rows);
    QFETCH(QString, totals);

    ProgramListFixture fixture;
    fixture.loadPrograms(records);
    TForm2 dialog(fixture.state);
    fill(dialog);

    QCOMPARE(rowsOf(dialog), rows);
    QCOMPARE(dialog.Label1->text(), totals);
    QCOMPARE(dialog.currentProgramRow(), 0);
    if (!records.isEmpty()) { // numbers right-aligned, texts left-aligned
        const QTableWidget& grid = *dialog.AdvStringGrid1;
        QVERIFY(grid.item(0, 0)->textAlignment() & Qt::AlignRight);
        QVERIFY(grid.item(0, 1)->textAlignment() & Qt::AlignLeft);
        QVERIFY(grid.item(0, 3)->textAlignment() & Qt::AlignRight);
    }
}

void ProgramsDialogTest::newProposesTheIdAfterTheLast_data()
{
    QTest::addColumn<Ids>("ids");
    QTest::addColumn<bool>("deleteLastFirst");
    QTest::addColumn<QString>("proposed");

    QTest::addRow("empty list") << Ids{} << false << "1";
    QTest::addRow("ids 1, 2, 7") << Ids{1, 2, 7} << false << "8";
    QTest::addRow("ids 1, 2, 7 after deleting 7") << Ids{1, 2, 7} << true << "3";
    QTest::addRow("the last id counts, not the largest") << Ids{9, 4} << false << "5";
    QTest::addRow("after the largest integer: not wrapped round") << Ids{2147483647} << false << "2147483648";
}

// Cancelled each time: grid, list and file stay as they were.
void ProgramsDialogTest::newProposesTheIdAfterTheLast()
{
    QFETCH(Ids, ids);
    QFETCH(bool, deleteLastFirst);
    QFETCH(QString, proposed);

    ProgramListFixture fixture;
    QList<QByteArray> records;
    for (const std::int32_t id : ids)
        records << programRecord(id, "P" + QByteArray::number(id));
    fixture.loadPrograms(records);
    ScriptedPrompts prompts;
    TForm2 dialog(fixture.state);
    fill(dialog);
    dialog.move(200, 100);
    if (deleteLastFirst) {
        dialog.AdvStringGrid1->setCurrentCell(dialog.AdvStringGrid1->rowCount() - 1, 0);
        prompts.confirmAnswers << true;
        dialog.Button5Click();
    }
    const Rows before = rowsOf(dialog);
    const QString totals = dialog.Label1->text();

    WhenDialogShows<TForm3> entry(Form3, [&](TForm3& form) {
        QCOMPARE(form.Label1->text(), proposed);
        QCOMPARE(form.Button3->text(), QStringLiteral("Add"));
        QCOMPARE(form.windowTitle(), QStringLiteral("New program"));
        QVERIFY(form.LabeledEdit1->text().isEmpty() && form.LabeledEdit2->text().isEmpty() &&
                form.LabeledEdit3->text().isEmpty());
        QCOMPARE(form.pos(), QPoint(210, 110));
        form.Button2Click();
    });
    dialog.Button1Click();

    QVERIFY(entry.shown);
    QCOMPARE(Form3, nullptr);
    QCOMPARE(rowsOf(dialog), before);
    QCOMPARE(dialog.Label1->text(), totals);
    QCOMPARE(fixture.programsFileBytes(), records.join());
}

void ProgramsDialogTest::newConfirmedAddsTheRowAtTheBottom()
{
    ProgramListFixture fixture;
    fixture.loadPrograms({programRecord(1, "One"), programRecord(2, "Two")});
    QTemporaryDir programFolder;
    const QString folder = programFolder.path() + '/';
    ScriptedPrompts prompts;
    prompts.executableAnswers << folder + "Tool.exe";
    TForm2 dialog(fixture.state);
    fill(dialog);

    WhenDialogShows<TForm3> entry(Form3, [](TForm3& form) {
        form.Button1Click();
        form.Button3Click();
    });
    dialog.Button1Click();

    QVERIFY(entry.shown);
    QCOMPARE(rowsOf(dialog), (Rows{programRow(1, "One"), programRow(2, "Two"), {"3", "Tool", folder, "1"}}));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("Totally 3 programs"));
    QCOMPARE(fixture.programsFileBytes(),
             programRecord(1, "One") + programRecord(2, "Two") + recordBytes(3, "Tool", folder.toUtf8(), "1"));
}

void ProgramsDialogTest::editReplacesTheRowInPlace_data()
{
    QTest::addColumn<bool>("pickAnother");
    QTest::addRow("confirmed without picking another executable") << false;
    QTest::addRow("after picking another executable") << true;
}

// The records carry bytes behind their texts: the edited one is written back from zero
// bytes, the others as they were read, in their order.
void ProgramsDialogTest::editReplacesTheRowInPlace()
{
    QFETCH(bool, pickAnother);

    ProgramListFixture fixture;
    const QByteArray first = recordBytes(1, "One", "/apps/One/", "1", 7, 'x');
    const QByteArray third = recordBytes(3, "Three", "/apps/Three/", "1", 7, 'x');
    fixture.loadPrograms({first, recordBytes(2, "Two", "/apps/Two/", "4", 7, 'x'), third});
    QTemporaryDir programFolder;
    const QString folder = programFolder.path() + '/';
    writeFile(folder + "version.info", "6\r\n");
    ScriptedPrompts prompts;
    prompts.executableAnswers << folder + "Other.exe";
    TForm2 dialog(fixture.state);
    fill(dialog);
    dialog.AdvStringGrid1->setCurrentCell(1, 2);

    WhenDialogShows<TForm3> entry(Form3, [&](TForm3& form) {
        QCOMPARE(form.Label1->text(), QStringLiteral("2"));
        QCOMPARE(form.LabeledEdit1->text(), QStringLiteral("Two"));
        QCOMPARE(form.LabeledEdit2->text(), QStringLiteral("/apps/Two/"));
        QCOMPARE(form.LabeledEdit3->text(), QStringLiteral("4"));
        QCOMPARE(form.Button3->text(), QStringLiteral("Edit"));
        if (pickAnother)
            form.Button1Click();
        form.Button3Click();
    });
    dialog.Button2Click();

    QVERIFY(entry.shown);
    const QStringList edited = pickAnother ? QStringList{"2", "Other", folder, "6"} : programRow(2, "Two", "4");
    QCOMPARE(rowsOf(dialog), (Rows{programRow(1, "One"), edited, programRow(3, "Three")}));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("Totally 3 programs"));
    QCOMPARE(dialog.currentProgramRow(), 1);
    QCOMPARE(fixture.programsFileBytes(),
             first + recordBytes(2, edited[1].toUtf8(), edited[2].toUtf8(), edited[3].toUtf8()) + third);
}

void ProgramsDialogTest::editOnTheEmptyGridDoesNothing()
{
    ProgramListFixture fixture;
    ScriptedPrompts prompts;
    TForm2 dialog(fixture.state);
    fill(dialog);

    WhenDialogShows<TForm3> entry(Form3, [](TForm3&) {});
    dialog.Button2Click();
    QTest::qWait(10);

    QVERIFY(!entry.shown);
    QVERIFY(prompts.log.isEmpty());
    QCOMPARE(rowsOf(dialog), Rows{BlankRow});
}

void ProgramsDialogTest::deleteRemovesTheSelectedProgram_data()
{
    QTest::addColumn<QList<QByteArray>>("records");
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("namesAfter");
    QTest::addColumn<Rows>("rowsAfter");
    QTest::addColumn<QString>("totals");
    QTest::addColumn<QStringList>("log");

    const QString ask = "confirm: Do you really want to delete this item?";
    const QList<QByteArray> three{programRecord(1, "A"), programRecord(2, "B"), programRecord(3, "C")};
    const Rows threeRows{programRow(1, "A"), programRow(2, "B"), programRow(3, "C")};

    QTest::addRow("answered No") << three << 1 << QList<bool>{false} << QStringList{"A", "B", "C"} << threeRows
                                 << "Totally 3 programs" << QStringList{ask};
    QTest::addRow("the only program") << QList<QByteArray>{programRecord(1, "A")} << 0 << QList<bool>{true}
                                      << QStringList{} << Rows{BlankRow} << "Totally 0 programs" << QStringList{ask};
    QTest::addRow("the middle of three") << three << 1 << QList<bool>{true} << QStringList{"A", "C"}
                                         << Rows{programRow(1, "A"), programRow(3, "C")} << "Totally 2 programs"
                                         << QStringList{ask};
    QTest::addRow("the first of two records with one id")
        << QList<QByteArray>{programRecord(3, "First"), programRecord(3, "Second")} << 0 << QList<bool>{true}
        << QStringList{"Second"} << Rows{programRow(3, "Second")} << "Totally 1 program" << QStringList{ask};
    QTest::addRow("the empty grid") << QList<QByteArray>{} << 0 << QList<bool>{} << QStringList{} << Rows{BlankRow}
                                    << "Totally 0 programs" << QStringList{"message: There is nothing to delete!"};
}

void ProgramsDialogTest::deleteRemovesTheSelectedProgram()
{
    QFETCH(QList<QByteArray>, records);
    QFETCH(int, row);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, namesAfter);
    QFETCH(Rows, rowsAfter);
    QFETCH(QString, totals);
    QFETCH(QStringList, log);

    ProgramListFixture fixture;
    fixture.loadPrograms(records);
    ScriptedPrompts prompts;
    prompts.confirmAnswers.append(answers);
    TForm2 dialog(fixture.state);
    fill(dialog);
    dialog.AdvStringGrid1->setCurrentCell(row, 1);
    dialog.Button5Click();

    QCOMPARE(prompts.log, log);
    QCOMPARE(fixture.names(), namesAfter);
    QCOMPARE(fixture.state.programokdb, namesAfter.size());
    QCOMPARE(rowsOf(dialog), rowsAfter);
    QCOMPARE(dialog.Label1->text(), totals);
    QCOMPARE(fixture.programsFileBytes(), records.join());
}

// The list changed behind the dialog: the user is told, and the grid shows what the list holds.
void ProgramsDialogTest::deleteOfAProgramNoLongerInTheList()
{
    ProgramListFixture fixture;
    fixture.loadPrograms({programRecord(1, "A"), programRecord(2, "B")});
    ScriptedPrompts prompts;
    prompts.confirmAnswers << true;
    TForm2 dialog(fixture.state);
    fill(dialog);
    fixture.state.programok.pop_back();
    fixture.state.programokdb = 1;
    dialog.AdvStringGrid1->setCurrentCell(1, 0);
    dialog.Button5Click();

    QCOMPARE(prompts.messages(), QStringList{"Cant find this entry in the database"});
    QCOMPARE(fixture.names(), QStringList{"A"});
    QCOMPARE(rowsOf(dialog), Rows{programRow(1, "A")});
    QCOMPARE(dialog.Label1->text(), QStringLiteral("Totally 1 program"));
}

void ProgramsDialogTest::emptyRemovesEveryProgram_data()
{
    QTest::addColumn<QList<QByteArray>>("records");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("namesAfter");
    QTest::addColumn<QString>("totals");
    QTest::addColumn<QStringList>("log");

    const QString ask = "confirm: Do you really want to empty the database?";
    const QList<QByteArray> two{programRecord(1, "A"), programRecord(2, "B")};
    QTest::addRow("answered Yes") << two << QList<bool>{true} << QStringList{} << "Totally 0 programs"
                                  << QStringList{ask};
    QTest::addRow("answered No") << two << QList<bool>{false} << QStringList{"A", "B"} << "Totally 2 programs"
                                 << QStringList{ask};
    QTest::addRow("the empty grid") << QList<QByteArray>{} << QList<bool>{} << QStringList{} << "Totally 0 programs"
                                    << QStringList{"message: There is nothing to delete"};
}

void ProgramsDialogTest::emptyRemovesEveryProgram()
{
    QFETCH(QList<QByteArray>, records);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, namesAfter);
    QFETCH(QString, totals);
    QFETCH(QStringList, log);

    ProgramListFixture fixture;
    fixture.loadPrograms(records);
    ScriptedPrompts prompts;
    prompts.confirmAnswers.append(answers);
    TForm2 dialog(fixture.state);
    fill(dialog);
    dialog.Button6Click();

    QCOMPARE(prompts.log, log);
    QCOMPARE(fixture.names(), namesAfter);
    QCOMPARE(fixture.state.programokdb, namesAfter.size());
    QCOMPARE(rowsOf(dialog).size(), std::max<qsizetype>(1, namesAfter.size()));
    QCOMPARE(dialog.Label1->text(), totals);
    QCOMPARE(fixture.programsFileBytes(), records.join());
}

void ProgramsDialogTest::closingAfterDelete_data()
{
    QTest::addColumn<bool>("save");
    QTest::addRow("Close leaves programs.conf as it was") << false;
    QTest::addRow("Save && Close writes the list without the program") << true;
}

void ProgramsDialogTest::closingAfterDelete()
{
    QFETCH(bool, save);

    ProgramListFixture fixture;
    const QList<QByteArray> records{programRecord(1, "A"), programRecord(2, "B"), programRecord(3, "C")};
    fixture.loadPrograms(records);
    ScriptedPrompts prompts;
    prompts.confirmAnswers << true;
    TForm2 dialog(fixture.state);
    fill(dialog);
    dialog.show();
    dialog.AdvStringGrid1->setCurrentCell(0, 0);
    dialog.Button5Click();
    save ? dialog.Button4Click() : dialog.Button3Click();

    QVERIFY(!dialog.isVisible());
    QCOMPARE(fixture.names(), (QStringList{"B", "C"}));
    QCOMPARE(fixture.programsFileBytes(), save ? records[1] + records[2] : records.join());
}

void ProgramsDialogTest::saveAndCloseThatCannotWrite()
{
    ProgramListFixture fixture;
    fixture.loadPrograms({programRecord(1, "A")});
    writeFile(fixture.folder.filePath("file.txt"), "not a folder");
    fixture.state.applicationpath = fixture.folder.filePath("file.txt") + '/';
    ScriptedPrompts prompts;
    TForm2 dialog(fixture.state);
    fill(dialog);
    dialog.show();
    dialog.Button4Click();

    QCOMPARE(prompts.messages().size(), 1);
    QVERIFY2(prompts.messages().constFirst().contains("programs.conf"), qPrintable(prompts.messages().constFirst()));
    QVERIFY(dialog.isVisible());
    QCOMPARE(fixture.names(), QStringList{"A"});
}

void ProgramsDialogTest::hoverEffect_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("hovers");

    QTest::addRow("New") << "New" << true;
    QTest::addRow("Edit") << "Edit" << true;
    QTest::addRow("Close") << "Close" << true;
    QTest::addRow("Save && Close") << "Save && Close" << true;
    QTest::addRow("Delete has none") << "Delete" << false;
    QTest::addRow("Empty has none") << "Empty" << false;
}

void ProgramsDialogTest::hoverEffect()
{
    QFETCH(QString, caption);
    QFETCH(bool, hovers);

    ProgramListFixture fixture;
    TForm2 dialog(fixture.state);
    QPushButton* button = nullptr;
    for (QPushButton* each : dialog.findChildren<QPushButton*>())
        if (each->text() == caption)
            button = each;
    QVERIFY(button);
    const QColor normal = button->palette().color(QPalette::ButtonText);

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(button, &enter);
    QCOMPARE(button->palette().color(QPalette::ButtonText), hovers ? QColor(0, 0, 255) : normal);
    QCOMPARE(button->font().bold(), hovers);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    QCOMPARE(button->palette().color(QPalette::ButtonText), hovers ? QColor(0, 0, 0) : normal);
    QVERIFY(!button->font().bold());
}

// Placed 10 pixels right of and below the opener, and the entry dialog 10 pixels right of
// and below it; the global designates the dialog only while it is shown.
void ProgramsDialogTest::openerShowsTheDialogBesideTheMainWindow()
{
    ProgramListFixture fixture;
    fixture.loadPrograms({programRecord(1, "A"), programRecord(2, "B")});
    ScriptedPrompts prompts;
    QWidget opener;
    opener.move(100, 120);
    opener.show();

    bool entryShown = false;
    WhenDialogShows<TForm2> programs(Form2, [&](TForm2& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Programs"));
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.pos(), QPoint(110, 130));
        QCOMPARE(rowsOf(dialog), (Rows{programRow(1, "A"), programRow(2, "B")}));
        QCOMPARE(dialog.Label1->text(), QStringLiteral("Totally 2 programs"));

        WhenDialogShows<TForm3> entry(Form3, [&](TForm3& form) {
            QVERIFY(form.isModal());
            QCOMPARE(form.pos(), QPoint(120, 140));
            form.Button2Click();
        });
        dialog.Button1Click();
        entryShown = entry.shown;
        dialog.Button3Click();
    });
    openProgramsDialog(fixture.state, &opener);

    QVERIFY(programs.shown);
    QVERIFY(entryShown);
    QCOMPARE(Form2, nullptr);
    QCOMPARE(Form3, nullptr);
    QCOMPARE(fixture.names(), (QStringList{"A", "B"}));
    QVERIFY(prompts.log.isEmpty());
}

QTEST_MAIN(ProgramsDialogTest)
#include "ProgramsDialogTest.moc"
