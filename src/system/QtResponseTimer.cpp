#include "QtResponseTimer.h"

QtResponseTimer::QtResponseTimer(std::function<void()> onTick) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
}

void QtResponseTimer::Start(int intervalMs) {
    timer_.start(intervalMs);
}

void QtResponseTimer::Stop() {
    timer_.stop();
}

bool QtResponseTimer::IsRunning() const {
    return timer_.isActive();
}
