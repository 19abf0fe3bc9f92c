#pragma once

#include "engine/ItemLog.h"
#include "engine/RunRecord.h"

#include <QString>
#include <memory>

namespace test {

// The monotonic clock stands still until moved, for as long as it lives.
class FakeMonotonicClock
{
public:
    FakeMonotonicClock();
    ~FakeMonotonicClock();
    void advance(qint64 milliseconds) { *current += milliseconds; }
    qint64 now() const { return *current; }

private:
    std::shared_ptr<qint64> current;
};

// A whole run as a subject could work through it, reported to its own item
// log on a fake clock as the windows report it, and a run record whose
// summary lines are those of the answers, counted by hand: 11 matrices
// right; 9 mathematics items right (5 expressions with the expression item,
// 4 word problems), the sheet locked at 60 minutes; words recalled 2 and 2
// (series 1, ears A and B), 2 and 1 (series 2); 4 calculator results shown;
// ЛАСМ and ВАДЛ identified, ПАРМ not.
//
// Times: problem 5 typed in three changes, the last 302 s after the sheet
// was shown; series 2's first recording played 20 s after its window was
// shown, its word "плеть" typed in five changes, the last 9 s after the play;
// the calculator's first result 10 s after its window was shown.
struct SimulatedRun
{
    RunRecord record;
    ItemLog log;
};
SimulatedRun simulatedRun(const QString &surname, const QString &name);

// Writes its results file and item file into the folder; the results file's path.
QString writeSimulatedRun(const QString &folder, const SimulatedRun &run, int number = 1);

} // namespace test
