#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
struct UpdaterState;

// "Set Update Location": the update folder, chosen with the folder browser only. A chosen
// folder becomes the update folder at once; "Close" writes it to "updater.conf".
class TForm4 : public QDialog {
    Q_OBJECT

public:
    explicit TForm4(UpdaterState& state);

    QLineEdit* Edit1;
    QPushButton* Button1; // "Select"
    QPushButton* Button2; // "Close"

    void FormCreate(QObject* Sender);
    void Button1Click(QObject* Sender);
    void Button2Click(QObject* Sender);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeControls();

    UpdaterState& state_;
};
