#pragma once

#include "platform/InstanceChannel.h"

#include <QObject>

#include <memory>

class QSocketNotifier;
class QWinEventNotifier;

// One running instance per user and installation: a later start asks the running one to
// bring its window up and ends, instead of both writing the same files.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The key of the installation whose executable is at `executablePath`, for this user.
    static QString keyFor(const QString& executablePath);

    // True when an instance runs under this key; it has been asked to show its window.
    bool askRunningInstanceToShow();

    // Lets later starts reach this instance. False when that is not possible; the program
    // then runs without it.
    bool listen();

signals:
    void showRequested();

private:
    platform::InstanceChannel channel_;
#ifdef Q_OS_WIN
    std::unique_ptr<QWinEventNotifier> requests_;
#else
    std::unique_ptr<QSocketNotifier> requests_;
#endif
};
