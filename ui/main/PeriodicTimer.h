#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>

// A repeating timer with an unsigned 32-bit interval in milliseconds and an enabled flag.
// Enabling an enabled timer, or setting the interval it already has, leaves the running
// countdown alone; enabling a disabled timer, or changing the interval of an enabled one,
// starts the countdown from zero. With an interval of 0 no tick comes, although the timer
// stays enabled. Intervals longer than one QTimer can wait (about 24.8 days) are waited out
// in steps, so every 32-bit interval means what it says.
class PeriodicTimer : public QObject {
    Q_OBJECT

public:
    explicit PeriodicTimer(std::uint32_t interval, QObject* parent = nullptr);

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    std::uint32_t interval() const { return interval_; }
    void setInterval(std::uint32_t interval);

    // Milliseconds until the next tick; -1 when none is coming.
    std::int64_t remainingTime() const;

signals:
    void timeout();

private:
    void restartCountdown();
    void armNextStep();
    void stepElapsed();

    QTimer step_;
    std::uint32_t interval_;
    bool enabled_ = false;
    std::int64_t remaining_ = 0; // of the countdown, after the step now armed
};
