#include "ui/common/DoubleBorderGroupBox.h"

DoubleBorderGroupBox::DoubleBorderGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent)
{
    setStyleSheet(QStringLiteral("DoubleBorderGroupBox { border: 3px double black; margin-top: 6px; padding-top: 6px; }"
                                 "DoubleBorderGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0; }"));
}
