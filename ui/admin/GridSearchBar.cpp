#include "ui/admin/GridSearchBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>

namespace {

// Paints the cells the search bar highlights on a yellow ground.
class HighlightDelegate final : public QStyledItemDelegate {
public:
    HighlightDelegate(const GridSearchBar& bar, QObject* parent) : QStyledItemDelegate(parent), bar_(bar) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (bar_.isHighlighted(index))
            option->backgroundBrush = QColor(255, 255, 0);
    }

private:
    const GridSearchBar& bar_;
};

QPushButton* barButton(const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace

GridSearchBar::GridSearchBar(QTableWidget* grid, QWidget* parent)
    : QWidget(parent), CloseButton(new QToolButton(this)), SearchEdit(new QLineEdit(this)),
      FindNextButton(barButton(QStringLiteral("Find &next"), QStringLiteral("Find next occurrence"), this)),
      FindPreviousButton(
          barButton(QStringLiteral("Find &previous"), QStringLiteral("Find previous occurrence"), this)),
      HighlightBox(new QCheckBox(QStringLiteral("Highlight"), this)),
      MatchCaseBox(new QCheckBox(QStringLiteral("Match case"), this)), grid_(grid)
{
    CloseButton->setToolTip(QStringLiteral("Close"));
    CloseButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    CloseButton->setAutoRaise(true);
    HighlightBox->setToolTip(QStringLiteral("Highlight occurrences"));
    SearchEdit->setClearButtonEnabled(true);

    auto* bar = new QHBoxLayout(this);
    bar->setContentsMargins(0, 2, 0, 2);
    bar->addWidget(CloseButton);
    bar->addWidget(SearchEdit, 1);
    bar->addWidget(FindNextButton);
    bar->addWidget(FindPreviousButton);
    bar->addWidget(HighlightBox);
    bar->addWidget(MatchCaseBox);

    grid_->setItemDelegate(new HighlightDelegate(*this, grid_));

    connect(CloseButton, &QToolButton::clicked, this, &QWidget::hide);
    connect(FindNextButton, &QPushButton::clicked, this, &GridSearchBar::findNext);
    connect(FindPreviousButton, &QPushButton::clicked, this, &GridSearchBar::findPrevious);
    connect(SearchEdit, &QLineEdit::returnPressed, this, &GridSearchBar::findNext);
    connect(SearchEdit, &QLineEdit::textChanged, this, &GridSearchBar::searchChanged);
    connect(HighlightBox, &QCheckBox::toggled, this, &GridSearchBar::searchChanged);
    connect(MatchCaseBox, &QCheckBox::toggled, this, &GridSearchBar::searchChanged);

    auto* reopen = new QShortcut(QKeySequence::Find, grid_);
    reopen->setContext(Qt::WindowShortcut);
    connect(reopen, &QShortcut::activated, this, [this] {
        show();
        SearchEdit->setFocus();
        SearchEdit->selectAll();
    });
    connect(new QShortcut(QKeySequence::FindNext, grid_), &QShortcut::activated, this, &GridSearchBar::findNext);
    connect(new QShortcut(QKeySequence::FindPrevious, grid_), &QShortcut::activated, this,
            &GridSearchBar::findPrevious);
}

bool GridSearchBar::findNext() { return find(+1); }

bool GridSearchBar::findPrevious() { return find(-1); }

bool GridSearchBar::isHighlighted(const QModelIndex& index) const
{
    return HighlightBox->isChecked() && matches(index.data().toString());
}

// Walks the cells in reading order (backwards for step -1) from the one after the current
// cell, once round the grid, skipping hidden rows.
bool GridSearchBar::find(int step)
{
    const int columns = grid_->columnCount();
    const int cells = grid_->rowCount() * columns;
    if (SearchEdit->text().isEmpty() || cells == 0)
        return false;
    const int start = grid_->currentRow() < 0 ? (step > 0 ? -1 : cells)
                                              : grid_->currentRow() * columns + std::max(0, grid_->currentColumn());
    for (int k = 1; k <= cells; ++k) {
        const int cell = ((start + step * k) % cells + cells) % cells;
        const int row = cell / columns;
        const int column = cell % columns;
        const QTableWidgetItem* item = grid_->item(row, column);
        if (!grid_->isRowHidden(row) && item && matches(item->text())) {
            grid_->setCurrentCell(row, column);
            grid_->scrollToItem(item);
            showNotFound(false);
            return true;
        }
    }
    showNotFound(true);
    return false;
}

bool GridSearchBar::matches(const QString& cellText) const
{
    const QString text = SearchEdit->text();
    return !text.isEmpty() &&
           cellText.contains(text, MatchCaseBox->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

void GridSearchBar::showNotFound(bool notFound)
{
    SearchEdit->setStyleSheet(notFound ? QStringLiteral("QLineEdit { background: rgb(255, 200, 200); }") : QString());
}

void GridSearchBar::searchChanged()
{
    showNotFound(false);
    grid_->viewport()->update();
}
