#pragma once

#include <QtGlobal>
#include <functional>

// Milliseconds on a clock that only runs forward, from the first reading in
// the process: item times never jump with the wall clock or a time zone.
qint64 monotonicMilliseconds();

// Days from a reading of the monotonic clock until now, as a duration
// between two date-times: a wall clock set during the run changes no
// duration.
double monotonicDaysSince(qint64 milliseconds);

// Replaces the monotonic clock for the rest of the process; an empty
// function restores the steady one.
void setMonotonicClock(std::function<qint64()> clock);
