#pragma once

#include <QWidget>

#include <vector>

class QLabel;

// A status bar of side-by-side sunken panels of set widths, each able to show a text.
// Other widgets may be laid over a panel as children of the bar.
class StatusPanels : public QWidget {
    Q_OBJECT

public:
    StatusPanels(const std::vector<int>& widths, QWidget* parent);

    int panelCount() const { return static_cast<int>(panels_.size()); }
    int panelWidth(int panel) const;
    void setPanelWidth(int panel, int width);
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placePanels();

    std::vector<QLabel*> panels_;
    std::vector<int> widths_;
};
