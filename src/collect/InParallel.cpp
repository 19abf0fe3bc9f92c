#include "collect/InParallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
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

void inParallelThenInOrder(qsizetype count, const std::function<void(qsizetype)> &work,
                           const std::function<void(qsizetype)> &then)
{
    std::vector<std::atomic<bool>> done(count); // whether work(i) has returned
    std::mutex doneMutex;
    std::condition_variable oneDone;
    std::atomic<qsizetype> next = 0;
    const auto workOnNext = [&] {
        const qsizetype i = next++;
        if (i >= count)
            return false;
        work(i);
        {
            const std::lock_guard lock(doneMutex);
            done[i] = true;
        }
        oneDone.notify_one();
        return true;
    };
    std::vector<std::jthread> helpers;
    for (qsizetype n = 1; n < std::min(workerCount(), count); ++n)
        helpers.emplace_back([&] {
            while (workOnNext()) {
            }
        });
    // This thread works too, until the next i to go on with is done.
    for (qsizetype i = 0; i < count; ++i) {
        while (!done[i] && workOnNext()) {
        }
        std::unique_lock lock(doneMutex);
        oneDone.wait(lock, [&] { return done[i].load(); });
        lock.unlock();
        then(i);
    }
}

void inParallel(qsizetype count, const std::function<void(qsizetype)> &work)
{
    inParallelThenInOrder(count, work, [](qsizetype) {});
}
