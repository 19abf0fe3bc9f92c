#include "collect/InParallel.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

qsizetype workerCount()
{
#ifdef Q_CC_MINGW
    // The MinGW runtime may free a thread's thread_local storage before it
    // runs their destructors, and Qt's regular expressions keep a stack in
    // one: a thread that ended now and then crashed the collector, or
    // corrupted what it read. Under Windows the work stays on one thread.
    return 1;
#else
    return std::max(1U, std::thread::hardware_concurrency());
#endif
}

void inParallel(qsizetype count, const std::function<void(qsizetype)> &work)
{
    std::atomic<qsizetype> next = 0;
    const auto takeAll = [&] {
        for (qsizetype i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::jthread> helpers;
    for (qsizetype n = 1; n < std::min(workerCount(), count); ++n)
        helpers.emplace_back(takeAll);
    takeAll();
}
