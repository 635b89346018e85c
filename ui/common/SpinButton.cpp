#include "ui/common/SpinButton.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, const QString& name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAccessibleName(name); // an arrow alone says nothing to a screen reader
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}

} // namespace

SpinButton::SpinButton(QWidget* parent)
    : QWidget(parent), up_(arrowButton(Qt::UpArrow, QStringLiteral("Up"), this)),
      down_(arrowButton(Qt::DownArrow, QStringLiteral("Down"), this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    setFocusPolicy(Qt::TabFocus);
    connect(up_, &QToolButton::clicked, this, &SpinButton::upClicked);
    connect(down_, &QToolButton::clicked, this, &SpinButton::downClicked);
}

void SpinButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up)
        emit upClicked();
    else if (event->key() == Qt::Key_Down)
        emit downClicked();
    else
        QWidget::keyPressEvent(event);
}
