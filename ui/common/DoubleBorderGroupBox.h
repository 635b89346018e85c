#pragma once

#include <QGroupBox>

// A group box framed by two thin black lines, its title set into the upper frame.
class DoubleBorderGroupBox : public QGroupBox {
    Q_OBJECT

public:
    explicit DoubleBorderGroupBox(const QString& title, QWidget* parent = nullptr);
};
