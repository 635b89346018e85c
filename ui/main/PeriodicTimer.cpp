#include "ui/main/PeriodicTimer.h"

#include <algorithm>
#include <limits>

PeriodicTimer::PeriodicTimer(std::uint32_t interval, QObject* parent) : QObject(parent), interval_(interval)
{
    step_.setSingleShot(true);
    step_.setTimerType(Qt::PreciseTimer);
    connect(&step_, &QTimer::timeout, this, &PeriodicTimer::stepElapsed);
}

void PeriodicTimer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    restartCountdown();
}

void PeriodicTimer::setInterval(std::uint32_t interval)
{
    if (interval == interval_)
        return;
    interval_ = interval;
    restartCountdown();
}

std::int64_t PeriodicTimer::remainingTime() const
{
    if (!step_.isActive())
        return -1;
    return remaining_ + step_.remainingTime();
}

void PeriodicTimer::restartCountdown()
{
    step_.stop();
    if (!enabled_ || interval_ == 0)
        return;
    remaining_ = interval_;
    armNextStep();
}

void PeriodicTimer::armNextStep()
{
    const std::int64_t step = std::min<std::int64_t>(remaining_, std::numeric_limits<int>::max());
    remaining_ -= step;
    step_.start(static_cast<int>(step));
}

void PeriodicTimer::stepElapsed()
{
    if (remaining_ > 0) {
        armNextStep();
        return;
    }
    // The next countdown runs from now, so that ticks that fell due while the event loop
    // was busy come as one.
    restartCountdown();
    emit timeout();
}
