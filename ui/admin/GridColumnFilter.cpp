#include "ui/admin/GridColumnFilter.h"

#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QSet>
#include <QStyleOption>
#include <QTableWidget>

#include <algorithm>

// A header whose sections carry a drop-down arrow; the arrow of a filtered column is drawn
// in the highlight colour.
class FilterHeader final : public QHeaderView {
public:
    FilterHeader(const GridColumnFilter& filter, QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent), filter_(filter)
    {
        setSectionsClickable(true);
    }

protected:
    // The section's caption keeps clear of a small drop-down button at its right end.
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        constexpr int Button = 14;
        constexpr int Arrow = 8;
        painter->save();
        QHeaderView::paintSection(painter, rect.adjusted(0, 0, -Button, 0), logicalIndex);
        painter->restore();

        QStyleOptionHeader button;
        button.initFrom(this);
        button.rect = QRect(rect.right() - Button + 1, rect.top(), Button, rect.height());
        style()->drawControl(QStyle::CE_HeaderSection, &button, painter, this);

        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = QRect(button.rect.center().x() - Arrow / 2, rect.center().y() - Arrow / 2, Arrow, Arrow);
        if (filter_.filterOf(logicalIndex))
            arrow.palette.setColor(QPalette::ButtonText, palette().color(QPalette::Highlight));
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, this);
    }

private:
    const GridColumnFilter& filter_;
};

namespace {

QString cellText(const QTableWidget& grid, int row, int column)
{
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

// Integers first, by value (2 before 10), then texts without regard to case.
bool naturalLess(const QString& a, const QString& b)
{
    bool aIsNumber = false;
    bool bIsNumber = false;
    const qlonglong x = a.toLongLong(&aIsNumber);
    const qlonglong y = b.toLongLong(&bIsNumber);
    if (aIsNumber != bIsNumber)
        return aIsNumber;
    if (aIsNumber && x != y)
        return x < y;
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

} // namespace

GridColumnFilter::GridColumnFilter(QTableWidget* grid)
    : QObject(grid), grid_(grid), header_(new FilterHeader(*this, grid))
{
    grid->setHorizontalHeader(header_);
    connect(header_, &QHeaderView::sectionClicked, this, &GridColumnFilter::showChoices);
}

QStringList GridColumnFilter::choices(int column) const
{
    QSet<QString> distinct;
    for (int row = 0; row < grid_->rowCount(); ++row)
        distinct.insert(cellText(*grid_, row, column));
    distinct.remove(QString());
    QStringList values(distinct.begin(), distinct.end());
    std::sort(values.begin(), values.end(), naturalLess);
    values.prepend(all());
    return values;
}

void GridColumnFilter::choose(int column, const QString& choice)
{
    if (choice == all())
        filters_.erase(column);
    else
        filters_[column] = choice;
    reapply();
}

std::optional<QString> GridColumnFilter::filterOf(int column) const
{
    const auto found = filters_.find(column);
    if (found == filters_.end())
        return std::nullopt;
    return found->second;
}

void GridColumnFilter::reapply()
{
    for (auto filter = filters_.begin(); filter != filters_.end();)
        filter = choices(filter->first).contains(filter->second) ? std::next(filter) : filters_.erase(filter);

    int firstShown = -1;
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const bool shown = std::all_of(filters_.begin(), filters_.end(), [&](const auto& filter) {
            return cellText(*grid_, row, filter.first) == filter.second;
        });
        grid_->setRowHidden(row, !shown);
        if (shown && firstShown < 0)
            firstShown = row;
    }

    const int current = grid_->currentRow();
    if (current < 0 || grid_->isRowHidden(current)) {
        if (firstShown >= 0) {
            grid_->setCurrentCell(firstShown, std::max(0, grid_->currentColumn()));
        } else {
            grid_->setCurrentIndex(QModelIndex());
            grid_->clearSelection();
        }
    }
    header_->viewport()->update();
}

void GridColumnFilter::showChoices(int column)
{
    QMenu menu(grid_);
    const std::optional<QString> current = filterOf(column);
    for (const QString& choice : choices(column)) {
        QAction* action = menu.addAction(QString(choice).replace(u'&', QStringLiteral("&&")));
        action->setData(choice);
        action->setCheckable(true);
        action->setChecked(current ? *current == choice : choice == all());
    }
    const QPoint below(header_->sectionViewportPosition(column), header_->height());
    if (const QAction* chosen = menu.exec(header_->mapToGlobal(below)))
        choose(column, chosen->data().toString());
}
