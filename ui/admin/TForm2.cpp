#include "ui/admin/TForm2.h"

#include "store/RecordStores.h"
#include "store/RecordText.h"
#include "ui/admin/GridColumnFilter.h"
#include "ui/admin/GridSearchBar.h"
#include "ui/admin/TForm3.h"
#include "ui/common/ErrorGuard.h"
#include "ui/common/FormFont.h"
#include "ui/common/DoubleBorderGroupBox.h"
#include "ui/common/OpenInstance.h"
#include "ui/common/Prompts.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

TForm2* Form2 = nullptr;

namespace {

constexpr int GridColumns = 4;

QPushButton* pushButton(const QString& caption, int width, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setFixedSize(width, 25);
    button->setAutoDefault(false); // the form has no default button: Enter presses nothing
    return button;
}

bool isNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+([.,][0-9]+)?$"));
    return number.match(text).hasMatch();
}

QStringList programTexts(const prog& program)
{
    return {QString::number(program.id), readText(program.name), readText(program.path), readText(program.version)};
}

// The hover look of four of the buttons: blue bold caption inside, black regular outside.
void showHoverLook(QPushButton* button, bool inside)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, inside ? QColor(0, 0, 255) : QColor(0, 0, 0));
    button->setPalette(palette);
    QFont font = button->font();
    font.setBold(inside);
    button->setFont(font);
}

} // namespace

TForm2::TForm2(UpdaterState& state, QWidget* parent)
    : QDialog(parent), AdvGroupBox1(new DoubleBorderGroupBox(QStringLiteral(" Programs "), this)),
      AdvStringGrid1(new QTableWidget(0, GridColumns, AdvGroupBox1)), GridFilter(new GridColumnFilter(AdvStringGrid1)),
      SearchBar(new GridSearchBar(AdvStringGrid1, AdvGroupBox1)), Panel1(new QFrame(AdvGroupBox1)),
      Label1(new QLabel(Panel1)), Button1(pushButton(QStringLiteral("New"), 65, Panel1)),
      Button2(pushButton(QStringLiteral("Edit"), 75, Panel1)), Button5(pushButton(QStringLiteral("Delete"), 75, Panel1)),
      Button6(pushButton(QStringLiteral("Empty"), 75, Panel1)), Button3(pushButton(QStringLiteral("Close"), 75, this)),
      Button4(pushButton(QStringLiteral("Save && Close"), 106, this)), state_(state)
{
    setWindowTitle(QStringLiteral("Programs"));
    setFont(tahoma(11));
    resize(730, 424);

    AdvGroupBox1->setObjectName(QStringLiteral("AdvGroupBox1"));

    QTableWidget& grid = *AdvStringGrid1;
    grid.setHorizontalHeaderLabels(
        {QStringLiteral("ID"), QStringLiteral("Program Name"), QStringLiteral("Program Path"),
         QStringLiteral("Current Version")});
    grid.horizontalHeader()->setFont(tahoma(12, true));
    grid.horizontalHeader()->setFixedHeight(22);
    grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid.horizontalHeader()->setHighlightSections(false);
    for (const auto& [column, width] : {std::pair{0, 40}, {1, 113}, {2, 109}, {3, 120}})
        grid.setColumnWidth(column, width);
    grid.verticalHeader()->hide(); // the id column is the grid's fixed column
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setShowGrid(true);
    grid.setWordWrap(false);

    Label1->setFont(tahoma(19));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setFixedHeight(22);

    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setFixedHeight(32);
    auto* commands = new QHBoxLayout(Panel1);
    commands->setContentsMargins(8, 3, 13, 4);
    commands->setSpacing(6);
    for (QPushButton* button : {Button1, Button2, Button5, Button6})
        commands->addWidget(button);
    commands->addSpacing(14);
    commands->addWidget(Label1, 1);

    auto* box = new QVBoxLayout(AdvGroupBox1);
    box->setContentsMargins(6, 16, 6, 6);
    box->setSpacing(3);
    box->addWidget(AdvStringGrid1, 1);
    box->addWidget(SearchBar);
    box->addWidget(Panel1);

    auto* closing = new QHBoxLayout;
    closing->setContentsMargins(0, 0, 15, 0);
    closing->setSpacing(6);
    closing->addStretch();
    closing->addWidget(Button4);
    closing->addWidget(Button3);

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(8, 0, 8, 8);
    form->setSpacing(6);
    form->addWidget(AdvGroupBox1, 1);
    form->addLayout(closing);

    setTabOrder(AdvGroupBox1, Button3);
    setTabOrder(Button3, Button4);

    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Button5, &QPushButton::clicked, this, &TForm2::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm2::Button6Click);
    connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm2::Button4Click);
    for (QPushButton* button : {Button1, Button2, Button3, Button4})
        button->installEventFilter(this);
}

void TForm2::LoadPrograms()
{
    QTableWidget& grid = *AdvStringGrid1;
    const int current = grid.currentRow();
    const std::vector<prog>& programok = state_.programok;
    const int rows = std::max(1, static_cast<int>(programok.size()));

    grid.setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const QStringList texts = static_cast<std::size_t>(row) < programok.size()
                                      ? programTexts(programok[static_cast<std::size_t>(row)])
                                      : QStringList(GridColumns, QString());
        for (int column = 0; column < GridColumns; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            item->setTextAlignment(Qt::AlignVCenter | (isNumber(texts[column]) ? Qt::AlignRight : Qt::AlignLeft));
            if (column == 0)
                item->setBackground(grid.palette().button());
            grid.setItem(row, column, item);
        }
    }
    if (current >= 0)
        grid.setCurrentCell(std::min(current, rows - 1), std::max(0, grid.currentColumn()));
    GridFilter->reapply();
}

void TForm2::ChangeLabel1()
{
    const int rows = AdvStringGrid1->rowCount();
    if (rows <= 1)
        Label1->setText(gridIsEmpty() ? QStringLiteral("Totally 0 programs") : QStringLiteral("Totally 1 program"));
    else
        Label1->setText(QStringLiteral("Totally %1 programs").arg(rows));
}

void TForm2::Button1Click()
{
    guarded([&] {
        TForm3 entry(state_);
        // The id after the last entry's: with ids given this way the last is the largest.
        const std::vector<prog>& programok = state_.programok;
        entry.Label1->setText(state_.programokdb <= 0 || programok.empty()
                                  ? QStringLiteral("1")
                                  : QString::number(static_cast<qint64>(programok.back().id) + 1));
        runEntryDialog(entry);
    });
}

void TForm2::Button2Click()
{
    guarded([&] {
        const int row = currentProgramRow();
        if (row < 0 || gridIsEmpty())
            return;
        TForm3 entry(state_);
        entry.Label1->setText(cell(0, row));
        entry.LabeledEdit1->setText(cell(1, row));
        entry.LabeledEdit2->setText(cell(2, row));
        entry.LabeledEdit3->setText(cell(3, row));
        entry.Button3->setText(QStringLiteral("Edit"));
        entry.setEditedPosition(static_cast<std::size_t>(row));
        runEntryDialog(entry);
    });
}

void TForm2::Button5Click()
{
    guarded([&] {
        const int row = currentProgramRow();
        if (gridIsEmpty() || row < 0) {
            prompts().message(QStringLiteral("There is nothing to delete!"));
            return;
        }
        if (!prompts().confirm(QStringLiteral("Do you really want to delete this item?")))
            return;
        DeleteRow(row);
        ChangeLabel1();
    });
}

void TForm2::Button6Click()
{
    guarded([&] {
        if (gridIsEmpty()) {
            prompts().message(QStringLiteral("There is nothing to delete"));
            return;
        }
        if (prompts().confirm(QStringLiteral("Do you really want to empty the database?"))) {
            state_.programokdb = 0;
            state_.programok.clear();
            LoadPrograms();
        }
        ChangeLabel1();
    });
}

void TForm2::Button3Click() { reject(); }

void TForm2::Button4Click()
{
    guarded([&] {
        SaveAvailablePrograms(state_.programok, state_.applicationpath);
        accept();
    });
}

void TForm2::Button1MouseEnter() { showHoverLook(Button1, true); }
void TForm2::Button1MouseLeave() { showHoverLook(Button1, false); }
void TForm2::Button2MouseEnter() { showHoverLook(Button2, true); }
void TForm2::Button2MouseLeave() { showHoverLook(Button2, false); }
void TForm2::Button3MouseEnter() { showHoverLook(Button3, true); }
void TForm2::Button3MouseLeave() { showHoverLook(Button3, false); }
void TForm2::Button4MouseEnter() { showHoverLook(Button4, true); }
void TForm2::Button4MouseLeave() { showHoverLook(Button4, false); }

int TForm2::currentProgramRow() const
{
    const int row = AdvStringGrid1->currentRow();
    return row >= 0 && !AdvStringGrid1->isRowHidden(row) ? row : -1;
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    const bool enter = event->type() == QEvent::Enter;
    if (enter || event->type() == QEvent::Leave) {
        if (watched == Button1)
            enter ? Button1MouseEnter() : Button1MouseLeave();
        else if (watched == Button2)
            enter ? Button2MouseEnter() : Button2MouseLeave();
        else if (watched == Button3)
            enter ? Button3MouseEnter() : Button3MouseLeave();
        else if (watched == Button4)
            enter ? Button4MouseEnter() : Button4MouseLeave();
    }
    return QDialog::eventFilter(watched, event);
}

// Removes the row and the program it shows. The grid is refilled from the list, so that it
// shows what the list holds even when the record was no longer there.
void TForm2::DeleteRow(int row)
{
    std::vector<prog>& programok = state_.programok;
    const auto position = static_cast<std::size_t>(row);
    const bool found = position < programok.size() && QString::number(programok[position].id) == cell(0, row);
    if (found) {
        programok.erase(programok.begin() + row);
        state_.programokdb = static_cast<std::int32_t>(programok.size());
    }
    LoadPrograms();
    if (!found)
        prompts().message(QStringLiteral("Cant find this entry in the database"));
}

void TForm2::runEntryDialog(TForm3& entry)
{
    {
        const OpenInstance<TForm3> open(Form3, entry);
        entry.move(pos() + QPoint(10, 10));
        entry.exec();
    }
    LoadPrograms();
    ChangeLabel1();
}

bool TForm2::gridIsEmpty() const { return AdvStringGrid1->rowCount() <= 1 && cell(0, 0).isEmpty(); }

QString TForm2::cell(int column, int row) const
{
    const QTableWidgetItem* item = AdvStringGrid1->item(row, column);
    return item ? item->text() : QString();
}
