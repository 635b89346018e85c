#include "tests/support/Fixtures.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/ui/admin/ProgramListFixture.h"
#include "ui/admin/GridColumnFilter.h"
#include "ui/admin/GridSearchBar.h"
#include "ui/admin/TForm2.h"
#include "ui/admin/TForm3.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

using Cell = QPair<int, int>; // row, column
using Ids = QList<std::int32_t>;

namespace {

const QList<QByteArray> Programs{
    recordBytes(1, "Alpha", "/apps/Alpha/", "3"),
    recordBytes(2, "Beta", "/apps/Beta/", "10"),
    recordBytes(3, "Gamma", "/apps/Gamma/", "2"),
    recordBytes(4, "Beta", "/opt/Beta/", "3"),
};

QList<int> shownRows(const TForm2& dialog)
{
    QList<int> rows;
    for (int row = 0; row < dialog.AdvStringGrid1->rowCount(); ++row)
        if (!dialog.AdvStringGrid1->isRowHidden(row))
            rows << row;
    return rows;
}

Cell currentCell(const TForm2& dialog)
{
    return {dialog.AdvStringGrid1->currentRow(), dialog.AdvStringGrid1->currentColumn()};
}

} // namespace

class ProgramsGridFilterAndSearchTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void filterChoicesComeFromTheColumn_data();
    void filterChoicesComeFromTheColumn();
    void filtersCombineAndAllClears();
    void deleteUnderAFilterRemovesTheRowShown();
    void editUnderAFilterOpensTheRowShown();
    void commandsWhenTheFiltersHideEveryRow();
    void findWalksTheShownCells_data();
    void findWalksTheShownCells();
    void deleteActsOnTheRowFound();
    void highlight_data();
    void highlight();
    void searchBarWording();

private:
    std::unique_ptr<ProgramListFixture> fixture_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<TForm2> dialog_;
};

void ProgramsGridFilterAndSearchTest::init()
{
    fixture_ = std::make_unique<ProgramListFixture>();
    fixture_->loadPrograms(Programs);
    prompts_ = std::make_unique<ScriptedPrompts>();
    dialog_ = std::make_unique<TForm2>(fixture_->state);
    dialog_->LoadPrograms();
    dialog_->ChangeLabel1();
}

void ProgramsGridFilterAndSearchTest::cleanup()
{
    dialog_.reset();
    prompts_.reset();
    fixture_.reset();
}

void ProgramsGridFilterAndSearchTest::filterChoicesComeFromTheColumn_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("choices");

    QTest::addRow("ids") << 0 << QStringList{"(All)", "1", "2", "3", "4"};
    QTest::addRow("names: each once") << 1 << QStringList{"(All)", "Alpha", "Beta", "Gamma"};
    QTest::addRow("versions in numeric order") << 3 << QStringList{"(All)", "2", "3", "10"};
}

void ProgramsGridFilterAndSearchTest::filterChoicesComeFromTheColumn()
{
    QFETCH(int, column);
    QFETCH(QStringList, choices);
    QCOMPARE(dialog_->GridFilter->choices(column), choices);
}

void ProgramsGridFilterAndSearchTest::filtersCombineAndAllClears()
{
    TForm2& dialog = *dialog_;
    dialog.GridFilter->choose(1, "Beta");
    QCOMPARE(shownRows(dialog), (QList<int>{1, 3}));
    QCOMPARE(dialog.currentProgramRow(), 1); // the current row was hidden: the first shown one
    dialog.GridFilter->choose(3, "3");
    QCOMPARE(shownRows(dialog), QList<int>{3});
    QCOMPARE(dialog.currentProgramRow(), 3);
    dialog.GridFilter->choose(1, "(All)");
    QCOMPARE(shownRows(dialog), (QList<int>{0, 3}));
    QCOMPARE(dialog.GridFilter->filterOf(1), std::nullopt);
    QCOMPARE(dialog.Label1->text(), QStringLiteral("Totally 4 programs")); // totals count every program
}

// Row 3 (id 4) is the second Beta shown; deleting it removes id 4. Deleting the last Beta
// leaves a filter on a value no row holds: it is dropped and every row shows again.
void ProgramsGridFilterAndSearchTest::deleteUnderAFilterRemovesTheRowShown()
{
    TForm2& dialog = *dialog_;
    dialog.GridFilter->choose(1, "Beta");
    dialog.AdvStringGrid1->setCurrentCell(3, 1);
    prompts_->confirmAnswers << true << true;

    dialog.Button5Click();
    QCOMPARE(fixture_->ids(), (Ids{1, 2, 3}));
    QCOMPARE(shownRows(dialog), QList<int>{1});
    QCOMPARE(dialog.currentProgramRow(), 1);
    QCOMPARE(dialog.Label1->text(), QStringLiteral("Totally 3 programs"));

    dialog.Button5Click();
    QCOMPARE(fixture_->ids(), (Ids{1, 3}));
    QCOMPARE(dialog.GridFilter->filterOf(1), std::nullopt);
    QCOMPARE(shownRows(dialog), (QList<int>{0, 1}));
    QCOMPARE(dialog.currentProgramRow(), 1);
}

void ProgramsGridFilterAndSearchTest::editUnderAFilterOpensTheRowShown()
{
    TForm2& dialog = *dialog_;
    dialog.GridFilter->choose(2, "/opt/Beta/");
    WhenDialogShows<TForm3> entry(Form3, [](TForm3& form) {
        QCOMPARE(form.Label1->text(), QStringLiteral("4"));
        form.LabeledEdit3->setText(QStringLiteral("5"));
        form.Button3Click();
    });
    dialog.Button2Click();

    QVERIFY(entry.shown);
    QCOMPARE(fixture_->state.programok[3].version.bytes(), "5");
    QCOMPARE(fixture_->state.programok[1].version.bytes(), "10");
    QCOMPARE(shownRows(dialog), QList<int>{3});
}

void ProgramsGridFilterAndSearchTest::commandsWhenTheFiltersHideEveryRow()
{
    TForm2& dialog = *dialog_;
    dialog.GridFilter->choose(1, "Beta");
    dialog.GridFilter->choose(3, "2");
    QVERIFY(shownRows(dialog).isEmpty());
    QCOMPARE(dialog.currentProgramRow(), -1);

    WhenDialogShows<TForm3> entry(Form3, [](TForm3&) {});
    dialog.Button2Click();
    dialog.Button5Click();
    QTest::qWait(10);

    QVERIFY(!entry.shown);
    QCOMPARE(prompts_->log, QStringList{"message: There is nothing to delete!"});
    QCOMPARE(fixture_->ids(), (Ids{1, 2, 3, 4}));
}

void ProgramsGridFilterAndSearchTest::findWalksTheShownCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QString>("nameFilter");
    QTest::addColumn<QString>("steps"); // n: Find next, p: Find previous
    QTest::addColumn<QList<Cell>>("found");

    QTest::addRow("next: every cell in reading order, then round again")
        << "beta" << false << "" << "nnnnn" << QList<Cell>{{1, 1}, {1, 2}, {3, 1}, {3, 2}, {1, 1}};
    QTest::addRow("previous: backwards round the end") << "beta" << false << "" << "pp"
                                                       << QList<Cell>{{3, 2}, {3, 1}};
    QTest::addRow("match case: the exact case only") << "Beta" << true << "" << "n" << QList<Cell>{{1, 1}};
    QTest::addRow("hidden rows are passed over") << "a" << false << "Beta" << "nn"
                                                 << QList<Cell>{{1, 1}, {1, 2}};
}

void ProgramsGridFilterAndSearchTest::findWalksTheShownCells()
{
    QFETCH(QString, text);
    QFETCH(bool, matchCase);
    QFETCH(QString, nameFilter);
    QFETCH(QString, steps);
    QFETCH(QList<Cell>, found);

    TForm2& dialog = *dialog_;
    GridSearchBar& bar = *dialog.SearchBar;
    if (!nameFilter.isEmpty())
        dialog.GridFilter->choose(1, nameFilter);
    bar.SearchEdit->setText(text);
    bar.MatchCaseBox->setChecked(matchCase);

    QList<Cell> visited;
    for (const QChar step : steps) {
        QVERIFY(step == u'n' ? bar.findNext() : bar.findPrevious());
        visited << currentCell(dialog);
    }
    QCOMPARE(visited, found);
}

void ProgramsGridFilterAndSearchTest::deleteActsOnTheRowFound()
{
    TForm2& dialog = *dialog_;
    GridSearchBar& bar = *dialog.SearchBar;
    bar.SearchEdit->setText("gamma");
    bar.MatchCaseBox->setChecked(true);
    QVERIFY(!bar.findNext());
    QCOMPARE(currentCell(dialog), Cell(0, 0));

    bar.MatchCaseBox->setChecked(false);
    QVERIFY(bar.findNext());
    prompts_->confirmAnswers << true;
    dialog.Button5Click();
    QCOMPARE(fixture_->ids(), (Ids{1, 2, 4}));
}

void ProgramsGridFilterAndSearchTest::highlight_data()
{
    QTest::addColumn<bool>("highlight");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QList<Cell>>("highlighted");

    QTest::addRow("off") << false << false << QList<Cell>{};
    QTest::addRow("on, any case") << true << false << QList<Cell>{{2, 1}, {2, 2}};
    QTest::addRow("on, match case") << true << true << QList<Cell>{};
}

void ProgramsGridFilterAndSearchTest::highlight()
{
    QFETCH(bool, highlight);
    QFETCH(bool, matchCase);
    QFETCH(QList<Cell>, highlighted);

    GridSearchBar& bar = *dialog_->SearchBar;
    bar.SearchEdit->setText("gam");
    bar.HighlightBox->setChecked(highlight);
    bar.MatchCaseBox->setChecked(matchCase);

    QList<Cell> marked;
    const QTableWidget& grid = *dialog_->AdvStringGrid1;
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int column = 0; column < grid.columnCount(); ++column)
            if (bar.isHighlighted(grid.model()->index(row, column)))
                marked << Cell(row, column);
    QCOMPARE(marked, highlighted);
}

void ProgramsGridFilterAndSearchTest::searchBarWording()
{
    const GridSearchBar& bar = *dialog_->SearchBar;
    QCOMPARE(bar.CloseButton->toolTip(), QStringLiteral("Close"));
    QCOMPARE(bar.FindNextButton->text(), QStringLiteral("Find &next"));
    QCOMPARE(bar.FindNextButton->toolTip(), QStringLiteral("Find next occurrence"));
    QCOMPARE(bar.FindPreviousButton->text(), QStringLiteral("Find &previous"));
    QCOMPARE(bar.FindPreviousButton->toolTip(), QStringLiteral("Find previous occurrence"));
    QCOMPARE(bar.HighlightBox->text(), QStringLiteral("Highlight"));
    QCOMPARE(bar.HighlightBox->toolTip(), QStringLiteral("Highlight occurrences"));
    QCOMPARE(bar.MatchCaseBox->text(), QStringLiteral("Match case"));
}

QTEST_MAIN(ProgramsGridFilterAndSearchTest)
#include "ProgramsGridFilterAndSearchTest.moc"
