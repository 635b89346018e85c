#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

class QTableWidget;
class FilterHeader;

// Drop-down filters in a grid's column headers. Clicking a header offers "(All)" and every
// value of that column; choosing a value shows only the rows holding it there, "(All)"
// clears that column's filter. The filters of several columns combine. Rows are hidden,
// never removed, so a row keeps its index whatever is shown.
class GridColumnFilter : public QObject {
    Q_OBJECT

public:
    static QString all() { return QStringLiteral("(All)"); }

    // Puts its own header on the grid: create it before setting up the header.
    explicit GridColumnFilter(QTableWidget* grid);

    // "(All)" first, then the column's distinct non-empty values: integers by value, then
    // texts without regard to case.
    QStringList choices(int column) const;
    void choose(int column, const QString& choice);
    std::optional<QString> filterOf(int column) const;

    // To be called after the grid's rows were refilled: forgets a filter whose value no
    // row holds any more, hides the rows the filters exclude, and moves the current row to
    // a shown one (or to none when no row is shown).
    void reapply();

private:
    void showChoices(int column);

    QTableWidget* grid_;
    FilterHeader* header_;
    std::map<int, QString> filters_;
};
