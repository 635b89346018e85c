#pragma once

#include <QWidget>

class QToolButton;

// An up arrow above a down arrow. It holds no value of its own: each click, or each repeat
// while an arrow is held down, is reported to whoever keeps the value.
class SpinButton : public QWidget {
    Q_OBJECT

public:
    explicit SpinButton(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void upClicked();
    void downClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override; // the arrow keys click the arrows

private:
    QToolButton* up_;
    QToolButton* down_;
};
