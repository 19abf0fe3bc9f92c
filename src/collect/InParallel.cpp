#include "collect/InParallel.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
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
                           const std::function<void(qsizetype)> &then, qsizetype ahead)
{
    ahead = std::max<qsizetype>(ahead, 1);
    std::mutex mutex; // guards everything below but the calls
    std::condition_variable changed;
    std::vector<char> done(count); // whether work(i) has returned or thrown
    std::vector<std::exception_ptr> failures(count);
    qsizetype next = 0;     // the next i to work on
    qsizetype thenDone = 0; // how many then() have returned
    bool stopping = false;

    const auto mayTake = [&] { return !stopping && next < count && next < thenDone + ahead; };
    const auto workOn = [&](qsizetype i) {
        std::exception_ptr failure;
        try {
            work(i);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex);
            done[i] = true;
            failures[i] = failure;
        }
        changed.notify_all();
    };
    std::vector<std::jthread> helpers;
    for (qsizetype n = 1; n < std::min(workerCount(), count); ++n)
        helpers.emplace_back([&] {
            for (;;) {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stopping || next >= count || mayTake(); });
                if (!mayTake())
                    return;
                const qsizetype i = next++;
                lock.unlock();
                workOn(i);
            }
        });
    // Declared after the helpers, so that they are told to stop before they are joined.
    const struct Stop
    {
        std::function<void()> stop;
        ~Stop() { stop(); }
    } stopHelpers{[&] {
        {
            const std::lock_guard lock(mutex);
            stopping = true;
        }
        changed.notify_all();
    }};

    // This thread works too, until the next i to go on with is done.
    for (qsizetype i = 0; i < count; ++i) {
        std::unique_lock lock(mutex);
        while (!done[i]) {
            if (mayTake()) {
                const qsizetype j = next++;
                lock.unlock();
                workOn(j);
                lock.lock();
            } else {
                changed.wait(lock, [&] { return done[i] || mayTake(); });
            }
        }
        if (failures[i])
            std::rethrow_exception(failures[i]);
        lock.unlock();
        then(i);
        lock.lock();
        ++thenDone;
        lock.unlock();
        changed.notify_all();
    }
}

void inParallel(qsizetype count, const std::function<void(qsizetype)> &work)
{
    inParallelThenInOrder(count, work, [](qsizetype) {}, count);
}
