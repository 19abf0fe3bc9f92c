#pragma once

#include "engine/Journal.h"
#include "windows/Session.h"

#include <QList>
#include <QObject>

class Form;

// The run, window by window, in the order the subject meets them. The
// sequence alone knows the windows: it creates each one when it is reached,
// hands over what it needs, and deletes the one left behind. A window ends
// its part with Form::forward() and knows nothing of the window after it.
namespace sequence {

enum class Step
{
    Personal,         // personal information
    Siblings,         // brothers and sisters: only for a subject who has them
    HandEye,          // hand and eye preference, and the expression item
    Formulas,         // how the expression was solved
    ListeningSeries1, // dichotic listening, series 1
    ListeningSeries2, // dichotic listening, series 2, the headphones turned around
    MathStart,        // the start of the mathematics test
    MathSheet,        // the mathematics problem sheet
    Calculator,       // the unusual calculator
    CalculatorRules,  // the calculator's rules
    Matrices,         // the progressive matrices
    Completion,       // the closing questions and the results file; the last
};

// The twelve steps in order.
const QList<Step> &order();

// The step a window, or a window class, stands for.
Step stepOf(const Form *window);
Step stepOf(const QMetaObject &windowClass);

} // namespace sequence

// The run, window by window: it owns the run's session and hands it to each
// window it makes. From the first accepted window on, where the study turns
// resuming on, it keeps the run's journal on what the windows report: a
// window accepted, an answer given inside one.
class Sequence : public QObject
{
public:
    explicit Sequence(StudySettings settings = {});
    ~Sequence() override;

    Session &session() { return own; }

    // A new window of the step, not yet shown, as its class's current instance.
    Form *create(sequence::Step step);
    template <class Window>
    Window *create()
    {
        return static_cast<Window *>(create(sequence::stepOf(Window::staticMetaObject)));
    }

    // Creates and shows the first window of a run.
    Form *start();

    // Starts a run. With `journalPath` given (the study turns resuming on), a
    // journal found there is offered first: the run goes on from it, or, when
    // the subject starts afresh, it is deleted; one that cannot go on is set
    // aside with a line saying why. From the first accepted window on, the run
    // is journaled there.
    Form *begin(const QString &journalPath);

    // Takes up a run from its journal: the window that was in progress, shown
    // with what it needs to go on (the listening series' spent recordings and
    // typed words, the mathematics sheet's answers and time), every earlier
    // window's answers in the run record. Any other window starts empty.
    Form *resume(Journal journal);

    // The forward step from a window that has done its part: the next window
    // (past the siblings window for a subject without siblings) is created,
    // given the subject and what else it needs, and shown; the one left behind
    // is deleted once its handler has returned.
    Form *forward(Form *from);

private:
    sequence::Step stepAfter(sequence::Step step) const;
    WindowProgress progressOf(Form *window) const;
    void keep(Form *window) const;
    void enter(Form *window, int tasksDone, qint64 earlierOnScreen);

    Session own;
};
