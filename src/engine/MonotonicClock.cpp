#include "engine/MonotonicClock.h"

#include <QElapsedTimer>

namespace {

std::function<qint64()> &clockFunction()
{
    static std::function<qint64()> function;
    return function;
}

qint64 steadyMilliseconds()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return timer.elapsed();
}

} // namespace

qint64 monotonicMilliseconds()
{
    return clockFunction() ? clockFunction()() : steadyMilliseconds();
}

double monotonicDaysSince(qint64 milliseconds)
{
    constexpr double millisecondsPerDay = 24.0 * 60 * 60 * 1000;
    return double(monotonicMilliseconds() - milliseconds) / millisecondsPerDay;
}

void setMonotonicClock(std::function<qint64()> clock)
{
    clockFunction() = std::move(clock);
}
