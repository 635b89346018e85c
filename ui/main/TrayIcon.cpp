#include "ui/main/TrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>

namespace {

std::optional<bool> assumedAvailability;

} // namespace

TrayIcon::TrayIcon(QWidget& window, QMenu& popupMenu, const QIcon& icon)
    : QObject(&window), window_(window), icon_(icon)
{
    icon_.setContextMenu(&popupMenu);
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::iconActivated);
    connect(&icon_, &QSystemTrayIcon::messageClicked, this, &TrayIcon::balloonClicked);
    icon_.show();
}

bool TrayIcon::available()
{
    return assumedAvailability.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void TrayIcon::assumeAvailable(std::optional<bool> answer) { assumedAvailability = answer; }

bool TrayIcon::windowShown() const { return window_.isVisible() && !window_.isMinimized(); }

void TrayIcon::HideApplication()
{
    if (available()) {
        if (window_.isVisible())
            window_.hide();
    } else if (windowShown()) {
        window_.showMinimized();
    }
}

void TrayIcon::ShowApplication()
{
    if (!windowShown())
        window_.showNormal();
    window_.raise();
    window_.activateWindow();
}

bool TrayIcon::showBalloon(const QString& title, const QString& text, int milliseconds)
{
    if (!available())
        return false;
    icon_.showMessage(title, text, QSystemTrayIcon::NoIcon, milliseconds);
    emit balloonShown(title, text);
    return true;
}

void TrayIcon::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    // Some desktops report a double click as a click followed by a double click, others as
    // two clicks: either way it toggles once.
    if (reason != QSystemTrayIcon::Trigger)
        return;
    if (sinceLastToggle_.isValid() && sinceLastToggle_.elapsed() < QApplication::doubleClickInterval())
        return;
    sinceLastToggle_.start();
    if (windowShown())
        HideApplication();
    else
        ShowApplication();
}
