#include "ui/main/StatusPanels.h"

#include <QLabel>

StatusPanels::StatusPanels(const std::vector<int>& widths, QWidget* parent) : QWidget(parent), widths_(widths)
{
    for (std::size_t i = 0; i < widths_.size(); ++i) {
        auto* panel = new QLabel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(2);
        panels_.push_back(panel);
    }
    placePanels();
}

int StatusPanels::panelWidth(int panel) const { return widths_.at(static_cast<std::size_t>(panel)); }

void StatusPanels::setPanelWidth(int panel, int width)
{
    widths_.at(static_cast<std::size_t>(panel)) = width;
    placePanels();
}

QString StatusPanels::panelText(int panel) const { return panels_.at(static_cast<std::size_t>(panel))->text(); }

void StatusPanels::setPanelText(int panel, const QString& text)
{
    panels_.at(static_cast<std::size_t>(panel))->setText(text);
}

void StatusPanels::resizeEvent(QResizeEvent*) { placePanels(); }

void StatusPanels::placePanels()
{
    int left = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i]->setGeometry(left, 0, widths_[i], height());
        left += widths_[i];
    }
}
