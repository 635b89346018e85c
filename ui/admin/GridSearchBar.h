#pragma once

#include <QModelIndex>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolButton;

// The search bar under a grid: finds the cells holding a text among the rows shown, going
// forward or back from the current cell and wrapping around at either end, and on request
// highlights every cell that holds it. A cell found becomes the current cell, so its row is
// the one the grid's commands act on. Ctrl+F shows the bar again after it was closed.
class GridSearchBar : public QWidget {
    Q_OBJECT

public:
    explicit GridSearchBar(QTableWidget* grid, QWidget* parent = nullptr);

    QToolButton* CloseButton;
    QLineEdit* SearchEdit;
    QPushButton* FindNextButton;
    QPushButton* FindPreviousButton;
    QCheckBox* HighlightBox;
    QCheckBox* MatchCaseBox;

    // False, and the entry marked, when no shown cell holds the text.
    bool findNext();
    bool findPrevious();

    bool isHighlighted(const QModelIndex& index) const;

private:
    bool find(int step);
    bool matches(const QString& cellText) const;
    void showNotFound(bool notFound);
    void searchChanged();

    QTableWidget* grid_;
};
