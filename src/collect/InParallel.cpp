#include "collect/InParallel.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

qsizetype coreCount()
{
    return std::max(1U, std::thread::hardware_concurrency());
}

void inParallel(qsizetype count, const std::function<void(qsizetype)> &work)
{
    std::atomic<qsizetype> next = 0;
    const auto takeAll = [&] {
        for (qsizetype i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::jthread> helpers;
    for (qsizetype n = 1; n < std::min(coreCount(), count); ++n)
        helpers.emplace_back(takeAll);
    takeAll();
}
