#pragma once

#include "ui/main/UpdaterState.h"

#include <QDialog>

#include <array>

class DoubleBorderGroupBox;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class QWidget;
class SpinButton;

// The admin console, "Admin Console": builds the update list in `state.updates` and
// publishes it as "update.conf" in the update folder. Every edit takes effect in memory at
// once; only the export writes files. A list entry stands for every record of its name.
class TForm5 : public QDialog {
    Q_OBJECT

public:
    explicit TForm5(UpdaterState& state, QWidget* parent = nullptr);

    // Creation: the version shown starts at "0".
    void FormCreate();
    // Shows the records of `updates` as entries, checked when `complete`; the update folder;
    // "None Selected" and then the registered programs' names to choose from.
    void fillFromState();
    // Appends the update record for the executable at `s`: the next id, its file name
    // without the last four characters as name, `s` as path, version "1".
    void AddToUpdates(const QString& s);

    void Button1Click(); // "Select": the folder to export to
    void Button2Click(); // "Add New": an update for an executable
    void Button3Click(); // "Add": updates for the registered programs of the chosen name
    void Button4Click(); // "Close"
    void Button5Click(); // "Export Update Version File"
    void Button6Click(); // "Update": the shown version for every record of the entry
    void CheckListBox1Click();
    void Delete1Click();
    void DeleteAll1Click();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void Timer1Timer();

    DoubleBorderGroupBox* AdvGroupBox1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    DoubleBorderGroupBox* AdvGroupBox2;
    QWidget* Panel1;
    QComboBox* ComboBox1;
    QPushButton* Button3;
    QPushButton* Button2;
    QWidget* Panel2;
    QListWidget* CheckListBox1;
    QWidget* Panel3;
    QLabel* Label1;
    QLabel* Label2;
    SpinButton* SpinButton1;
    QPushButton* Button6;
    QPushButton* Button5;
    QPushButton* Button4;
    QMenu* JvPopupMenu1;
    QAction* Delete1;
    QAction* DeleteAll1;
    QTimer* Timer1;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildUpdatePathBox();
    void buildUpdateVersionBox();
    void buildBottomPanel();
    void connectHandlers();

    std::array<QWidget*, 4> versionControls() const;
    int selectedEntry() const; // -1 when no entry is selected
    void appendEntry(const QString& text, bool checked);
    void stepShownVersion(int step);

    UpdaterState& state_;
};

// The console while it is open; nullptr otherwise.
extern TForm5* Form5;
