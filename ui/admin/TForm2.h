#pragma once

#include "ui/main/UpdaterState.h"

#include <QDialog>

class GridColumnFilter;
class GridSearchBar;
class QFrame;
class DoubleBorderGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TForm3;

// "Programs": the program list as a grid, one row per program with its id, name, folder and
// version, and the commands that maintain the list. Changes reach `programok` at once;
// "programs.conf" is written by a confirmed entry and by "Save && Close" only.
//
// The grid's column headers are not a row of the table: data row k of the form's grid is
// table row k - 1. With no program the grid shows one blank row. Row i shows the program at
// position i of `programok`, whatever the filters hide.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(UpdaterState& state, QWidget* parent = nullptr);

    DoubleBorderGroupBox* AdvGroupBox1;
    QTableWidget* AdvStringGrid1;
    GridColumnFilter* GridFilter;
    GridSearchBar* SearchBar;
    QFrame* Panel1;
    QLabel* Label1;          // totals
    QPushButton* Button1;    // "New"
    QPushButton* Button2;    // "Edit"
    QPushButton* Button5;    // "Delete"
    QPushButton* Button6;    // "Empty"
    QPushButton* Button3;    // "Close"
    QPushButton* Button4;    // "Save && Close"

    void LoadPrograms();
    void ChangeLabel1();

    void Button1Click();
    void Button2Click();
    void Button5Click();
    void Button6Click();
    void Button3Click();
    void Button4Click();

    void Button1MouseEnter();
    void Button1MouseLeave();
    void Button2MouseEnter();
    void Button2MouseLeave();
    void Button3MouseEnter();
    void Button3MouseLeave();
    void Button4MouseEnter();
    void Button4MouseLeave();

    // The table row the user sees as current, or -1 when no shown row is current.
    int currentProgramRow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DeleteRow(int row);
    void runEntryDialog(TForm3& entry);
    bool gridIsEmpty() const;
    QString cell(int column, int row) const;

    UpdaterState& state_;
};

// The open Programs dialog, nullptr when none is shown.
extern TForm2* Form2;
