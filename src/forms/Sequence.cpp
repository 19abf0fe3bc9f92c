#include "forms/Sequence.h"

#include "engine/RunRecord.h"
#include "forms/Unit1.h"
#include "forms/Unit10.h"
#include "forms/Unit11.h"
#include "forms/Unit12.h"
#include "forms/Unit13.h"
#include "forms/Unit2.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "forms/Unit9.h"
#include "windows/FocusLog.h"

#include <QtGlobal>

namespace sequence {

namespace {

template <class Window>
Form *make()
{
    auto *window = new Window;
    currentInstance<Window> = window;
    return window;
}

struct Station
{
    Step step;
    const QMetaObject *window;
    Form *(*create)();
};

template <class Window>
constexpr Station station(Step step)
{
    return {step, &Window::staticMetaObject, make<Window>};
}

// The order of the run, written once.
const Station stations[] = {
    station<PersonalWindow>(Step::Personal),
    station<SiblingsWindow>(Step::Siblings),
    station<HandEyeWindow>(Step::HandEye),
    station<FormulasWindow>(Step::Formulas),
    station<ListeningSeries1Window>(Step::ListeningSeries1),
    station<ListeningSeries2Window>(Step::ListeningSeries2),
    station<MathStartWindow>(Step::MathStart),
    station<MathSheetWindow>(Step::MathSheet),
    station<CalculatorWindow>(Step::Calculator),
    station<CalculatorRulesWindow>(Step::CalculatorRules),
    station<MatricesWindow>(Step::Matrices),
    station<CompletionWindow>(Step::Completion),
};

const Station &stationOf(Step step)
{
    for (const Station &s : stations)
        if (s.step == step)
            return s;
    qFatal("no window for step %d", int(step));
}

// The one branch of the run: the siblings window only for subjects with siblings.
Step stepAfter(Step step)
{
    const int next = int(order().indexOf(step)) + 1;
    Q_ASSERT(next < order().size());
    if (order()[next] == Step::Siblings && run().InfoHasSiblings != QStringLiteral("1"))
        return order()[next + 1];
    return order()[next];
}

// What a window needs beyond the subject when it is reached.
void prepare(Step step, Form *window)
{
    if (step == Step::MathSheet)
        static_cast<MathSheetWindow *>(window)->start();
}

} // namespace

const QList<Step> &order()
{
    static const QList<Step> steps = [] {
        QList<Step> list;
        for (const Station &s : stations)
            list << s.step;
        return list;
    }();
    return steps;
}

Step stepOf(const Form *window)
{
    for (const Station &s : stations)
        if (window->metaObject() == s.window)
            return s.step;
    qFatal("%s is no window of the run", window->metaObject()->className());
}

Form *create(Step step)
{
    return stationOf(step).create();
}

Form *start()
{
    logApplicationFocus();
    Form *first = create(order().first());
    first->present();
    return first;
}

Form *forward(Form *from)
{
    const Step next = stepAfter(stepOf(from));
    Form *window = create(next);
    from->handOverTo(window);
    prepare(next, window);
    window->present();
    return window;
}

} // namespace sequence

void Form::forward()
{
    sequence::forward(this);
}
