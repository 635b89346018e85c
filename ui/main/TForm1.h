#pragma once

#include "ui/main/UpdaterState.h"

#include <QMainWindow>

// The main window, "Program Updater".
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    UpdaterState& state() { return state_; }

private:
    UpdaterState state_;
};
