#pragma once

#include <QtGlobal>
#include <functional>

// The number of threads that work at once: one per core of the processor.
qsizetype workerCount();

// Calls work(i) for each i from 0 to count - 1 on this thread and on more
// threads up to workerCount(), each taking the next i not yet taken, at most
// `ahead` past the next then(); and calls then(i) on this thread for each i
// in order, once work(i) and every then() before it have returned. Returns
// when every call has returned. A call that throws stops the others from
// starting, and its exception is thrown here, in the order of the calls,
// once the threads have ended.
void inParallelThenInOrder(qsizetype count, const std::function<void(qsizetype)> &work,
                           const std::function<void(qsizetype)> &then, qsizetype ahead);

// The same without anything to do in order.
void inParallel(qsizetype count, const std::function<void(qsizetype)> &work);
