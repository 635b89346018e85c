#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSystemTrayIcon>

#include <optional>

class QMenu;
class QWidget;

// The program's icon in the notification area and the window it stands for. A single
// click on the icon hides the shown window to the tray or brings the hidden one back; a
// double click counts as one click; a right click opens the popup menu. On a desktop
// without a notification area the window is minimised instead of hidden, so that it stays
// reachable, and no balloon is shown.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    TrayIcon(QWidget& window, QMenu& popupMenu, const QIcon& icon);

    // Visible and not minimised.
    bool windowShown() const;
    void HideApplication();
    void ShowApplication();

    // A balloon at the icon, without an icon of its own, closing after `milliseconds`.
    // False when the desktop cannot show one.
    bool showBalloon(const QString& title, const QString& text, int milliseconds);

    // Whether the desktop has a notification area now. Tests may answer in place of the
    // desktop; nullopt asks the desktop again.
    static bool available();
    static void assumeAvailable(std::optional<bool> answer);

    QSystemTrayIcon& icon() { return icon_; }

signals:
    void balloonClicked();
    void balloonShown(const QString& title, const QString& text);

private:
    void iconActivated(QSystemTrayIcon::ActivationReason reason);

    QWidget& window_;
    QSystemTrayIcon icon_;
    QElapsedTimer sinceLastToggle_;
};
