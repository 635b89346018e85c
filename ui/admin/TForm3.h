#pragma once

#include "store/Records.h"
#include "ui/main/UpdaterState.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

// "New program": enters one program of the program list from its executable. The caption
// of the confirm button is the mode: "Add" appends a record, "Edit" replaces the record with
// the id shown. The user never types: every field is derived from the chosen executable.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(UpdaterState& state, QWidget* parent = nullptr);

    QLabel* Label1;             // the id, as decimal text
    QLineEdit* LabeledEdit1;    // program name
    QLineEdit* LabeledEdit2;    // the executable's full path, then the program's folder
    QLineEdit* LabeledEdit3;    // version
    QPushButton* Button1;       // "Select"
    QPushButton* Button2;       // "Cancel"
    QPushButton* Button3;       // "Add" or "Edit"

    // In edit mode, the list position of the record being edited, so that of several records
    // sharing one id the one the user picked is replaced.
    void setEditedPosition(std::size_t position) { editedPosition_ = position; }

    void Button1Click();
    // Name, version and folder from the path in LabeledEdit2. Throws on a version file that
    // can be neither read nor created, leaving LabeledEdit2 and LabeledEdit3 as they were.
    void LoadInfo();
    void Button2Click();
    void Button3Click();

private:
    prog enteredRecord() const;
    int recordToReplace(std::int32_t id) const;

    UpdaterState& state_;
    std::optional<std::size_t> editedPosition_;
};

// The open program entry dialog, nullptr when none is shown.
extern TForm3* Form3;

// The position of the last record with this id in `programok`, or -1.
int GetIndex(const std::vector<prog>& programok, std::int32_t id);
