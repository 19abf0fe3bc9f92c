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

void setMonotonicClock(std::function<qint64()> clock)
{
    clockFunction() = std::move(clock);
}
